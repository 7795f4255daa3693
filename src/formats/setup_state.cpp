#include "formats/setup_state.h"

#include <cstring>

namespace kelvara {

SetupState setupState;

void setRunDefaults(SetupState& state) {
    state.selfFile = reinterpret_cast<OsHandle>(static_cast<std::intptr_t>(-1));
    state.wizardPosition = -1;
    state.installSucceeded = true;
    state.dialogSetOffset = kStandardLayout;
    state.headerColor = kColorSystemWindow;
    state.pageColor = kColorSystemButtonFace;
    state.frameColor = kColorSystemButtonFace;
    state.accentColor = kDefaultAccentColor;
    state.currentLanguage = kDefaultLanguage;
    state.languageSelection = -1;
    std::strncpy(state.normalFontFace, kDefaultFontFace, sizeof state.normalFontFace - 1);
    std::strncpy(state.titleFontFace, kDefaultFontFace, sizeof state.titleFontFace - 1);
}

}  // namespace kelvara
