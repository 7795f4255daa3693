#include "kelvara-build/project/entry_reader.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "formats/record_fields.h"
#include "formats/script_format.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/choice_condition.h"
#include "kelvara-build/project/project_names.h"
#include "kelvara-build/project/table_reader.h"
#include "runtime/registry_roots.h"

namespace kelvara::build {
namespace {

// The entries that become field-string records (shortcuts, registry values, INI entries,
// associations, programs, DLL calls). The engine cuts these records at every comma and writes
// them into line-based logs, so a comma or line break inside a field is refused.
class EntryReader {
  public:
    EntryReader(Project& project, Diagnostics& diagnostics, KeyListener* keys)
        : p_(project), d_(diagnostics), keys_(keys) {}

    void read(const std::string& kind, const toml::table& table) {
        TableReader r(table, "[[" + kind + "]]", d_, p_.encoding, keys_);
        const std::size_t before = p_.entries.size();
        if (kind == "shortcuts") shortcut(r);
        if (kind == "registry") registry(r);
        if (kind == "ini") ini(r);
        if (kind == "associations") association(r);
        if (kind == "run") run(r);
        if (kind == "dll-call") dllCall(r);
        const ChoiceCondition condition = readChoiceCondition(r, p_);
        if (p_.entries.size() > before) p_.entries.back().condition = condition;
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
                              std::span<const Named> names) {
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
    std::optional<int> choice(TableReader& r, const std::string& key,
                              std::initializer_list<Named> names) {
        return choice(r, key, std::span(names.begin(), names.size()));
    }

    // The registry roots by their short names in lower case ("hklm"), the way choice() matches
    // names in any case.
    static std::span<const Named> rootNames() {
        static const std::vector<std::string> lowered = [] {
            std::vector<std::string> names;
            for (int root = 0; root < kRecordRootCount; ++root) {
                names.push_back(lower(rootKeyName(root)));
            }
            return names;
        }();
        static const std::vector<Named> named = [] {
            std::vector<Named> names;
            for (int root = 0; root < kRecordRootCount; ++root) {
                names.push_back({lowered[root].c_str(), root});
            }
            return names;
        }();
        return named;
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
        p_.entries.push_back({r.line(), type, joined, {}});
    }

    void shortcut(TableReader& r) {
        std::string path = field(r, "path", true);
        std::string target = field(r, "target", true);
        std::string arguments = field(r, "arguments");
        std::string folder = field(r, "working-folder");
        std::string icon = field(r, "icon");
        std::string iconIndex = number(r, "icon-index", -65535, 65535);
        std::optional<int> show = choice(r, "show",
                                         {{"normal", kShowNormal},
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
        std::optional<int> root = choice(r, "root", rootNames());
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
        const std::string view = field(r, "view");
        if (r.node("view") && view != "32" && view != "64") {
            r.error("view", "'view' in [[registry]] must be \"32\" or \"64\"");
        }
        add(r, kRecordRegistry,
            {{kRegistryRootField, root ? std::to_string(*root) : ""},
             {kRegistryKeyField, key},
             {kRegistryNameField, name},
             {kRegistryTypeField, std::to_string(type)},
             {kRegistryDataField, registryData(r, type)},
             {kRegistryViewField, view}});
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
        std::optional<int> window = choice(r, "window",
                                           {{"normal", kWindowModeNormal},
                                            {"minimized", kWindowModeMinimized},
                                            {"maximized", kWindowModeMaximized}});
        // The exit codes that mean success, as the engine reads them: "0|3010".
        std::string successCodes;
        if (auto codes = r.integers("success-codes", 0, 0xFFFFFFFFll)) {
            if (!open.empty()) r.error("success-codes", "[[run]] with 'open' has no exit code");
            if (!wait)
                r.error("success-codes",
                        "a program that is not waited for has no exit "
                        "code to judge: drop 'success-codes' or 'wait'");
            for (std::int64_t code : *codes) {
                successCodes += (successCodes.empty() ? "" : "|") + std::to_string(code);
            }
        }
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
             {kRunProgramWindow, std::to_string(window.value_or(kWindowModeNormal))},
             {kRunProgramSuccessCodes, successCodes}});
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
    KeyListener* keys_;
};

}  // namespace

void readEntry(Project& project, Diagnostics& diagnostics, const std::string& kind,
               const toml::table& table, KeyListener* keys) {
    EntryReader(project, diagnostics, keys).read(kind, table);
}

}  // namespace kelvara::build
