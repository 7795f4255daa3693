#include "kelvara-build/project/project_names.h"

#include <algorithm>
#include <cctype>

#include "formats/languages.h"
#include "formats/script_format.h"
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

// Primary language numbers of the system.
constexpr Named kLanguages[] = {
    {"arabic", 1},     {"bulgarian", 2},   {"catalan", 3},    {"chinese", 4},
    {"czech", 5},      {"danish", 6},      {"german", 7},     {"greek", 8},
    {"english", 9},    {"spanish", 10},    {"finnish", 11},   {"french", 12},
    {"hebrew", 13},    {"hungarian", 14},  {"icelandic", 15}, {"italian", 16},
    {"japanese", 17},  {"korean", 18},     {"dutch", 19},     {"norwegian", 20},
    {"polish", 21},    {"portuguese", 22}, {"romanian", 24},  {"russian", 25},
    {"croatian", 26},  {"slovak", 27},     {"albanian", 28},  {"swedish", 29},
    {"thai", 30},      {"turkish", 31},    {"urdu", 32},      {"indonesian", 33},
    {"ukrainian", 34}, {"belarusian", 35}, {"slovenian", 36}, {"estonian", 37},
    {"latvian", 38},   {"lithuanian", 39}, {"farsi", 41},     {"vietnamese", 42},
    {"armenian", 43},  {"azeri", 44},      {"basque", 45},    {"macedonian", 47},
    {"afrikaans", 54}, {"georgian", 55},   {"faeroese", 56},  {"hindi", 57},
    {"malay", 62},     {"kazakh", 63},     {"swahili", 65},
};

// Text tables by name: the three message tables, the wizard pages and the uninstaller.
constexpr Named kTables[] = {
    {"setup-messages", kTableSetupMessages},
    {"error-messages", kTableErrorMessages},
    {"buttons", kTableButtonLabels},
    {"language", kPageLanguage},
    {"welcome", kPageWelcome},
    {"licence", kPageLicense},
    {"license", kPageLicense},
    {"readme", kPageReadme},
    {"components", kPageComponents},
    {"scope", kPageScope},
    {"destination", kPageDestination},
    {"tasks", kPageTasks},
    {"start-menu", kPageStartMenu},
    {"ready", kPageReady},
    {"installing", kPageInstalling},
    {"finish", kPageFinish},
    {"files-in-use", kPageFilesInUse},
    {"uninstaller", kUninstallTextsSlot},
};

}  // namespace

const Named kArchitectureNames[3] = {
    {"x86", kArchitectureX86}, {"x64", kArchitectureX64}, {"arm64", kArchitectureArm64}};

const Named kScopeNames[3] = {
    {"machine", kScopeMachine}, {"user", kScopeUser}, {"choose", kScopeChoose}};

const Named kCloseApplicationsNames[3] = {{"ask", kCloseApplicationsAsk},
                                          {"never", kCloseApplicationsNever},
                                          {"force", kCloseApplicationsForce}};

const char* const kDefaultPages[5] = {"welcome", "destination", "ready", "installing", "finish"};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int languageNumber(const std::string& name) {
    if (auto number = lookUp(kLanguages, name)) return *number;
    // The built-in languages by their tags ("de", "pt-BR") and names ("chinese-traditional").
    for (const BuiltinLanguage& language : builtinLanguages()) {
        if (lower(name) == lower(language.code) || lower(name) == language.key)
            return language.number;
    }
    // As unsigned char: a Windows-1252 letter is a negative char, which isdigit may not take.
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (!name.empty() && std::all_of(name.begin(), name.end(), isDigit) && name.size() < 4) {
        int number = std::stoi(name);
        if (number >= 1 && number <= 97) return number;
    }
    return -1;
}

std::optional<int> tableNumber(const std::string& name) {
    return lookUp(kTables, name);
}

std::optional<int> pageNumber(const std::string& name) {
    std::optional<int> table = lookUp(kTables, name);
    if (!table || *table >= static_cast<int>(kPageFlagsSize)) return std::nullopt;
    return table;
}

const char* messageTableName(int table) {
    if (table < static_cast<int>(kPageFlagsSize) || table == kUninstallTextsSlot ||
        table == kPageFilesInUse) {
        return nullptr;
    }
    for (const Named& entry : kTables) {
        if (entry.value == table) return entry.name;
    }
    return nullptr;
}

std::optional<std::uint32_t> parseRgb(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        value = value * 16 +
                static_cast<std::uint32_t>(std::stoi(std::string(1, text[i]), nullptr, 16));
    }
    return value;
}

}  // namespace kelvara::build
