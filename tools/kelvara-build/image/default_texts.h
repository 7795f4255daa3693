// The English (language 9) texts the builder writes when a project does not give its own, so
// that a minimal project still shows a complete, well-worded setup. A project overrides any of
// them item by item and adds other languages.
#pragma once
#include <span>

#include "formats/script_format.h"

namespace kelvara::build {

// Table codes of the text records: 0 to 12 are page slots (the slot index); the message tables
// use the codes of the script format.
constexpr int kTableSetupMessages = kelvara::kTableSetupMessages;
constexpr int kTableErrorMessages = kelvara::kTableErrorMessages;
constexpr int kTableButtonLabels = kelvara::kTableButtonLabels;

constexpr int kDefaultTextLanguage = 9;  // English

// Variables the default page texts name. The engine expands only variables the script defines,
// so a script that uses these texts must define both (from the project's product names).
constexpr const char* kProductNameVariable = "%ProductName%";
constexpr const char* kProductShortNameVariable = "%ProductShortName%";

struct DefaultText {
    int table;
    int item;
    const char* text;  // static storage; never null or empty
};

// Every default text, sorted by table code and then item number, each (table, item) once.
std::span<const DefaultText> defaultEnglishTexts();

// The default text of (table, item), or null when there is none.
const char* defaultEnglishText(int table, int item);

}  // namespace kelvara::build
