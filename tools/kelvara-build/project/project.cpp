// The project file reader: runs the readers of the file's tables (project_parser.h) in order,
// then checks what they read against each other. Names become the engine's numbers there, and
// every value the engine's formats cannot carry is refused with its line; the entries that
// become records are read by the entry reader.
#include "kelvara-build/project/project.h"

#include <vector>
#include <toml++/toml.h>

#include "formats/folder_token_names.h"
#include "formats/script_format.h"
#include "kelvara-build/common/file_bytes.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/ascii_toml.h"
#include "kelvara-build/project/entry_reader.h"
#include "kelvara-build/project/folder_token_check.h"
#include "kelvara-build/project/project_names.h"
#include "kelvara-build/project/project_parser.h"
#include "kelvara-build/project/table_reader.h"
#include "kelvara-build/project/toml_errors.h"
#include "runtime/registry_roots.h"

namespace kelvara::build {

void ProjectParser::parse(const toml::table& root, const Definitions& definitions) {
    encoding(root);
    TableReader top(root, kTopLevel, d_, p_.encoding, keys_);
    // [product] uses the project's variables, and the builder's own defaults use its names.
    variables(top);
    applyDefinitions(definitions);
    product(top);
    look(top);
    pages(top);
    languages(top);
    if (const toml::node* node = top.node("texts")) texts(*node);
    defaultVariables();
    choices(top);
    if (const toml::node* node = top.node("files")) fileGroups(*node);
    for (const char* kind : entryKinds()) {
        if (const toml::node* node = top.node(kind)) {
            eachTable(*node, kind,
                      [&](const toml::table& t) { readEntry(p_, d_, kind, t, keys_); });
        }
    }
    install(top);
    startMenu(top);
    finish(top);
    requirements(top);
    checkConsistency();
}

namespace {

// The name of a 32-bit place a text writes into, or null: what a 64-bit product names by
// mistake when its project was made for an x86 one.
const char* thirtyTwoBitPlace(const std::string& text) {
    const std::string lowered = lower(text);
    if (lowered.find("program files (x86)") != std::string::npos) return "Program Files (x86)";
    if (lowered.find("wow6432node") != std::string::npos) return "WOW6432Node";
    return nullptr;
}

// A place a user without administrator rights cannot write to, whichever the scope: a product
// installed for the current user alone may not put anything there.
const char* machineFolderIn(const std::string& text) {
    return machineOnlyTokenIn(text.c_str());
}

// The root field of a registry record's field string: the text before its first comma.
std::string rootField(const std::string& fields) {
    return fields.substr(0, fields.find(','));
}

}  // namespace

// A product installed for the current user alone writes nothing that needs an administrator:
// what it would write into the machine's places is refused here, where the builder can tell.
void ProjectParser::checkUserScope() {
    if (p_.scope != kScopeUser) return;
    const std::string machine =
        "a product installed for the current user alone (scope = "
        "\"user\") ";
    for (const FileGroup& group : p_.fileGroups) {
        if (const char* token = machineFolderIn(group.targetFolder))
            d_.error(group.line, machine + "cannot install files into " + token);
    }
    const std::string hklm = std::to_string(kRootNumberHklm);
    for (const FieldRecord& entry : p_.entries) {
        if (entry.type == kRecordRegistry && rootField(entry.fields) == hklm) {
            d_.error(entry.line, machine + "cannot write HKLM; HKA is HKCU for it");
        }
        if (entry.type == kRecordShortcut || entry.type == kRecordIni) {
            if (const char* token = machineFolderIn(rootField(entry.fields)))
                d_.error(entry.line, machine + "cannot write into " + token);
        }
    }
    if (p_.requirements.administrator) d_.error(0, machine + "cannot require administrator rights");
}

// A 64-bit product installs in the native places; a text naming a 32-bit one by name puts that
// part among the 32-bit programs. Told, not refused: a product may mean it.
void ProjectParser::warnOfThirtyTwoBitPlaces() {
    if (p_.architecture == kArchitectureX86) return;
    auto check = [this](int line, const std::string& text) {
        if (const char* place = thirtyTwoBitPlace(text)) {
            d_.warning(line, std::string("this 64-bit product names the 32-bit place '") + place +
                                 "'; <ProgramFiles> and the registry's own view are the native "
                                 "ones");
        }
    };
    for (const Variable& v : p_.variables) check(v.line, v.value);
    for (const FileGroup& group : p_.fileGroups) check(group.line, group.targetFolder);
    for (const FieldRecord& entry : p_.entries) check(entry.line, entry.fields);
    for (const std::string* text : {&p_.previousLocation, &p_.finishRun, &p_.finishView})
        check(0, *text);
}

void ProjectParser::checkConsistency() {
    warnOfUndefinedVariables();
    warnOfThirtyTwoBitPlaces();
    warnOfUnknownFolderTokens(p_, d_);
    checkUserScope();
    if (p_.pages[kPageLicense] && !p_.licenseText && !licenseNamed_) {
        d_.error(pagesLine_, "the licence page is shown but [pages] names no 'licence' file");
    }
    if (p_.pages[kPageReadme] && !p_.readmeText && !readmeNamed_) {
        d_.error(pagesLine_, "the readme page is shown but [pages] names no 'readme' file");
    }
    // The person chooses on the scope page, which only a product that lets one choose has; the
    // engine leaves it out where the command line or an earlier installation decided.
    if (p_.pages[kPageScope] && p_.scope != kScopeChoose) {
        d_.error(pagesLine_, "the scope page is shown only for scope = \"choose\"");
    }
    if (p_.scope == kScopeChoose) p_.pages[kPageScope] = 1;
    checkChoicePages();
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

const Variable* findVariable(const std::vector<Variable>& variables, const std::string& name) {
    const std::string key = lower(name);
    for (const Variable& variable : variables) {
        if (lower(variable.name) == key) return &variable;
    }
    return nullptr;
}

Project parseProject(const std::string& text, const std::filesystem::path& file,
                     const Definitions& definitions, Diagnostics& diagnostics, KeyListener* keys) {
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
        const TomlError plain = plainTomlError(text, std::string(error.description()),
                                               static_cast<int>(error.source().begin.line));
        diagnostics.error(plain.line, plain.message);
        return project;
    }
    ProjectParser(project, diagnostics, keys).parse(root, definitions);
    return project;
}

Project readProject(const std::filesystem::path& file, const Definitions& definitions,
                    Diagnostics& diagnostics) {
    std::optional<std::vector<unsigned char>> text = readFileBytes(file);
    if (!text) {
        diagnostics.error(0, "cannot read the project file");
        return Project{};
    }
    return parseProject(std::string(text->begin(), text->end()), file, definitions, diagnostics);
}

}  // namespace kelvara::build
