#include "formats/languages.h"

#include "formats/script_format.h"

namespace kelvara {

bool isTextTable(int table) {
    return (table >= 0 && table < kPageSlotCount) || table == kTableSetupMessages ||
           table == kTableErrorMessages || table == kTableButtonLabels;
}

bool isLanguageNumber(int language) {
    return language >= kFirstLanguage && language <= kLastLanguage;
}

StringList* textList(int table, int language) {
    if (!isTextTable(table) || !isLanguageNumber(language)) return nullptr;
    SetupState& s = setupState;
    switch (table) {
        case kTableSetupMessages:
            return &s.setupMessages[language];
        case kTableErrorMessages:
            return &s.errorMessages[language];
        case kTableButtonLabels:
            return &s.buttonLabels[language];
        default:
            return &s.pageSlots[table].texts[language];
    }
}

bool setText(int table, int language, int item, const char* text) {
    StringList* list = textList(table, language);
    return list && list->set(item, text);
}

const char* text(int table, int item) {
    StringList* list = textList(table, setupState.currentLanguage);
    const char* found = list ? list->get(item) : nullptr;
    return found ? found : "";
}

namespace {

bool hasAnyText(const StringList& list) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.get(i)) return true;
    }
    return false;
}

}  // namespace

bool languageHasWizardTexts(int language) {
    if (!isLanguageNumber(language)) return false;
    SetupState& s = setupState;
    if (hasAnyText(s.buttonLabels[language])) return true;
    for (int page = 0; page < kWizardPageCount; ++page) {
        if (hasAnyText(s.pageSlots[page].texts[language])) return true;
    }
    return false;
}

void selectLanguage(std::uint16_t language) {
    setupState.currentLanguage = language;
}

bool chooseLanguages(bool autoSelect, const std::uint16_t* numbers, int count, int userLanguage) {
    std::uint16_t chosen[kLanguageCount];
    int chosenCount = 0;
    for (int i = 0; i < count && chosenCount < kLastLanguage; ++i) {
        if (isLanguageNumber(numbers[i])) chosen[chosenCount++] = numbers[i];
    }
    if (chosenCount == 0) return false;
    SetupState& s = setupState;
    s.currentLanguage = chosen[0];
    bool userFound = false;
    for (int i = 0; i < chosenCount; ++i) {
        s.languageList[i] = chosen[i];
        if (autoSelect && !userFound && chosen[i] == userLanguage) {
            s.currentLanguage = chosen[i];
            userFound = true;
        }
    }
    s.languageCount = chosenCount;
    return true;
}

}  // namespace kelvara
