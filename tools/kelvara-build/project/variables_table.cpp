// [variables] in definition order, the command line's -D definitions over them, and the
// variables every script defines.
#include "kelvara-build/project/project_parser.h"

#include <algorithm>
#include <vector>

#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/project_names.h"

namespace kelvara::build {

void ProjectParser::variables(TableReader& root) {
    const toml::table* table = root.table("variables");
    if (!table) return;
    // Definition order matters to expansion, and a table does not keep it: sort by position.
    std::vector<std::pair<toml::source_position, std::string>> order;
    for (const auto& [key, value] : *table) {
        order.emplace_back(value.source().begin, std::string(key.str()));
    }
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return a.first.line != b.first.line ? a.first.line < b.first.line
                                            : a.first.column < b.first.column;
    });
    TableReader r(*table, "[variables]", d_, p_.encoding, keys_);
    for (const auto& [position, key] : order) {
        std::optional<std::string> value = r.text(key);
        int line = static_cast<int>(position.line);
        if (key.empty() || key.find_first_of("%,\r\n ") != std::string::npos) {
            d_.error(line, "variable name '" + key +
                               "' may not be empty or contain '%', a comma, a blank or a line "
                               "break");
            continue;
        }
        // The name goes into the script as the texts that use it are written: in the engine's
        // code page.
        std::optional<std::string> name = toEngineText(key, p_.encoding);
        if (!name) {
            d_.error(line, "variable name '" + key + "' holds " + unwritableText(p_.encoding));
            continue;
        }
        if (value && hasLineBreak(*value)) {
            d_.error(line, "the value of variable '" + key + "' may not contain a line break");
        }
        p_.variables.push_back({line, "%" + *name + "%", value.value_or("")});
    }
}

Variable* ProjectParser::findVariable(const std::string& name) {
    return const_cast<Variable*>(kelvara::build::findVariable(p_.variables, name));
}

void ProjectParser::applyDefinitions(const Definitions& definitions) {
    for (const auto& [rawName, rawValue] : definitions) {
        std::string name = rawName;
        if (name.size() >= 2 && name.front() == '%' && name.back() == '%') {
            name = name.substr(1, name.size() - 2);
        }
        std::optional<std::string> value = toEngineText(rawValue, p_.encoding);
        std::optional<std::string> engineName = toEngineText(name, p_.encoding);
        if (name.empty() || name.find_first_of("%,\r\n ") != std::string::npos || !value ||
            !engineName || hasLineBreak(*value)) {
            d_.error(0, "-D " + rawName + ": not a valid variable definition" +
                            (value && engineName
                                 ? std::string()
                                 : std::string(" (it holds ") + unwritableText(p_.encoding) + ")"));
            continue;
        }
        std::string full = "%" + *engineName + "%";
        if (Variable* same = findVariable(full)) {
            same->value = *value;
        } else {
            p_.variables.push_back({0, full, *value});
        }
    }
}

namespace {

constexpr int kExpansionRounds = 16;  // a value naming itself through others stops here

bool isVariableName(const std::string& name) {
    return !name.empty() && name.find_first_of("%,\r\n ") == std::string::npos;
}

}  // namespace

// The product's names and details go into the image as they stand (the uninstall entry, the
// version check against an installed one), so the builder expands the project's variables in
// them; a name the project does not define stays as written, with a warning.
std::string ProjectParser::expandNow(const std::string& text, const std::string& key, int line) {
    std::string result = text;
    std::vector<std::string> unknown;
    for (int round = 0; round < kExpansionRounds; ++round) {
        bool replaced = false;
        std::string next;
        for (std::size_t at = 0; at < result.size();) {
            std::size_t open = result.find('%', at);
            std::size_t close = open == std::string::npos ? open : result.find('%', open + 1);
            if (close == std::string::npos) {
                next.append(result, at, std::string::npos);
                break;
            }
            std::string name = result.substr(open, close - open + 1);
            next.append(result, at, open - at);
            if (!isVariableName(name.substr(1, name.size() - 2))) {
                next += '%';  // not a name: the second percent sign may open one
                at = open + 1;
                continue;
            }
            if (const Variable* found = findVariable(name)) {
                next += found->value;
                replaced = true;
            } else {
                next += name;
                if (std::find(unknown.begin(), unknown.end(), name) == unknown.end())
                    unknown.push_back(name);
            }
            at = close + 1;
        }
        result = std::move(next);
        if (!replaced) {
            for (const std::string& name : unknown) {
                d_.warning(line, "'" + key + "' in [product] uses the variable " + name +
                                     ", which is never defined: define it in [variables] or with "
                                     "-D " +
                                     name.substr(1, name.size() - 2) + "=VALUE");
            }
            return result;
        }
        unknown.clear();
    }
    d_.error(line, "'" + key + "' in [product]: its variables name themselves without end");
    return text;
}

namespace {

// Names a text may hold between percent signs that are no variable of the project: the engine's
// own (the free-space label's drive) and Windows' environment variables, which a program run by
// a command interpreter expands itself.
constexpr const char* kOtherNames[] = {
    "%disk%",
    "%systemroot%",
    "%windir%",
    "%systemdrive%",
    "%programfiles%",
    "%programdata%",
    "%appdata%",
    "%localappdata%",
    "%temp%",
    "%tmp%",
    "%userprofile%",
    "%username%",
    "%public%",
    "%comspec%",
    "%path%",
    "%allusersprofile%",
    "%commonprogramfiles%",
    "%homedrive%",
    "%homepath%",
    "%computername%",
};

}  // namespace

// A %Name% the project never defines stays as written in the installed text, which is rarely
// meant: the names in paths, entries and page texts are checked (registry data, where Windows'
// own %SystemRoot% is common in expandable strings, and the messages, shown as written, are not).
void ProjectParser::warnOfUndefinedVariables() {
    std::vector<std::pair<int, std::string>> unknown;  // line, name: each use
    auto check = [&](int line, const std::string& text) {
        for (std::size_t open = text.find('%'); open != std::string::npos;) {
            std::size_t close = text.find('%', open + 1);
            if (close == std::string::npos) return;
            const std::string name = text.substr(open, close - open + 1);
            if (!isVariableName(name.substr(1, name.size() - 2))) {
                open = close;  // the second sign may open a name
                continue;
            }
            const bool known =
                findVariable(name) || std::find(std::begin(kOtherNames), std::end(kOtherNames),
                                                lower(name)) != std::end(kOtherNames);
            if (!known) unknown.emplace_back(line, name);
            open = text.find('%', close + 1);
        }
    };
    for (const Variable& variable : p_.variables) check(variable.line, variable.value);
    for (const FileGroup& group : p_.fileGroups) check(group.line, group.targetFolder);
    for (const FieldRecord& entry : p_.entries) {
        if (entry.type != kRecordRegistry) check(entry.line, entry.fields);
    }
    for (const TextOverride& text : p_.texts) {
        if (text.table < kPageSlotCount && text.table != kUninstallTextsSlot)
            check(text.line, text.text);
    }
    // Each name once, where the file first uses it.
    std::stable_sort(unknown.begin(), unknown.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> told;
    for (const auto& [line, name] : unknown) {
        if (std::find(told.begin(), told.end(), lower(name)) != told.end()) continue;
        told.push_back(lower(name));
        d_.warning(line, "the variable " + name +
                             " is never defined: it stays as written; define it in [variables] "
                             "or with -D " +
                             name.substr(1, name.size() - 2) + "=VALUE");
    }
}

void ProjectParser::defaultVariables() {
    auto defineIfMissing = [&](const std::string& name, const std::string& value) {
        if (!findVariable(name)) p_.variables.push_back({0, name, value});
    };
    defineIfMissing("%InstallPath%", "<ProgramFiles>\\" + p_.name);
    defineIfMissing("%ShortcutsGroup%", p_.name);
    defineIfMissing("%UninstallerFileName%", "uninstall.exe");
    // The default page texts name the product through these two.
    defineIfMissing("%ProductName%", p_.name);
    defineIfMissing("%ProductShortName%", p_.shortName);
}

}  // namespace kelvara::build
