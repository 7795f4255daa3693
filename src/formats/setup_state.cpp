#include "formats/setup_state.h"

#include <cstring>

namespace kelvara {

constinit RunStateStorage<SetupState> setupStateStorage;

namespace {
constexpr int kListGrowth = 5;
}  // namespace

bool createSetupState() {
    SetupState& s = setupState;
    bool ok = true;
    StringList* recordLists[] = {
        &s.shortcutEntries,
        &s.registryEntries,
        &s.iniEntries,
        &s.associationEntries,
        &s.backgroundLines,
        &s.uninstallPrograms,
        &s.uninstallDllCalls,
        &s.groupZeroPrograms,
        &s.groupZeroDllCalls,
        &s.variableNames,
        &s.variableValues,
        &s.choices.componentIds,
        &s.choices.componentNames,
        &s.choices.componentDescriptions,
        &s.choices.taskIds,
        &s.choices.taskNames,
        &s.choices.taskDescriptions,
        &s.choices.setupTypeIds,
        &s.choices.setupTypeNames,
        &s.shortcutParts,
        &s.registryParts,
        &s.iniParts,
        &s.associationParts,
    };
    for (StringList* list : recordLists) ok = ok && list->create(kListGrowth);
    for (int language = 0; language < kLanguageCount; ++language) {
        ok = ok && s.buttonLabels[language].create(kListGrowth) &&
             s.setupMessages[language].create(kListGrowth) &&
             s.errorMessages[language].create(kListGrowth);
    }
    for (PageSlot& slot : s.pageSlots) {
        for (StringList& texts : slot.texts) ok = ok && texts.create(kListGrowth);
        ok = ok && slot.runPrograms.create(kListGrowth) && slot.dllCalls.create(kListGrowth);
    }
    return ok;
}

void releaseSetupState() {
    setupState.~SetupState();
}

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
