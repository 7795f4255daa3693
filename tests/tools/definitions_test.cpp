// Every name a project file may use for one of the engine's numbers (registry roots and value
// types, show commands, window modes, action groups, text tables) reaches the engine's own
// readers as what the name says: a project is built and its script applied by the engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "fresh_records.h"
#include "install/config_records.h"
#include "install/registry_data.h"
#include "install/shortcut_record.h"
#include "kelvara-build/image/script_builder.h"
#include "kelvara-build/project/project.h"
#include "runtime/heap_string.h"
#include "runtime/registry_roots.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"
#include "setup/script_records.h"
#include "worker/action_records.h"

using namespace kelvara;
using namespace kelvara::build;

namespace {

const std::filesystem::path kData = KELVARA_TEST_DATA;

// Builds the project text and lets the engine apply its script.
void buildAndApply(const std::string& text) {
    Diagnostics diagnostics("project.toml");
    Project project = parseProject(text, kData / "full" / "project.toml", {}, diagnostics);
    ASSERT_FALSE(diagnostics.failed()) << diagnostics.errors()[0];
    std::vector<unsigned char> script = buildScript(project, diagnostics);
    ASSERT_TRUE(freshScriptRecords());
    RecordPlatform platform = {[](const char*) { return true; },
                               [](int, const char*, const char*) -> char* { return nullptr; },
                               [] { return 9; }};
    ASSERT_TRUE(applyScript(script.data(), script.size(), platform));
}

// The fields of a list's entry, split as the engine splits them.
std::vector<std::string> fieldsOf(const char* entry) {
    StringList fields;
    EXPECT_TRUE(fields.create(15));
    splitFields(entry, false, fields);
    std::vector<std::string> out;
    for (int i = 0; i < fields.count(); ++i) out.push_back(fields.get(i) ? fields.get(i) : "");
    return out;
}

// Finds the program named `program` in a list of stored program entries.
bool holdsProgram(const StringList& list, const std::string& program) {
    for (int i = 0; i < list.count(); ++i) {
        if (fieldsOf(list.get(i)).at(0) == program) return true;
    }
    return false;
}

}  // namespace

TEST(BuilderNames, ReachTheEngineAsTheNumbersTheySay) {
    std::string project = "[product]\nname = \"P\"\n";
    // Registry roots, written in the case a packager might, and value types.
    const char* const roots[] = {"HKCR", "hkcu", "HkLm", "HKU", "HKPD", "HKCC", "hkdd"};
    for (const char* root : roots) {
        project += "[[registry]]\nroot = \"" + std::string(root) + "\"\nkey = \"K\"\n";
    }
    struct Type {
        const char* name;
        const char* value;
        std::uint32_t system;  // the REG_* number
    };
    const Type types[] = {{"string", "\"s\"", 1},
                          {"expand-string", "\"s\"", 2},
                          {"binary", "\"0A\"", 3},
                          {"dword", "1", 4},
                          {"multi-string", "[\"a\", \"b\"]", 7}};
    for (const Type& type : types) {
        project += "[[registry]]\nroot = \"HKCU\"\nkey = \"T\"\ntype = \"" +
                   std::string(type.name) + "\"\nvalue = " + type.value + "\n";
    }
    // Show commands of shortcuts (the system's SW_* numbers) and window modes of programs.
    const std::pair<const char*, int> shows[] = {{"normal", 1}, {"minimized", 7}, {"maximized", 3}};
    for (const auto& [name, number] : shows) {
        project += "[[shortcuts]]\npath = \"C:\\\\" + std::string(name) +
                   ".lnk\"\ntarget = \"C:\\\\t.exe\"\nshow = \"" + name + "\"\n";
    }
    const std::pair<const char*, WindowMode> windows[] = {
        {"normal", WindowMode::normal},
        {"minimized", WindowMode::minimizedNoActivate},
        {"maximized", WindowMode::maximized}};
    for (const auto& [name, mode] : windows) {
        project +=
            "[[run]]\nprogram = \"window-" + std::string(name) + "\"\nwindow = \"" + name + "\"\n";
    }
    // Action groups: where the engine keeps a program of each "when".
    SetupState& s = setupState;
    struct When {
        std::string name;
        const StringList* list;
    };
    const std::vector<When> whens = {
        {"before-wizard", &s.groupZeroPrograms},
        {"uninstall", &s.uninstallPrograms},
        {"after-install", &s.pageSlots[10].runPrograms},  // leaving the installing page
        {"after-finish", &s.pageSlots[11].runPrograms},
        {"after-page:language", &s.pageSlots[0].runPrograms},
        {"after-page:welcome", &s.pageSlots[1].runPrograms},
        {"after-page:licence", &s.pageSlots[2].runPrograms},
        {"after-page:readme", &s.pageSlots[3].runPrograms},
        {"after-page:destination", &s.pageSlots[6].runPrograms},
        {"after-page:start-menu", &s.pageSlots[8].runPrograms},
        {"after-page:ready", &s.pageSlots[9].runPrograms},
        {"after-page:installing", &s.pageSlots[10].runPrograms},
    };
    for (const When& when : whens) {
        project += "[[run]]\nprogram = \"when-" + when.name + "\"\nwhen = \"" + when.name + "\"\n";
    }
    // Text tables: the message tables and the pages' texts, item 3 of each.
    const std::pair<const char*, int> tables[] = {{"setup-messages", 0x60},
                                                  {"error-messages", 0x70},
                                                  {"buttons", 0x80},
                                                  {"language", 0},
                                                  {"welcome", 1},
                                                  {"licence", 2},
                                                  {"readme", 3},
                                                  {"destination", 6},
                                                  {"start-menu", 8},
                                                  {"ready", 9},
                                                  {"installing", 10},
                                                  {"finish", 11},
                                                  {"uninstaller", 12}};
    for (const auto& [name, table] : tables) {
        project += "[[texts]]\ntable = \"" + std::string(name) + "\"\nitem = 3\ntext = \"t-" +
                   name + "\"\n";
    }
    buildAndApply(project);
    if (HasFatalFailure()) return;

    ASSERT_EQ(s.registryEntries.count(), 7 + 5);
    for (int root = 0; root < 7; ++root) {
        const std::vector<std::string> fields = fieldsOf(s.registryEntries.get(root));
        // The number the engine gives the same name where it reads one (a previous location).
        EXPECT_EQ(fields.at(kRegistryRootField), std::to_string(registryRootNumber(roots[root])))
            << roots[root];
        EXPECT_EQ(registryRootNumber(roots[root]), root) << roots[root];
    }
    for (int i = 0; i < 5; ++i) {
        const std::vector<std::string> fields = fieldsOf(s.registryEntries.get(7 + i));
        EXPECT_EQ(fields.at(kRegistryTypeField), std::to_string(types[i].system)) << types[i].name;
        RegistryData data;
        const std::string value =
            fields.size() > kRegistryDataField ? fields[kRegistryDataField] : "";
        EXPECT_EQ(data.convert(types[i].system, value.c_str()), DataResult::converted)
            << types[i].name;
    }

    ASSERT_EQ(s.shortcutEntries.count(), 3);
    for (int i = 0; i < 3; ++i) {
        ShortcutRecord record;
        ASSERT_TRUE(readShortcutRecord(s.shortcutEntries.get(i), "C:\\P", record));
        EXPECT_EQ(record.showCommand, shows[i].second) << shows[i].first;
        EXPECT_EQ(std::string(record.linkPath()), "C:\\" + std::string(shows[i].first) + ".lnk");
    }

    // Programs without a "when" run after the installation; their stored form is what the
    // engine's program reader reads.
    const StringList& afterInstall = s.pageSlots[10].runPrograms;
    for (const auto& [name, mode] : windows) {
        bool found = false;
        for (int i = 0; i < afterInstall.count(); ++i) {
            StringList fields;
            ASSERT_TRUE(fields.create(15));
            splitFields(afterInstall.get(i), false, fields);
            ProgramRecord record = readProgramRecord(fields);
            if (std::string(record.program) != "window-" + std::string(name)) continue;
            found = true;
            EXPECT_EQ(record.window, mode) << name;
            EXPECT_TRUE(record.wait && record.runOnce) << name;
        }
        EXPECT_TRUE(found) << name;
    }
    for (const When& when : whens) {
        EXPECT_TRUE(holdsProgram(*when.list, "when-" + when.name)) << when.name;
    }

    for (const auto& [name, table] : tables) {
        const char* shown = text(table, 3);
        EXPECT_STREQ(shown ? shown : "(none)", ("t-" + std::string(name)).c_str()) << name;
    }
}
