#include "kelvara-build/project/folder_token_check.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "formats/folder_token_names.h"
#include "formats/script_format.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/project_names.h"

namespace kelvara::build {
namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Edits that turn a into b: insertions, deletions, replacements and swaps of neighbours.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

const char* entryTable(std::int32_t type) {
    switch (type) {
        case kRecordShortcut:
            return "[[shortcuts]]";
        case kRecordRegistry:
            return "[[registry]]";
        case kRecordIni:
            return "[[ini]]";
        case kRecordAssociation:
            return "[[associations]]";
        case kRecordRunProgram:
            return "[[run]]";
        case kRecordCallDll:
            return "[[dll-call]]";
        default:
            return "the entry";
    }
}

}  // namespace

std::vector<std::string> unknownFolderTokens(const std::string& text) {
    std::vector<std::string> unknown;
    for (std::size_t open = text.find('<'); open != std::string::npos;
         open = text.find('<', open + 1)) {
        std::size_t end = open + 1;
        if (end >= text.size() || !isAsciiLetter(text[end])) continue;
        while (end < text.size() && (isAsciiLetter(text[end]) || isAsciiDigit(text[end]))) ++end;
        if (end >= text.size() || text[end] != '>') continue;
        const std::string token = text.substr(open, end - open + 1);
        const std::string key = lower(token);
        const bool known = std::any_of(std::begin(kFolderTokenNames), std::end(kFolderTokenNames),
                                       [&](const char* name) { return lower(name) == key; });
        if (!known && std::find(unknown.begin(), unknown.end(), token) == unknown.end())
            unknown.push_back(token);
    }
    return unknown;
}

std::vector<std::string> closeFolderTokens(const std::string& token) {
    const std::string wanted = lower(token.substr(1, token.size() - 2));
    // More letters may differ in a longer name; few in a short one, where they make another word.
    const std::size_t allowed = wanted.size() >= 10 ? 3 : wanted.size() >= 5 ? 2 : 1;
    std::vector<std::pair<std::size_t, const char*>> near, prefixed;
    for (const char* name : kFolderTokenNames) {
        const std::string bare(name + 1, std::char_traits<char>::length(name) - 2);
        const std::string known = lower(bare);
        const std::size_t distance = editDistance(wanted, known);
        if (distance <= allowed) {
            near.emplace_back(distance, name);
        } else if (std::min(wanted.size(), known.size()) >= 3 &&
                   (known.rfind(wanted, 0) == 0 || wanted.rfind(known, 0) == 0)) {
            prefixed.emplace_back(distance, name);
        }
    }
    // The nearest alone; else every token the name begins or that begins with it.
    std::vector<std::pair<std::size_t, const char*>>& chosen = near.empty() ? prefixed : near;
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (const auto& [distance, name] : chosen) {
        if (names.size() == 3 || (!near.empty() && distance > chosen.front().first)) break;
        names.emplace_back(name);
    }
    return names;
}

void warnOfUnknownFolderTokens(int line, const std::string& where, const std::string& text,
                               Diagnostics& diagnostics) {
    for (const std::string& token : unknownFolderTokens(text)) {
        const std::vector<std::string> close = closeFolderTokens(token);
        std::string advice;
        for (std::size_t i = 0; i < close.size(); ++i)
            advice += (i == 0 ? "" : i + 1 == close.size() ? " or " : ", ") + close[i];
        advice = advice.empty()
                     ? "the tokens are listed under \"Folder tokens\" in docs/project-format.md"
                     : "did you mean " + advice + "?";
        diagnostics.warning(line, where + " names the folder token " + token +
                                      ", which the engine does not know: it stays as written and "
                                      "a path that keeps it fails at install time; " +
                                      advice);
    }
}

void warnOfUnknownFolderTokens(const Project& project, Diagnostics& diagnostics) {
    for (const Variable& variable : project.variables) {
        if (variable.line > 0)
            warnOfUnknownFolderTokens(
                variable.line, "the variable " + fromEngineText(variable.name, project.encoding),
                variable.value, diagnostics);
    }
    for (const FileGroup& group : project.fileGroups)
        warnOfUnknownFolderTokens(group.line, "[[files]] 'target'", group.targetFolder,
                                  diagnostics);
    for (const FieldRecord& entry : project.entries)
        warnOfUnknownFolderTokens(entry.line, entryTable(entry.type), entry.fields, diagnostics);
}

}  // namespace kelvara::build
