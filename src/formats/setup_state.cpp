#include "formats/setup_state.h"

#include <cstring>

namespace kelvara {

constinit SetupStateStorage setupStateStorage;

void setRunDefaults(SetupState& state) {
    state.dialogSetOffset = kStandardLayout;
    state.headerColor = kColorSystemWindow;
    state.pageColor = kColorSystemButtonFace;
    state.frameColor = kColorSystemButtonFace;
    state.accentColor = kDefaultAccentColor;
    state.currentLanguage = kDefaultLanguage;
    std::strncpy(state.normalFontFace, kDefaultFontFace, sizeof state.normalFontFace - 1);
    std::strncpy(state.titleFontFace, kDefaultFontFace, sizeof state.titleFontFace - 1);
}

}  // namespace kelvara
