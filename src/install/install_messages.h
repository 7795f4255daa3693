// The texts the installation shows: its messages (formats/message_catalogue.h) and the
// Installing page's captions.
#pragma once

#include "formats/languages.h"
#include "formats/message_catalogue.h"
#include "formats/script_format.h"

namespace kelvara {

// Page slot of the Installing page and its phase captions.
constexpr int kInstallingPage = kPageInstalling;
constexpr int kCaptionShortcuts = 5;
constexpr int kCaptionRegistry = 6;
constexpr int kCaptionIni = 7;
constexpr int kCaptionAssociations = 8;
constexpr int kCaptionFinishing = 13;

}  // namespace kelvara
