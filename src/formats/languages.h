// Languages and the text tables: per language number (1 to 97) one string list for each
// message table and each page slot; texts are read in currentLanguage.
#pragma once
#include <cstdint>

#include "formats/script_format.h"
#include "formats/setup_state.h"

namespace kelvara {

constexpr int kFirstLanguage = 1;  // slot 0 is never a language
constexpr int kLastLanguage = kLanguageCount - 1;
constexpr int kUninstallTextsSlot = 12;  // page slot of the uninstaller's texts
// Chinese in the traditional script: Windows gives both scripts the primary language 4, and no
// language of its own 61.
constexpr int kTraditionalChinese = 61;

// True for the table codes of the format: page slots 0 to 12 and the three message tables.
bool isTextTable(int table);
// True for language numbers 1 to 97.
bool isLanguageNumber(int language);

// The list of `table` for `language` in the script's configuration, or null for a code or number
// outside the format.
StringList* textList(int table, int language);

// Stores a copy of `text` as item `item` of the table for that language, growing the list and
// releasing the previous text. False for a table or language outside the format, or when the
// heap is exhausted.
bool setText(int table, int language, int item, const char* text);

// Item `item` of the table in currentLanguage; "" when the script did not set it. The table
// keeps ownership.
const char* text(int table, int item);

// Item numbers of the two message tables, each table its own type, so that an item of one is
// never looked up in the other: written kMsgName{number}.
enum class SetupMessage : int {};
enum class ErrorMessage : int {};

// The item of setupMessages or errorMessages in currentLanguage; "" when the script did not set
// it.
inline const char* text(SetupMessage item) {
    return text(kTableSetupMessages, static_cast<int>(item));
}
inline const char* text(ErrorMessage item) {
    return text(kTableErrorMessages, static_cast<int>(item));
}

// True when the script gave the language at least one text of the wizard's own: a page text
// of a wizard page (0 to 11) or a button label. The language page offers no language without
// them: its pages would be empty.
bool languageHasWizardTexts(int language);

// Makes `language` the current one (the language page calls it when the user picks one).
void selectLanguage(std::uint16_t language);

// Record type 6: the languages offered, in order, replace languageList; numbers outside 1 to 97
// are left out and the list holds at most 97. With autoSelect the first listed number equal to
// userLanguage becomes current, otherwise (or when it is not listed) the first listed one.
// False, with nothing changed, when no valid language is listed.
bool chooseLanguages(bool autoSelect, const std::uint16_t* numbers, int count, int userLanguage);

}  // namespace kelvara
