// The names a project file gives the engine's numbers: languages, text tables and pages, and
// colours written as "#RRGGBB".
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace kelvara::build {

struct Named {
    const char* name;
    int value;
};

// The text in lower case (ASCII letters only): names are matched in any case.
std::string lower(std::string text);

template <std::size_t N>
std::optional<int> lookUp(const Named (&table)[N], const std::string& name) {
    std::string wanted = lower(name);
    for (const Named& entry : table) {
        if (wanted == entry.name) return entry.value;
    }
    return std::nullopt;
}

// The architectures a product may be built for, by their names in the project file and the dump.
extern const Named kArchitectureNames[3];
// The scopes a product may install in, and the two a "choose" product may start from.
extern const Named kScopeNames[3];
extern const Named kCloseApplicationsNames[3];

// Number of a language name ("english", "german", …) or of its number as text; -1 if unknown.
int languageNumber(const std::string& name);

// The code of a text table by its name ("buttons", "welcome", …).
std::optional<int> tableNumber(const std::string& name);

// The slot of a wizard page by its name (the pages among the text tables).
std::optional<int> pageNumber(const std::string& name);

// The name of a message table's code (setup messages, error messages, buttons), or null for a
// page's table.
const char* messageTableName(int table);

// The pages a project shows when it names none.
extern const char* const kDefaultPages[5];

// "#RRGGBB" as an RGB number.
std::optional<std::uint32_t> parseRgb(const std::string& text);

}  // namespace kelvara::build
