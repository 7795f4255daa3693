// The builder's project reader over any TOML text. A project it accepts is turned into a setup
// script by the builder, and the engine must read that script back as the project says: every
// record whole, the end record reached, the product, pages, languages, licence, variables and
// entries as written. The project lives in a temporary folder with the files its seeds name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/script_format.h"
#include "formats/variables.h"
#include "fuzz_support.h"
#include "install/install_state.h"
#include "kelvara-build/cli/dump.h"
#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/image/script_builder.h"
#include "kelvara-build/project/project.h"
#include "setup/script_records.h"

using namespace kelvara;
namespace fs = std::filesystem;

namespace {

// A folder of its own under the system's temporary folder, made once, with the files and
// folders the seed projects name.
const fs::path& projectFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "kelvara-project-fuzz-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(pattern.data()));
        fs::path made = pattern;
        fs::create_directories(made / "files" / "docs");
        fs::create_directories(made / "payload" / "bin");
        std::ofstream(made / "files" / "docs" / "readme.txt") << "Read me.\n";
        std::ofstream(made / "licence.txt") << "Terms: use it well.\n";
        std::ofstream(made / "readme.txt") << "Caf\xC3\xA9\n";
        std::atexit([] { fs::remove_all(projectFolder()); });
        return made;
    }();
    return folder;
}

// The reader opens the licence and readme files a project names, wherever they are: no input
// may name a device or a system folder's file that never ends or blocks. The names are spelt in
// the text itself (TOML can spell a letter otherwise only with a \u escape).
bool namesNoSystemFile(const std::string& text) {
    for (const char* word : {"/dev", "/proc", "/sys", "\\u", "\\U"}) {
        if (text.find(word) != std::string::npos) return false;
    }
    return true;
}

int countType(const build::Project& p, std::int32_t type) {
    int n = 0;
    for (const build::FieldRecord& entry : p.entries) n += entry.type == type;
    return n;
}

void checkEngineReading(const build::Project& project, const std::vector<unsigned char>& script) {
    // The dump's reading: every record whole and the end record last.
    std::vector<std::string> lines = build::describeScript(script.data(), script.size());
    FUZZ_CHECK(!lines.empty() && lines.back() == "end");
    // Those two readings begin with the record's type number; a record the dump reads starts
    // with its name, whatever its text holds.
    for (const std::string& line : lines) FUZZ_CHECK(line.rfind("type ", 0) != 0);

    fuzz::FreshSetupState run;
    FUZZ_CHECK(applyScript(script.data(), script.size()));
    const SetupState& s = setupState;
    FUZZ_CHECK(s.productName.get() && project.name == s.productName.get());
    FUZZ_CHECK(s.productShortName.get() && project.shortName == s.productShortName.get());
    FUZZ_CHECK(s.dialogSetOffset == (project.compactLayout ? kCompactLayout : kStandardLayout));
    for (int page = 0; page < kWizardPageCount; ++page) {
        FUZZ_CHECK(s.pageSlots[page].enabled == (project.pages[page] != 0));
    }
    FUZZ_CHECK(s.languageCount == static_cast<int>(project.languages.size()));
    for (int i = 0; i < s.languageCount; ++i) FUZZ_CHECK(s.languageList[i] == project.languages[i]);
    if (project.licenseText)
        FUZZ_CHECK(s.licenseText.get() && *project.licenseText == s.licenseText.get());
    if (project.readmeText)
        FUZZ_CHECK(s.readmeText.get() && *project.readmeText == s.readmeText.get());
    for (const build::Variable& variable : project.variables) {
        FUZZ_CHECK(lookupVariable(variable.name.c_str()));
    }
    FUZZ_CHECK(s.shortcutEntries.count() == countType(project, kRecordShortcut));
    FUZZ_CHECK(s.registryEntries.count() == countType(project, kRecordRegistry));
    FUZZ_CHECK(s.iniEntries.count() == countType(project, kRecordIni));
    FUZZ_CHECK(s.associationEntries.count() == countType(project, kRecordAssociation));
    FUZZ_CHECK(s.backgroundEnabled == project.background.has_value());
    FUZZ_CHECK(s.createUninstaller == project.uninstaller &&
               installState.restartNeeded == project.restart);
    FUZZ_CHECK(s.adminRequired == project.requirements.administrator);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!namesNoSystemFile(text)) return -1;
    build::Diagnostics diagnostics("project.toml");
    build::Project project =
        build::parseProject(text, projectFolder() / "project.toml", {}, diagnostics);
    if (diagnostics.failed()) {
        // Every refusal names the file and says why.
        for (const std::string& error : diagnostics.errors()) {
            FUZZ_CHECK(error.rfind("project.toml", 0) == 0 && error.size() > 14);
        }
        return 0;
    }
    FUZZ_CHECK(!project.name.empty());
    build::Diagnostics scriptDiagnostics("project.toml");
    std::vector<unsigned char> script = build::buildScript(project, scriptDiagnostics);
    if (scriptDiagnostics.failed()) return 0;
    checkEngineReading(project, script);
    return 0;
}
