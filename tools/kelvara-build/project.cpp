// The project file reader: one function per table of the file. Names become the engine's
// numbers here, and every value the engine's formats cannot carry is refused with its line.
#include "project.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <set>
#include <vector>
#include <toml++/toml.h>

#include "formats/languages.h"
#include "formats/package_format.h"
#include "formats/record_fields.h"
#include "formats/script_format.h"
#include "runtime/registry_roots.h"

namespace kelvara::build {
namespace {

constexpr std::size_t kFaceLimit = 31;  // a font face name, without its terminator

struct Named {
    const char* name;
    int value;
};

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
    {"destination", kPageDestination},
    {"start-menu", kPageStartMenu},
    {"ready", kPageReady},
    {"installing", kPageInstalling},
    {"finish", kPageFinish},
    {"uninstaller", kUninstallTextsSlot},
};

const char* const kDefaultPages[] = {"welcome", "destination", "ready", "installing", "finish"};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

template <std::size_t N>
std::optional<int> lookUp(const Named (&table)[N], const std::string& name) {
    std::string wanted = lower(name);
    for (const Named& entry : table) {
        if (wanted == entry.name) return entry.value;
    }
    return std::nullopt;
}

bool hasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// "#RRGGBB" as an RGB number.
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

}  // namespace

int languageNumber(const std::string& name) {
    if (auto number = lookUp(kLanguages, name)) return *number;
    // As unsigned char: a Windows-1252 letter is a negative char, which isdigit may not take.
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (!name.empty() && std::all_of(name.begin(), name.end(), isDigit) && name.size() < 4) {
        int number = std::stoi(name);
        if (number >= 1 && number <= 97) return number;
    }
    return -1;
}

namespace {

std::optional<int> tableNumber(const std::string& name) {
    return lookUp(kTables, name);
}

std::optional<int> pageNumber(const std::string& name) {
    std::optional<int> table = lookUp(kTables, name);
    if (!table || *table >= static_cast<int>(kPageFlagsSize)) return std::nullopt;
    return table;
}

}  // namespace

std::optional<std::string> toAnsi(const std::string& utf8) {
    // Windows-1252 bytes 0x80 to 0x9F; 0 marks the five unused ones.
    static constexpr std::array<char32_t, 32> kHigh = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        char32_t code = 0;
        int extra = 0;
        if (byte < 0x80) {
            code = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            code = byte & 0x1F;
            extra = 1;
        } else if ((byte & 0xF0) == 0xE0) {
            code = byte & 0x0F;
            extra = 2;
        } else if ((byte & 0xF8) == 0xF0) {
            code = byte & 0x07;
            extra = 3;
        } else {
            return std::nullopt;
        }
        if (extra > 0 && i + extra >= utf8.size()) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        i += 1 + extra;
        if (code == 0) return std::nullopt;
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out.push_back(static_cast<char>(code));
            continue;
        }
        auto found = std::find(kHigh.begin(), kHigh.end(), code);
        if (found == kHigh.end()) return std::nullopt;
        out.push_back(static_cast<char>(0x80 + (found - kHigh.begin())));
    }
    return out;
}

namespace {

int lineOf(const toml::node& node);

// How the reader names the file's top level in its messages.
constexpr const char* kTopLevel = "the project";

// What acceptedKeys() gathers while it reads its project; null at every other time, when the
// reader notes nothing.
thread_local std::vector<AcceptedKey>* tAcceptedKeys = nullptr;

// Notes a table read (empty key) or a key looked up in it, once; a key present anywhere counts
// as in the sample.
void noteAccepted(const std::string& where, const std::string& key, bool present) {
    if (!tAcceptedKeys) return;
    std::string table = where == kTopLevel ? "" : where;
    for (AcceptedKey& known : *tAcceptedKeys) {
        if (known.table == table && known.key == key) {
            known.inSample = known.inSample || present;
            return;
        }
    }
    tAcceptedKeys->push_back({table, key, present});
}

class TableReader {
  public:
    TableReader(const toml::table& table, std::string where, Diagnostics& diagnostics)
        : table_(table), where_(std::move(where)), diagnostics_(diagnostics) {
        noteAccepted(where_, "", true);
    }
    ~TableReader() { reportUnknownKeys(); }
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    // The node of a key (marked as known), or null when it is absent.
    const toml::node* node(const std::string& key);
    // A text converted to the engine's code page; nullopt when absent or wrong (reported).
    std::optional<std::string> text(const std::string& key);
    std::optional<std::int64_t> integer(const std::string& key, std::int64_t low,
                                        std::int64_t high);
    bool boolean(const std::string& key, bool fallback);
    const toml::table* table(const std::string& key);
    // One text or an array of texts.
    std::optional<std::vector<std::string>> texts(const std::string& key);

    int line() const { return kelvara::build::lineOf(table_); }
    int lineOf(const std::string& key) const;
    const std::string& where() const { return where_; }
    Diagnostics& diagnostics() { return diagnostics_; }
    void error(const std::string& key, const std::string& message) {
        diagnostics_.error(lineOf(key), message);
    }

  private:
    void reportUnknownKeys();

    const toml::table& table_;
    std::string where_;
    Diagnostics& diagnostics_;
    std::set<std::string> known_;
};

int lineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

int TableReader::lineOf(const std::string& key) const {
    const toml::node* found = table_.get(key);
    return found ? kelvara::build::lineOf(*found) : line();
}

const toml::node* TableReader::node(const std::string& key) {
    known_.insert(key);
    const toml::node* found = table_.get(key);
    noteAccepted(where_, key, found != nullptr);
    return found;
}

std::optional<std::string> TableReader::text(const std::string& key) {
    const toml::node* found = node(key);
    if (!found) return std::nullopt;
    const auto* value = found->as_string();
    if (!value) {
        error(key, "'" + key + "' in " + where_ + " must be a text");
        return std::nullopt;
    }
    std::optional<std::string> ansi = toAnsi(value->get());
    if (!ansi) {
        error(key, "'" + key + "' in " + where_ +
                       " holds a character that Windows-1252 cannot write (or a NUL)");
    }
    return ansi;
}

std::optional<std::int64_t> TableReader::integer(const std::string& key, std::int64_t low,
                                                 std::int64_t high) {
    const toml::node* found = node(key);
    if (!found) return std::nullopt;
    const auto* value = found->as_integer();
    if (!value) {
        error(key, "'" + key + "' in " + where_ + " must be a whole number");
        return std::nullopt;
    }
    if (value->get() < low || value->get() > high) {
        error(key, "'" + key + "' in " + where_ + " must lie between " + std::to_string(low) +
                       " and " + std::to_string(high));
        return std::nullopt;
    }
    return value->get();
}

bool TableReader::boolean(const std::string& key, bool fallback) {
    const toml::node* found = node(key);
    if (!found) return fallback;
    const auto* value = found->as_boolean();
    if (!value) {
        error(key, "'" + key + "' in " + where_ + " must be true or false");
        return fallback;
    }
    return value->get();
}

const toml::table* TableReader::table(const std::string& key) {
    const toml::node* found = node(key);
    if (!found) return nullptr;
    const toml::table* value = found->as_table();
    if (!value) error(key, "'" + key + "' in " + where_ + " must be a table");
    return value;
}

std::optional<std::vector<std::string>> TableReader::texts(const std::string& key) {
    const toml::node* found = node(key);
    if (!found) return std::nullopt;
    std::vector<std::string> result;
    auto take = [&](const toml::node& item) {
        const auto* value = item.as_string();
        std::optional<std::string> ansi = value ? toAnsi(value->get()) : std::nullopt;
        if (!ansi) {
            diagnostics_.error(kelvara::build::lineOf(item),
                               "'" + key + "' in " + where_ + " must hold Windows-1252 texts");
            return false;
        }
        result.push_back(*ansi);
        return true;
    };
    if (const auto* array = found->as_array()) {
        for (const toml::node& item : *array) {
            if (!take(item)) return std::nullopt;
        }
        return result;
    }
    if (!take(*found)) return std::nullopt;
    return result;
}

void TableReader::reportUnknownKeys() {
    for (const auto& [key, value] : table_) {
        std::string name(key.str());
        if (!known_.count(name)) {
            diagnostics_.error(kelvara::build::lineOf(value),
                               "unknown key '" + name + "' in " + where_);
        }
    }
}

// The entries that become field-string records (shortcuts, registry values, INI entries,
// associations, programs, DLL calls). The engine cuts these records at every comma and writes
// them into line-based logs, so a comma or line break inside a field is refused.
class EntryReader {
  public:
    EntryReader(Project& project, Diagnostics& diagnostics) : p_(project), d_(diagnostics) {}

    static constexpr std::array<const char*, 6> kinds() {
        return {"shortcuts", "registry", "ini", "associations", "run", "dll-call"};
    }

    void read(const std::string& kind, const toml::table& table) {
        TableReader r(table, "[[" + kind + "]]", d_);
        if (kind == "shortcuts") shortcut(r);
        if (kind == "registry") registry(r);
        if (kind == "ini") ini(r);
        if (kind == "associations") association(r);
        if (kind == "run") run(r);
        if (kind == "dll-call") dllCall(r);
    }

  private:
    // A field of the record; empty when absent. Reports a missing required field.
    std::string field(TableReader& r, const std::string& key, bool required = false) {
        std::optional<std::string> value = r.text(key);
        if (!value || value->empty()) {
            if (required) d_.error(r.line(), r.where() + " needs '" + key + "'");
            return "";
        }
        if (value->find(',') != std::string::npos) {
            r.error(key, "'" + key + "' in " + r.where() +
                             " may not contain a comma: the engine splits this entry at commas");
        }
        if (hasLineBreak(*value)) {
            r.error(key, "'" + key + "' in " + r.where() + " may not contain a line break");
        }
        return *value;
    }

    std::string number(TableReader& r, const std::string& key, std::int64_t low,
                       std::int64_t high) {
        std::optional<std::int64_t> value = r.integer(key, low, high);
        return value ? std::to_string(*value) : "";
    }

    static std::string flag(bool value) { return value ? "1" : "0"; }

    // A named choice: the number written for it, or nullopt (reported) when unknown.
    std::optional<int> choice(TableReader& r, const std::string& key,
                              std::initializer_list<Named> names) {
        std::optional<std::string> value = r.text(key);
        if (!value) return std::nullopt;
        std::string list;
        for (const Named& name : names) {
            if (lower(*value) == name.name) return name.value;
            list += (list.empty() ? "" : ", ") + std::string(name.name);
        }
        r.error(key, "unknown " + key + " '" + *value + "' in " + r.where() + "; use " + list);
        return std::nullopt;
    }

    // A registry root by its short name in any case ("HKLM", "hklm"), as its number.
    std::optional<int> rootNumber(TableReader& r, const std::string& key) {
        std::optional<std::string> value = r.text(key);
        if (!value) return std::nullopt;
        std::string list;
        for (int root = 0; root < kRegistryRootCount; ++root) {
            if (lower(*value) == lower(rootKeyName(root))) return root;
            list += (list.empty() ? "" : ", ") + lower(rootKeyName(root));
        }
        r.error(key, "unknown " + key + " '" + *value + "' in " + r.where() + "; use " + list);
        return std::nullopt;
    }

    // A record of the given type whose fields stand where the engine reads them: each value
    // goes to the field its position names.
    void add(TableReader& r, std::int32_t type,
             std::initializer_list<std::pair<int, std::string>> placed) {
        std::vector<std::string> fields;
        for (const auto& [position, value] : placed) {
            if (fields.size() <= static_cast<std::size_t>(position)) fields.resize(position + 1);
            fields[position] = value;
        }
        std::string joined;
        for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? "," : "") + fields[i];
        // Trailing empty fields say nothing: the engine reads missing fields as empty.
        while (!joined.empty() && joined.back() == ',') joined.pop_back();
        p_.entries.push_back({r.line(), type, joined});
    }

    void shortcut(TableReader& r) {
        std::string path = field(r, "path", true);
        std::string target = field(r, "target", true);
        std::string arguments = field(r, "arguments");
        std::string folder = field(r, "working-folder");
        std::string icon = field(r, "icon");
        std::string iconIndex = number(r, "icon-index", -65535, 65535);
        std::optional<int> show =
            choice(r, "show", {{"normal", kShowNormal},
                               {"minimized", kShowMinimized},
                               {"maximized", kShowMaximized}});
        std::string hotkey = number(r, "hotkey", 0, 0xFFFF);
        bool shared = r.boolean("shared", false);
        add(r, kRecordShortcut,
            {{kShortcutLinkPath, path},
             {kShortcutTarget, target},
             {kShortcutArguments, arguments},
             {kShortcutWorkingFolder, folder},
             {kShortcutIconFile, icon},
             {kShortcutIconIndex, iconIndex},
             {kShortcutShowCommand, show ? std::to_string(*show) : ""},
             {kShortcutHotKey, hotkey},
             {kShortcutShared, shared ? "1" : ""}});
    }

    void registry(TableReader& r) {
        std::optional<int> root = rootNumber(r, "root");
        if (!r.node("root")) d_.error(r.line(), "[[registry]] needs 'root'");
        std::string key = field(r, "key", true);
        std::string name = field(r, "name");
        int type = choice(r, "type",
                          {{"string", kRegString},
                           {"expand-string", kRegExpandString},
                           {"binary", kRegBinary},
                           {"dword", kRegDword},
                           {"multi-string", kRegMultiString}})
                       .value_or(kRegString);
        add(r, kRecordRegistry,
            {{kRegistryRootField, root ? std::to_string(*root) : ""},
             {kRegistryKeyField, key},
             {kRegistryNameField, name},
             {kRegistryTypeField, std::to_string(type)},
             {kRegistryDataField, registryData(r, type)}});
    }

    // The value as the engine's data text for the type.
    std::string registryData(TableReader& r, int type) {
        const toml::node* node = r.node("value");
        if (!node) return "";
        if (type == 4) {
            const auto* integer = node->as_integer();
            if (!integer || integer->get() < -2147483648LL || integer->get() > 0xFFFFFFFFLL) {
                r.error("value",
                        "a dword 'value' is a whole number from -2147483648 to "
                        "4294967295");
                return "";
            }
            return std::to_string(integer->get());
        }
        if (type == 7) {
            std::optional<std::vector<std::string>> items = r.texts("value");
            std::string joined;
            for (const std::string& item : items.value_or(std::vector<std::string>{})) {
                if (item.find('|') != std::string::npos) {
                    r.error("value",
                            "a multi-string item may not contain '|': it separates "
                            "the items");
                }
                joined += (joined.empty() ? "" : "|") + item;
            }
            checkData(r, joined);
            return joined;
        }
        std::optional<std::string> text = r.text("value");
        if (!text) return "";
        if (type == 3) {
            std::string hex;
            for (char c : *text) {
                if (c == ' ' || c == ':') continue;
                if (!std::isxdigit(static_cast<unsigned char>(c))) {
                    r.error("value", "binary 'value' '" + *text + "' is not hexadecimal bytes");
                    return "";
                }
                hex.push_back(c);
            }
            if (hex.size() % 2) r.error("value", "binary 'value' has an odd number of digits");
            return hex;
        }
        checkData(r, *text);
        return *text;
    }

    void checkData(TableReader& r, const std::string& text) {
        if (text.find(',') != std::string::npos) {
            r.error("value",
                    "registry 'value' may not contain a comma: the engine splits this "
                    "entry at commas");
        }
        if (hasLineBreak(text)) r.error("value", "registry 'value' may not contain a line break");
    }

    void ini(TableReader& r) {
        std::string file = field(r, "file", true);
        std::string section = field(r, "section", true);
        std::string key = field(r, "key");
        std::string value = field(r, "value");
        bool append = r.boolean("append", false);
        add(r, kRecordIni,
            {{kIniFileField, file},
             {kIniSectionField, section},
             {kIniKeyField, key},
             {kIniValueField, value},
             {kIniAppendField, append ? "1" : ""}});
    }

    void association(TableReader& r) {
        std::string extension = field(r, "extension", true);
        if (!extension.empty() && extension[0] != '.') {
            r.error("extension", "'extension' starts with its dot, as in \".txt\"");
        }
        add(r, kRecordAssociation,
            {{kAssociationExtension, extension},
             {kAssociationType, field(r, "type", true)},
             {kAssociationContentType, field(r, "content-type")},
             {kAssociationDescription, field(r, "description")},
             {kAssociationInfoTip, field(r, "tip")},
             {kAssociationCommand, field(r, "command")},
             {kAssociationIcon, field(r, "icon")},
             {kAssociationIconIndex, number(r, "icon-index", -65535, 65535)}});
    }

    // "when": a group number, "before-wizard", "uninstall", "after-install", "after-finish"
    // or "after-page:<page>".
    std::string actionGroup(TableReader& r) {
        const toml::node* node = r.node("when");
        if (!node) return "";
        if (const auto* integer = node->as_integer()) {
            if (integer->get() < kActionGroupUninstall || integer->get() > kActionGroupLast) {
                r.error("when", "'when' as a number is an action group from -1 to 12");
                return "";
            }
            return std::to_string(integer->get());
        }
        std::string when = lower(r.text("when").value_or(""));
        if (when == "before-wizard") return std::to_string(kActionGroupStart);
        if (when == "uninstall") return std::to_string(kActionGroupUninstall);
        if (when == "after-install") return std::to_string(kActionGroupAfterInstall);
        if (when == "after-finish") return std::to_string(kActionGroupAfterFinish);
        if (when.rfind("after-page:", 0) == 0) {
            if (std::optional<int> page = pageNumber(when.substr(11))) {
                return std::to_string(actionGroupAfterPage(*page));
            }
        }
        r.error("when", "unknown 'when' '" + when +
                            "'; use before-wizard, after-page:<page>, after-install, "
                            "after-finish, uninstall or a group number");
        return "";
    }

    void run(TableReader& r) {
        std::string program = field(r, "program");
        std::string open = field(r, "open");
        if (program.empty() == open.empty()) {
            d_.error(r.line(), "[[run]] needs either 'program' or 'open'");
        }
        std::string arguments = field(r, "arguments");
        if (!open.empty() && !arguments.empty()) {
            r.error("arguments", "[[run]] with 'open' takes no 'arguments'");
        }
        std::string folder = field(r, "working-folder");
        std::string group = actionGroup(r);
        bool wait = r.boolean("wait", true);
        bool once = r.boolean("once", true);
        std::optional<int> window =
            choice(r, "window", {{"normal", kWindowModeNormal},
                                 {"minimized", kWindowModeMinimized},
                                 {"maximized", kWindowModeMaximized}});
        if (!open.empty()) {
            program = "open";
            arguments = open;
        }
        add(r, kRecordRunProgram,
            {{kRunProgramFile, program},
             {kRunProgramArguments, arguments},
             {kRunProgramWorkingFolder, folder},
             {kRunProgramGroup, group},
             {kRunProgramWait, flag(wait)},
             {kRunProgramOnce, flag(once)},
             {kRunProgramWindow, std::to_string(window.value_or(kWindowModeNormal))}});
    }

    void dllCall(TableReader& r) {
        std::string dll = field(r, "dll", true);
        std::string function = field(r, "function", true);
        std::vector<std::string> arguments =
            r.texts("arguments").value_or(std::vector<std::string>{});
        if (arguments.size() > 2)
            r.error("arguments", "a DLL function takes at most two arguments");
        for (const std::string& argument : arguments) {
            // An empty first argument means "no arguments" to the engine.
            if (argument.empty() || argument.find_first_of(",\r\n") != std::string::npos) {
                r.error("arguments",
                        "DLL arguments may not be empty or contain a comma or line "
                        "break");
            }
        }
        arguments.resize(2);
        std::string group = actionGroup(r);
        bool once = r.boolean("once", true);
        add(r, kRecordCallDll,
            {{kCallDllFile, dll},
             {kCallDllFunction, function},
             {kCallDllFirstArgument, arguments[0]},
             {kCallDllSecondArgument, arguments[1]},
             {kCallDllGroup, group},
             {kCallDllOnce, flag(once)}});
    }

    Project& p_;
    Diagnostics& d_;
};

class ProjectParser {
  public:
    ProjectParser(Project& project, Diagnostics& diagnostics)
        : p_(project), d_(diagnostics), baseDir_(project.file.parent_path()) {}

    void parse(const toml::table& root, const Definitions& definitions);

  private:
    void product(TableReader& root);
    void look(TableReader& root);
    void font(TableReader& look, const std::string& key, FontSpec& font);
    std::optional<std::uint32_t> colorValue(TableReader& table, const std::string& key);
    std::optional<std::uint32_t> rgb(TableReader& table, const std::string& key);
    void background(const toml::table& table);
    void backgroundLine(const toml::table& table, int index);
    void pages(TableReader& root);
    std::optional<std::string> textFile(TableReader& table, const std::string& key);
    void languages(TableReader& root);
    void texts(const toml::node& node);
    void variables(TableReader& root);
    void applyDefinitions(const Definitions& definitions);
    void defaultVariables();
    void fileGroups(const toml::node& node);
    void install(TableReader& root);
    void startMenu(TableReader& root);
    void finish(TableReader& root);
    void requirements(TableReader& root);
    void checkConsistency();

    // Calls each() for every table of an array of tables (reporting anything else).
    template <class Each>
    void eachTable(const toml::node& node, const std::string& name, Each each);

    Project& p_;
    Diagnostics& d_;
    std::filesystem::path baseDir_;
    int pagesLine_ = 0;
};

template <class Each>
void ProjectParser::eachTable(const toml::node& node, const std::string& name, Each each) {
    const toml::array* array = node.as_array();
    if (!array || !array->is_array_of_tables()) {
        d_.error(lineOf(node), "'" + name + "' must be written as [[" + name + "]] tables");
        return;
    }
    for (const toml::node& item : *array) each(*item.as_table());
}

void ProjectParser::parse(const toml::table& root, const Definitions& definitions) {
    TableReader top(root, kTopLevel, d_);
    product(top);
    look(top);
    pages(top);
    languages(top);
    if (const toml::node* node = top.node("texts")) texts(*node);
    variables(top);
    applyDefinitions(definitions);
    defaultVariables();
    if (const toml::node* node = top.node("files")) fileGroups(*node);
    EntryReader entries(p_, d_);
    for (const char* kind : EntryReader::kinds()) {
        if (const toml::node* node = top.node(kind)) {
            eachTable(*node, kind, [&](const toml::table& t) { entries.read(kind, t); });
        }
    }
    install(top);
    startMenu(top);
    finish(top);
    requirements(top);
    checkConsistency();
}

void ProjectParser::product(TableReader& root) {
    const toml::table* table = root.table("product");
    if (!table) {
        d_.error(root.line(), "the project needs a [product] table with its name");
        return;
    }
    TableReader r(*table, "[product]", d_);
    p_.name = r.text("name").value_or("");
    p_.shortName = r.text("short-name").value_or(p_.name);
    p_.makerLink = r.boolean("maker-link", true);
    if (p_.name.empty()) d_.error(r.line(), "[product] needs a 'name'");
    if (hasLineBreak(p_.name) || hasLineBreak(p_.shortName)) {
        d_.error(r.line(), "product names may not contain a line break");
    }
    // The short name becomes a registry key name in the uninstall registration.
    if (p_.shortName.find('\\') != std::string::npos) {
        r.error("short-name", "'short-name' may not contain a backslash: it names a registry key");
    }
}

std::optional<std::uint32_t> ProjectParser::rgb(TableReader& table, const std::string& key) {
    std::optional<std::string> text = table.text(key);
    if (!text) return std::nullopt;
    std::optional<std::uint32_t> value = parseRgb(*text);
    if (!value) {
        table.error(key, "'" + key + "' in " + table.where() + ": '" + *text +
                             "' is not a colour; write \"#RRGGBB\"");
    }
    return value;
}

std::optional<std::uint32_t> ProjectParser::colorValue(TableReader& table, const std::string& key) {
    std::optional<std::string> text = table.text(key);
    if (!text) return std::nullopt;
    if (lower(*text) == "window") return 0x02000000u;
    if (lower(*text) == "button-face") return 0x01000000u;
    if (std::optional<std::uint32_t> value = parseRgb(*text)) {
        return (*value & 0xFF00) | ((*value & 0xFF) << 16) | ((*value >> 16) & 0xFF);
    }
    table.error(key, "'" + key + "' in " + table.where() + ": '" + *text +
                         "' is not a colour; write \"#RRGGBB\", \"window\" or \"button-face\"");
    return std::nullopt;
}

void ProjectParser::font(TableReader& look, const std::string& key, FontSpec& font) {
    const toml::table* table = look.table(key);
    if (!table) return;
    TableReader r(*table, "[look." + key + "]", d_);
    font.face = r.text("face").value_or("");
    font.rgb = rgb(r, "colour").value_or(0);
    if (font.face.size() > kFaceLimit) {
        r.error("face", "font face '" + font.face + "' is longer than 31 characters");
    }
    if (font.face.find_first_of(",\r\n") != std::string::npos) {
        r.error("face", "font face '" + font.face + "' may not contain a comma or line break");
    }
}

void ProjectParser::look(TableReader& root) {
    const toml::table* table = root.table("look");
    if (!table) return;
    TableReader r(*table, "[look]", d_);
    if (std::optional<std::string> layout = r.text("layout")) {
        if (*layout == "compact") {
            p_.compactLayout = true;
        } else if (*layout != "standard") {
            r.error("layout", "unknown layout '" + *layout + "'; use \"standard\" or \"compact\"");
        }
    }
    p_.fullColorWelcome = r.boolean("full-colour-welcome", false);
    p_.pageColor = colorValue(r, "page-colour").value_or(p_.pageColor);
    p_.frameColor = colorValue(r, "frame-colour").value_or(p_.frameColor);
    p_.headerColor = colorValue(r, "header-colour").value_or(p_.headerColor);
    if (auto accent = colorValue(r, "accent-colour")) {
        // The stripe is drawn in the colour's red, green and blue alone: a system colour's
        // marker would make it black.
        if (*accent & 0xFF000000u) {
            r.error("accent-colour", "'accent-colour' in " + r.where() +
                                         " takes \"#RRGGBB\", not a system colour");
        } else {
            p_.accentColor = accent;
        }
    }
    font(r, "font", p_.normalFont);
    font(r, "title-font", p_.titleFont);
    if (const toml::table* bg = r.table("background")) background(*bg);
}

void ProjectParser::background(const toml::table& table) {
    TableReader r(table, "[look.background]", d_);
    Background bg;
    std::optional<std::uint32_t> top = rgb(r, "top");
    std::optional<std::uint32_t> bottom = rgb(r, "bottom");
    if (!r.node("top") || !r.node("bottom")) {
        d_.error(r.line(), "[look.background] needs the colours 'top' and 'bottom'");
    }
    bg.topRgb = top.value_or(0);
    bg.bottomRgb = bottom.value_or(0);
    bg.captioned = r.boolean("captioned", false);
    p_.background = bg;
    if (const toml::node* lines = r.node("lines")) {
        int index = 0;
        eachTable(*lines, "look.background.lines",
                  [&](const toml::table& t) { backgroundLine(t, index++); });
        if (index > 2) {
            d_.warning(lineOf(*lines), "only the first two background lines are drawn");
        }
    }
}

void ProjectParser::backgroundLine(const toml::table& table, int index) {
    TableReader r(table, "[[look.background.lines]]", d_);
    std::string text = r.text("text").value_or("");
    if (text.find('"') != std::string::npos || hasLineBreak(text)) {
        r.error("text", "a background line may not contain a double quote or a line break");
    }
    std::string align = r.text("align").value_or("left");
    std::string from = r.text("from").value_or("top");
    if (align != "left" && align != "right") r.error("align", "'align' is \"left\" or \"right\"");
    if (from != "top" && from != "bottom") r.error("from", "'from' is \"top\" or \"bottom\"");
    auto x = r.integer("x", -100000, 100000).value_or(0);
    auto y = r.integer("y", -100000, 100000).value_or(0);
    std::string face = r.text("font").value_or("");
    if (face.size() > kFaceLimit || face.find_first_of(",\r\n") != std::string::npos) {
        r.error("font", "font face '" + face + "' is longer than 31 characters or holds a comma");
    }
    auto size = r.integer("size", 0, 1000).value_or(0);
    auto width = r.integer("width", 0, 1000).value_or(0);
    auto weight = r.integer("weight", 0, 900).value_or(0);
    if (weight % 100 != 0)
        r.error("weight", "'weight' is a multiple of 100 (400 normal, 700 bold)");
    bool italic = r.boolean("italic", false);
    bool underline = r.boolean("underline", false);
    std::uint32_t colour = rgb(r, "colour").value_or(0);
    auto shadow = r.integer("shadow", 0, 100).value_or(0);
    std::uint32_t shadowColour = rgb(r, "shadow-colour").value_or(0);
    char hex[2][16];
    std::snprintf(hex[0], sizeof hex[0], "0x%06X", colour);
    std::snprintf(hex[1], sizeof hex[1], "0x%06X", shadowColour);
    std::ostringstream fields;
    fields << '"' << text << "\"," << align << ',' << from << ',' << x << ',' << y << ',' << face
           << ',' << size << ',' << width << ',' << weight / 100 << ',' << (italic ? 1 : 0) << ','
           << (underline ? 1 : 0) << ',' << hex[0] << ',' << shadow << ',' << hex[1];
    (void)index;
    p_.background->lines.push_back({r.line(), fields.str()});
}

std::optional<std::string> ProjectParser::textFile(TableReader& table, const std::string& key) {
    std::optional<std::string> name = table.text(key);
    if (!name) return std::nullopt;
    std::filesystem::path path = baseDir_ / *name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        table.error(key, "cannot read " + key + " file '" + path.string() + "'");
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    if (bytes.find('\0') != std::string::npos) {
        table.error(key, "'" + path.string() + "' holds a NUL byte; it must be a text file");
        return std::nullopt;
    }
    // UTF-8 files become Windows-1252; a file that is not UTF-8 is taken as already 8-bit.
    if (std::optional<std::string> ansi = toAnsi(bytes)) return ansi;
    return bytes;
}

void ProjectParser::pages(TableReader& root) {
    const toml::table* table = root.table("pages");
    std::vector<std::string> shown(std::begin(kDefaultPages), std::end(kDefaultPages));
    if (table) {
        TableReader r(*table, "[pages]", d_);
        if (auto names = r.texts("show")) shown = *names;
        if (!r.node("show")) {
            // keep the default pages
        }
        for (const std::string& name : shown) {
            if (!pageNumber(name)) {
                r.error("show", "unknown page '" + name +
                                    "'; pages are language, welcome, licence, readme, "
                                    "destination, start-menu, ready, installing, finish");
            }
        }
        pagesLine_ = r.lineOf("show");
        p_.licenseText = textFile(r, "licence");
        p_.readmeText = textFile(r, "readme");
    }
    for (const std::string& name : shown) {
        if (std::optional<int> page = pageNumber(name)) p_.pages[*page] = 1;
    }
}

void ProjectParser::languages(TableReader& root) {
    const toml::table* table = root.table("languages");
    if (!table) return;
    TableReader r(*table, "[languages]", d_);
    p_.autoSelectLanguage = r.boolean("auto-select", true);
    std::optional<std::vector<std::string>> names = r.texts("offer");
    if (!names) return;
    p_.languages.clear();
    for (const std::string& name : *names) {
        int number = languageNumber(name);
        if (number < 0) {
            r.error("offer", "unknown language '" + name + "'");
        } else if (std::find(p_.languages.begin(), p_.languages.end(), number) !=
                   p_.languages.end()) {
            r.error("offer", "language '" + name + "' is offered twice");
        } else {
            p_.languages.push_back(static_cast<std::uint16_t>(number));
        }
    }
    if (names->empty()) r.error("offer", "'offer' needs at least one language");
}

void ProjectParser::texts(const toml::node& node) {
    eachTable(node, "texts", [&](const toml::table& t) {
        TableReader r(t, "[[texts]]", d_);
        TextOverride text;
        text.line = r.line();
        std::string language = r.text("language").value_or("english");
        int number = languageNumber(language);
        if (number < 0) r.error("language", "unknown language '" + language + "'");
        text.language = static_cast<std::uint16_t>(std::max(number, 0));
        std::optional<std::string> table = r.text("table");
        std::optional<int> code = table ? tableNumber(*table) : std::nullopt;
        if (!table) d_.error(r.line(), "[[texts]] needs a 'table'");
        if (table && !code) {
            r.error("table", "unknown text table '" + *table +
                                 "'; tables are setup-messages, error-messages, buttons, "
                                 "uninstaller and the page names");
        }
        text.table = static_cast<std::uint8_t>(code.value_or(0));
        std::optional<std::int64_t> item = r.integer("item", 0, 255);
        if (!r.node("item")) d_.error(r.line(), "[[texts]] needs an 'item' number");
        text.item = static_cast<std::uint8_t>(item.value_or(0));
        std::optional<std::string> value = r.text("text");
        if (!value) d_.error(r.line(), "[[texts]] needs a 'text'");
        text.text = value.value_or("");
        p_.texts.push_back(text);
    });
}

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
    TableReader r(*table, "[variables]", d_);
    for (const auto& [position, key] : order) {
        std::optional<std::string> value = r.text(key);
        int line = static_cast<int>(position.line);
        if (key.empty() || key.find_first_of("%,\r\n ") != std::string::npos) {
            d_.error(line, "variable name '" + key +
                               "' may not be empty or contain '%', a comma, a blank or a line "
                               "break");
            continue;
        }
        if (value && hasLineBreak(*value)) {
            d_.error(line, "the value of variable '" + key + "' may not contain a line break");
        }
        p_.variables.push_back({line, "%" + key + "%", value.value_or("")});
    }
}

void ProjectParser::applyDefinitions(const Definitions& definitions) {
    for (const auto& [rawName, rawValue] : definitions) {
        std::string name = rawName;
        if (name.size() >= 2 && name.front() == '%' && name.back() == '%') {
            name = name.substr(1, name.size() - 2);
        }
        std::optional<std::string> value = toAnsi(rawValue);
        if (name.empty() || name.find_first_of("%,\r\n ") != std::string::npos || !value ||
            hasLineBreak(*value)) {
            d_.error(0, "-D " + rawName + ": not a valid variable definition");
            continue;
        }
        std::string full = "%" + name + "%";
        auto same = std::find_if(p_.variables.begin(), p_.variables.end(),
                                 [&](const Variable& v) { return lower(v.name) == lower(full); });
        if (same != p_.variables.end()) {
            same->value = *value;
        } else {
            p_.variables.push_back({0, full, *value});
        }
    }
}

void ProjectParser::defaultVariables() {
    auto defineIfMissing = [&](const std::string& name, const std::string& value) {
        bool present = std::any_of(p_.variables.begin(), p_.variables.end(),
                                   [&](const Variable& v) { return lower(v.name) == lower(name); });
        if (!present) p_.variables.push_back({0, name, value});
    };
    defineIfMissing("%InstallPath%", "<ProgramFiles>\\" + p_.name);
    defineIfMissing("%ShortcutsGroup%", p_.name);
    defineIfMissing("%UninstallerFileName%", "uninstall.exe");
    // The default page texts name the product through these two.
    defineIfMissing("%ProductName%", p_.name);
    defineIfMissing("%ProductShortName%", p_.shortName);
}

void ProjectParser::fileGroups(const toml::node& node) {
    static const char* const kCompression[] = {"auto", "stored", "compressed"};
    auto oneOf = [](const std::string& value, const auto& names) {
        return std::find(std::begin(names), std::end(names), value) != std::end(names);
    };
    eachTable(node, "files", [&](const toml::table& t) {
        TableReader r(t, "[[files]]", d_);
        FileGroup group;
        group.line = r.line();
        group.sourceDir = baseDir_ / r.text("source").value_or(".");
        if (!std::filesystem::is_directory(group.sourceDir)) {
            r.error("source", "source folder '" + group.sourceDir.string() + "' does not exist");
        }
        if (auto include = r.texts("include")) group.include = *include;
        if (auto exclude = r.texts("exclude")) group.exclude = *exclude;
        group.targetFolder = r.text("target").value_or(group.targetFolder);
        if (hasLineBreak(group.targetFolder) || group.targetFolder.empty()) {
            r.error("target", "'target' must be a folder without line breaks");
        }
        group.overwrite = r.text("overwrite").value_or(group.overwrite);
        if (!oneOf(group.overwrite, kOverwriteModeNames)) {
            r.error("overwrite", "unknown overwrite mode '" + group.overwrite +
                                     "'; use always, newer, newer-or-same, older or never");
        }
        group.decide = r.text("decide").value_or(group.decide);
        if (!oneOf(group.decide, kDecisionRuleNames)) {
            r.error("decide", "unknown decision rule '" + group.decide +
                                  "'; use date, version or version-and-date");
        }
        group.shared = r.boolean("shared", false);
        group.compression = r.text("compression").value_or(group.compression);
        if (!oneOf(group.compression, kCompression)) {
            r.error("compression", "unknown compression '" + group.compression +
                                       "'; use auto, stored or compressed");
        }
        p_.fileGroups.push_back(group);
    });
}

void ProjectParser::install(TableReader& root) {
    const toml::table* table = root.table("install");
    if (!table) return;
    TableReader r(*table, "[install]", d_);
    p_.restart = r.boolean("restart", false);
    p_.uninstaller = r.boolean("uninstaller", true);
    if (const toml::table* previous = r.table("previous-location")) {
        TableReader location(*previous, "[install.previous-location]", d_);
        std::string rootName = location.text("root").value_or("");
        for (char& c : rootName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string key = location.text("key").value_or("");
        std::string value = location.text("value").value_or("");
        bool known = false;
        for (int root = 0; root < kRegistryRootCount; ++root) known |= rootName == rootKeyName(root);
        if (!known) {
            location.error("root", "unknown registry root '" + rootName +
                                       "'; use HKCR, HKCU, HKLM, HKU, HKPD, HKCC or HKDD");
        }
        if (key.empty()) d_.error(location.line(), "'previous-location' needs a 'key'");
        for (const std::string* part : {&key, &value}) {
            if (part->find_first_of(",\r\n") != std::string::npos) {
                d_.error(location.line(),
                         "'previous-location' fields may not contain a comma or line break");
            }
        }
        p_.previousLocation = rootName + "," + key + "," + value;
    }
}

void ProjectParser::startMenu(TableReader& root) {
    const toml::table* table = root.table("start-menu");
    if (!table) return;
    TableReader r(*table, "[start-menu]", d_);
    p_.allowGroupChoice = r.boolean("group-choice", false);
    p_.allowDesktopChoice = r.boolean("desktop-choice", false);
    p_.allowQuickLaunchChoice = r.boolean("quick-launch-choice", false);
}

void ProjectParser::finish(TableReader& root) {
    const toml::table* table = root.table("finish");
    if (!table) return;
    TableReader r(*table, "[finish]", d_);
    p_.finishRun = r.text("run").value_or("");
    p_.finishView = r.text("view").value_or("");
    if (hasLineBreak(p_.finishRun) || hasLineBreak(p_.finishView)) {
        d_.error(r.line(), "finish items may not contain a line break");
    }
}

void ProjectParser::requirements(TableReader& root) {
    const toml::table* table = root.table("requirements");
    if (!table) return;
    TableReader r(*table, "[requirements]", d_);
    struct Keywords {
        const char* key;
        std::string Requirements::*field;
        std::vector<const char*> words;
    };
    const Keywords kinds[] = {
        {"windows",
         &Requirements::windows,
         {"NT", "95OSR2", "NT4", "98", "98SE", "ME", "2000", "XP", "2003"}},
        {"directx",
         &Requirements::directX,
         {"1.0", "2.0", "3.0", "5.0", "6.0", "6.1", "7.0", "8.0", "8.1", "9.0"}},
        {"ie",
         &Requirements::ie,
         {"3.0", "3.01", "3.02", "4.0", "4.01", "4.01SP1", "4.01SP2", "5.0", "5.01", "5.01SP1",
          "5.01SP2", "5.01SP3", "5.5", "5.5SP1", "5.5SP2", "6.0", "6.0SP1"}},
        {"access",
         &Requirements::access,
         {"97", "97SR1", "97SR2", "2000", "2000SR1", "2000SR2", "XP"}},
    };
    for (const Keywords& kind : kinds) {
        std::optional<std::string> value = r.text(kind.key);
        if (!value) continue;
        auto match = std::find_if(kind.words.begin(), kind.words.end(),
                                  [&](const char* word) { return lower(word) == lower(*value); });
        if (match == kind.words.end()) {
            std::string known;
            for (const char* word : kind.words)
                known += (known.empty() ? "" : ", ") + std::string(word);
            r.error(kind.key, "unknown " + std::string(kind.key) + " requirement '" + *value +
                                  "'; known: " + known);
            continue;
        }
        p_.requirements.*kind.field = *match;
    }
    p_.requirements.administrator = r.boolean("administrator", false);
}

void ProjectParser::checkConsistency() {
    if (p_.pages[kPageLicense] && !p_.licenseText) {
        d_.error(pagesLine_, "the licence page is shown but [pages] names no 'licence' file");
    }
    if (p_.pages[kPageReadme] && !p_.readmeText) {
        d_.error(pagesLine_, "the readme page is shown but [pages] names no 'readme' file");
    }
    if (p_.languages.size() > 1 && !p_.pages[kPageLanguage]) {
        d_.warning(0, "several languages are offered but the language page is not shown");
    }
    // An empty name would put the uninstaller on the installation folder's own path.
    for (const Variable& v : p_.variables) {
        if (p_.uninstaller && lower(v.name) == "%uninstallerfilename%" &&
            v.value.find_first_not_of(" \t") == std::string::npos) {
            d_.error(v.line, "%UninstallerFileName% may not be empty: it names the uninstaller");
            break;
        }
    }
}

}  // namespace

namespace {

// The TOML library tests characters outside ASCII against its whitespace table wherever it
// scans for the end of a token, and that test is undefined behaviour for many of them (U+00A1
// to U+0499 among them): a malformed value followed by a quoted 'é' is enough. So the library
// is only ever given ASCII. Outside strings and comments TOML has no place for such a
// character, and it is refused; in a comment it is dropped; in a string it becomes a \u or \U
// escape, a literal string turning into the basic string of the same value. Lines stay where
// they are, so the library's line numbers hold.
struct AsciiToml {
    std::string text;
    int problemLine = 0;  // 0 when the text could be carried over
    std::string problem;
};

// The code point of the UTF-8 sequence at text[i], or -1 for a malformed one; `length` is
// the number of bytes it takes.
long decodeUtf8(const std::string& text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || i + length > text.size()) return -1;
    long c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return -1;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    const long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return -1;
    return c;
}

AsciiToml asAsciiToml(const std::string& text) {
    AsciiToml out;
    int line = 1;
    auto fail = [&](const char* problem) {
        out.problemLine = line;
        out.problem = problem;
        return out;
    };
    std::size_t i = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    auto at = [&](std::size_t k, const char* token) { return text.compare(k, 3, token) == 0; };
    // Writes the character at text[i] as an escape; false for a malformed one.
    auto escapeNonAscii = [&]() {
        std::size_t length = 0;
        const long c = decodeUtf8(text, i, length);
        if (c < 0) return false;
        char escape[12];
        std::snprintf(escape, sizeof escape, c > 0xFFFF ? "\\U%08lX" : "\\u%04lX", c);
        out.text += escape;
        i += length;
        return true;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') ++line;
        if (c == '#') {  // a comment runs to the end of its line
            for (; i < text.size() && text[i] != '\n'; ++i) {
                if (static_cast<unsigned char>(text[i]) < 0x80) out.text += text[i];
            }
            continue;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            return fail("a character outside ASCII may stand only in a string or a comment");
        }
        if (c != '"' && c != '\'') {
            out.text += c;
            ++i;
            continue;
        }
        const bool literal = c == '\'';
        const char* closing = literal ? "'''" : "\"\"\"";
        const bool multiline = at(i, closing);
        const char* delimiter = multiline ? "\"\"\"" : "\"";
        out.text += delimiter;
        i += multiline ? 3 : 1;
        while (i < text.size()) {
            const char d = text[i];
            if (d == '\n') {
                if (!multiline) break;  // not a string of one line: the library says so
                ++line;
            }
            if (d == c && (!multiline || at(i, closing))) {
                // Up to two quotes more belong to the text of a multi-line string.
                std::size_t run = 1;
                while (multiline && run < 5 && i + run < text.size() && text[i + run] == c) ++run;
                out.text.append(multiline ? run - 3 : 0, c);
                out.text += delimiter;
                i += run;
                break;
            }
            if (static_cast<unsigned char>(d) >= 0x80) {
                if (!escapeNonAscii()) return fail("the text is not valid UTF-8");
                continue;
            }
            if (literal && (d == '\\' || d == '"')) {
                out.text += '\\';
            } else if (!literal && d == '\\' && i + 1 < text.size()) {
                // An escape is copied whole; none begins with a character outside ASCII.
                if (static_cast<unsigned char>(text[i + 1]) >= 0x80) {
                    return fail("a backslash in a string must begin a TOML escape");
                }
                if (text[i + 1] == '\n') ++line;
                out.text += text[i++];
            }
            out.text += text[i++];
        }
    }
    return out;
}

}  // namespace

Project parseProject(const std::string& text, const std::filesystem::path& file,
                     const Definitions& definitions, Diagnostics& diagnostics) {
    Project project;
    project.file = std::filesystem::absolute(file);
    const AsciiToml ascii = asAsciiToml(text);
    if (ascii.problemLine) {
        diagnostics.error(ascii.problemLine, ascii.problem);
        return project;
    }
    toml::table root;
    try {
        root = toml::parse(ascii.text, file.string());
    } catch (const toml::parse_error& error) {
        diagnostics.error(static_cast<int>(error.source().begin.line),
                          std::string(error.description()));
        return project;
    }
    ProjectParser(project, diagnostics).parse(root, definitions);
    return project;
}

namespace {

// Every table of the format once and every key of each, for acceptedKeys(). The values only need
// to be of the right kind: the files it names are not there, and the errors that gives are
// ignored. [variables] has no fixed keys.
constexpr const char* kAllTablesProject = R"toml(
[product]
name = "Sample"
short-name = "Sample"
maker-link = true

[look]
layout = "standard"
full-colour-welcome = false
page-colour = "window"
frame-colour = "button-face"
header-colour = "#FFFFFF"
accent-colour = "#008CC8"
font = { face = "Tahoma", colour = "#000000" }
title-font = { face = "Tahoma", colour = "#000000" }

[look.background]
top = "#000080"
bottom = "#000000"
captioned = false

[[look.background.lines]]
text = "Sample"
align = "left"
from = "top"
x = 0
y = 0
font = "Tahoma"
size = 12
width = 0
weight = 400
italic = false
underline = false
colour = "#FFFFFF"
shadow = 0
shadow-colour = "#000000"

[pages]
show = ["welcome", "licence", "readme", "installing", "finish"]
licence = "licence.txt"
readme = "readme.txt"

[languages]
offer = ["english"]
auto-select = true

[[texts]]
language = "english"
table = "buttons"
item = 1
text = "&Next >"

[variables]

[[files]]
source = "."
include = ["**"]
exclude = []
target = "%InstallPath%"
overwrite = "newer"
decide = "version-and-date"
shared = false
compression = "auto"

[[shortcuts]]
path = "<Programs>\\Sample.lnk"
target = "%InstallPath%\\sample.exe"
arguments = ""
working-folder = ""
icon = ""
icon-index = 0
show = "normal"
hotkey = 0
shared = false

[[registry]]
root = "HKCU"
key = "Software\\Sample"
name = "Path"
type = "string"
value = "%InstallPath%"

[[ini]]
file = "sample.ini"
section = "Sample"
key = "Path"
value = "%InstallPath%"
append = false

[[associations]]
extension = ".sample"
type = "Sample.Document"
content-type = "text/plain"
description = "Sample"
tip = "Sample"
command = "%InstallPath%\\sample.exe %1"
icon = ""
icon-index = 0

[[run]]
program = "%InstallPath%\\sample.exe"
open = ""
arguments = ""
working-folder = ""
when = "after-install"
wait = true
once = true
window = "normal"

[[dll-call]]
dll = "%InstallPath%\\sample.dll"
function = "DllRegisterServer"
arguments = []
when = "after-install"
once = true

[start-menu]
group-choice = false
desktop-choice = false
quick-launch-choice = false

[install]
restart = false
uninstaller = true
previous-location = { root = "HKLM", key = "Software\\Sample", value = "Path" }

[finish]
run = ""
view = ""

[requirements]
windows = "NT"
directx = "9.0"
ie = "6.0"
access = "XP"
administrator = false
)toml";

}  // namespace

std::vector<AcceptedKey> acceptedKeys() {
    std::vector<AcceptedKey> keys;
    struct Noting {
        explicit Noting(std::vector<AcceptedKey>& into) { tAcceptedKeys = &into; }
        ~Noting() { tAcceptedKeys = nullptr; }
    } noting(keys);
    Diagnostics ignored;
    parseProject(kAllTablesProject, "accepted-keys/project.toml", {}, ignored);
    return keys;
}

Project readProject(const std::filesystem::path& file, const Definitions& definitions,
                    Diagnostics& diagnostics) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        diagnostics.error(0, "cannot read the project file");
        return Project{};
    }
    std::stringstream text;
    text << in.rdbuf();
    return parseProject(text.str(), file, definitions, diagnostics);
}

}  // namespace kelvara::build
