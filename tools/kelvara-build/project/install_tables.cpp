// [[files]], [install], [start-menu], [finish] and [requirements]: what is installed, and how.
#include "kelvara-build/project/project_parser.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "formats/package_format.h"
#include "formats/requirement_keywords.h"
#include "formats/windows_version_demand.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/choice_condition.h"
#include "kelvara-build/project/folder_token_check.h"
#include "kelvara-build/project/project_names.h"
#include "runtime/registry_roots.h"

namespace kelvara::build {

void ProjectParser::fileGroups(const toml::node& node) {
    static const char* const kCompression[] = {"auto", "stored", "compressed", "zlib", "lzma2"};
    auto oneOf = [](const std::string& value, const auto& names) {
        return std::find(std::begin(names), std::end(names), value) != std::end(names);
    };
    eachTable(node, "files", [&](const toml::table& t) {
        TableReader r(t, "[[files]]", d_, p_.encoding, keys_);
        FileGroup group;
        group.line = r.line();
        group.sourceDir = baseDir_ / hostPath(r.hostText("source").value_or("."));
        if (!std::filesystem::is_directory(group.sourceDir)) {
            r.error("source", "source folder '" + group.sourceDir.string() + "' does not exist");
        }
        // Patterns match the names as the file system gives them, in UTF-8.
        if (auto include = r.texts("include", true)) group.include = *include;
        if (auto exclude = r.texts("exclude", true)) group.exclude = *exclude;
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
                                       "'; use auto, stored, compressed, zlib or lzma2");
        }
        group.condition = readChoiceCondition(r, p_);
        p_.fileGroups.push_back(group);
    });
}

void ProjectParser::install(TableReader& root) {
    const toml::table* table = root.table("install");
    if (!table) return;
    TableReader r(*table, "[install]", d_, p_.encoding, keys_);
    p_.restart = r.boolean("restart", false);
    p_.uninstaller = r.boolean("uninstaller", true);
    if (const toml::table* previous = r.table("previous-location")) {
        TableReader location(*previous, "[install.previous-location]", d_, p_.encoding, keys_);
        std::string rootName = location.text("root").value_or("");
        for (char& c : rootName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string key = location.text("key").value_or("");
        std::string value = location.text("value").value_or("");
        bool known = false;
        for (int root = 0; root < kRecordRootCount; ++root) known |= rootName == rootKeyName(root);
        if (!known) {
            location.error("root", "unknown registry root '" + rootName +
                                       "'; use HKCR, HKCU, HKLM, HKU, HKPD, HKCC, HKDD or HKA");
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
    TableReader r(*table, "[start-menu]", d_, p_.encoding, keys_);
    p_.allowGroupChoice = r.boolean("group-choice", false);
    p_.allowDesktopChoice = r.boolean("desktop-choice", false);
    p_.allowQuickLaunchChoice = r.boolean("quick-launch-choice", false);
}

void ProjectParser::finish(TableReader& root) {
    const toml::table* table = root.table("finish");
    if (!table) return;
    TableReader r(*table, "[finish]", d_, p_.encoding, keys_);
    p_.finishRun = r.text("run").value_or("");
    p_.finishView = r.text("view").value_or("");
    if (hasLineBreak(p_.finishRun) || hasLineBreak(p_.finishView)) {
        d_.error(r.line(), "finish items may not contain a line break");
    }
    warnOfUnknownFolderTokens(r.lineOf("run"), "[finish] 'run'", p_.finishRun, d_);
    warnOfUnknownFolderTokens(r.lineOf("view"), "[finish] 'view'", p_.finishView, d_);
}

void ProjectParser::requirements(TableReader& root) {
    const toml::table* table = root.table("requirements");
    if (!table) return;
    TableReader r(*table, "[requirements]", d_, p_.encoding, keys_);
    struct Keywords {
        const char* key;
        std::string Requirements::*field;
        std::vector<const char*> words;
        bool versions = false;  // also a Windows version as numbers (10.0.17763)
    };
    auto words = [](const auto& keywords) {
        return std::vector<const char*>(std::begin(keywords), std::end(keywords));
    };
    // Windows 7 and later are named by release or by version, as the engine compares them.
    std::vector<const char*> windows = words(kWindowsRequirementKeywords);
    for (const WindowsReleaseName& release : kWindowsReleaseNames) windows.push_back(release.name);
    const Keywords kinds[] = {
        {"windows", &Requirements::windows, windows, true},
        {"directx", &Requirements::directX, words(kDirectXRequirementKeywords)},
        {"ie", &Requirements::ie, words(kIeRequirementKeywords)},
        {"access", &Requirements::access, words(kAccessRequirementKeywords)},
    };
    for (const Keywords& kind : kinds) {
        std::optional<std::string> value = r.text(kind.key);
        if (!value) continue;
        auto match = std::find_if(kind.words.begin(), kind.words.end(),
                                  [&](const char* word) { return lower(word) == lower(*value); });
        if (match == kind.words.end() && kind.versions &&
            windowsVersionDemand(value->c_str()) != 0) {
            p_.requirements.*kind.field = *value;
            continue;
        }
        if (match == kind.words.end()) {
            std::string known;
            for (const char* word : kind.words)
                known += (known.empty() ? "" : ", ") + std::string(word);
            if (kind.versions) known += " or a version such as 10.0.17763";
            r.error(kind.key, "unknown " + std::string(kind.key) + " requirement '" + *value +
                                  "'; known: " + known);
            continue;
        }
        p_.requirements.*kind.field = *match;
    }
    p_.requirements.administrator = r.boolean("administrator", false);
}

}  // namespace kelvara::build
