// The two editions of the engine, told apart by the stub's own bytes: the Unicode edition's
// manifest makes UTF-8 the process's ANSI code page (Windows 10 version 1903 and later), so its
// texts, names and paths are UTF-8; the classic edition's are Windows-1252.
#pragma once
#include <cstddef>
#include <string>

#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {

// The file name each edition is installed under: "kelvara.exe", "kelvara-unicode.exe".
const char* stubFileName(TextEncoding encoding);

// The encoding of the texts the stub in `bytes` reads: UTF-8 when its manifest (kept in its
// resources as plain UTF-8) holds the activeCodePage element that asks for UTF-8, else
// Windows-1252.
TextEncoding stubEncoding(const unsigned char* bytes, std::size_t size);

// "unicode" or "classic".
const char* editionName(TextEncoding encoding);

// Why a project in `encoding` cannot be built on the stub `stubName` whose texts are in
// `stubText`; empty when they agree.
std::string editionMismatch(TextEncoding encoding, TextEncoding stubText,
                            const std::string& stubName);

}  // namespace kelvara::build
