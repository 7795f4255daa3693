// docs/image-format.md against the format's definitions in src/formats/: the page gives every
// constant it names in a table the constant's value, names every record type, stub header field,
// field of the field-string records and install log kind, and says of each record type the
// payload that the script writer really writes.
//
// The page is read as plain Markdown, fenced code skipped. A table row whose first cell is a
// number or a letter in backticks and whose second cell is a constant in backticks
// (| `0x12` | `kPackageOffsetField` | ...) states that constant's value. The rows under
// "### Record types" also give a record's payload (third cell) and its field count (fourth).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "formats/image_layout.h"
#include "formats/image_signature.h"
#include "formats/install_log.h"
#include "formats/journal.h"
#include "formats/languages.h"
#include "formats/package_format.h"
#include "formats/record_fields.h"
#include "formats/script_format.h"
#include "formats/script_writer.h"
#include "kelvara-build/project/project.h"
#include "markdown_tables.h"

using namespace kelvara;

namespace {

const std::filesystem::path kImageFormatPage = KELVARA_IMAGE_FORMAT_DOC;

// ---- The page ---------------------------------------------------------------------------------

struct Row {
    int line = 0;
    std::string section;             // the heading the row stands under
    std::vector<std::string> cells;  // trimmed
};

std::vector<Row> readRows(const std::filesystem::path& file) {
    std::vector<Row> rows;
    std::ifstream in(file);
    std::string line, section;
    int number = 0;
    bool inFence = false;
    while (std::getline(in, line)) {
        ++number;
        const std::string text = trim(line);
        if (text.rfind("```", 0) == 0) {
            inFence = !inFence;
            continue;
        }
        if (inFence) continue;
        if (text.rfind('#', 0) == 0) {
            section = trim(text.substr(text.find_first_not_of('#')));
        } else if (text.rfind('|', 0) == 0) {
            rows.push_back({number, section, cellsOf(text)});
        }
    }
    return rows;
}

// The text of a cell that is one code span ("`0x12`"), or empty.
std::string codeOf(const std::string& cell) {
    if (cell.size() < 3 || cell.front() != '`' || cell.back() != '`') return "";
    std::string code = cell.substr(1, cell.size() - 2);
    return code.find('`') == std::string::npos ? code : "";
}

bool isConstantName(const std::string& text) {
    if (text.size() < 2 || text[0] != 'k' || !std::isupper(static_cast<unsigned char>(text[1])))
        return false;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// A first cell's value: a decimal or 0x number, or one letter (an install log kind).
bool valueOf(const std::string& code, long long& value) {
    if (code.size() == 1 && std::isalpha(static_cast<unsigned char>(code[0]))) {
        value = code[0];
        return true;
    }
    const bool negative = !code.empty() && code[0] == '-';
    const std::string digits = negative ? code.substr(1) : code;
    const bool hex = digits.rfind("0x", 0) == 0 && digits.size() > 2;
    const std::string body = hex ? digits.substr(2) : digits;
    if (body.empty()) return false;
    for (char c : body) {
        if (!(hex ? std::isxdigit(static_cast<unsigned char>(c))
                  : std::isdigit(static_cast<unsigned char>(c))))
            return false;
    }
    value = std::stoll(body, nullptr, hex ? 16 : 10) * (negative ? -1 : 1);
    return true;
}

// ---- The code's constants ---------------------------------------------------------------------

struct Constant {
    const char* name;
    long long value;
};

Constant constantOf(const char* name, long long value) {
    return {name, value};
}

// The constant's name as written and its value, so that the two cannot disagree.
#define KELVARA_CONSTANT(name) constantOf(#name, static_cast<long long>(name))

// Every constant the page is to give in a table row. A constant added to one of these families
// in the code and not here goes undocumented unnoticed, so the families that grow (record types,
// fields, log kinds) are also counted against their ends below.
const std::vector<Constant>& documentedConstants() {
    static const std::vector<Constant> constants = {
        // The stub header.
        KELVARA_CONSTANT(kPackageOffsetField),
        KELVARA_CONSTANT(kScriptBytesField),
        KELVARA_CONSTANT(kWidePackageOffsetField),
        KELVARA_CONSTANT(kChecksumField),
        KELVARA_CONSTANT(kStubHeaderSize),
        KELVARA_CONSTANT(kChecksumStart),
        // File groups and entries.
        KELVARA_CONSTANT(kGroupEndOffsetField),
        KELVARA_CONSTANT(kGroupOverwriteModeField),
        KELVARA_CONSTANT(kGroupDecisionRuleField),
        KELVARA_CONSTANT(kGroupSharedField),
        KELVARA_CONSTANT(kGroupReservedField),
        KELVARA_CONSTANT(kGroupTargetFolderField),
        KELVARA_CONSTANT(kOverwriteAlways),
        KELVARA_CONSTANT(kOverwriteNewer),
        KELVARA_CONSTANT(kOverwriteNewerOrSame),
        KELVARA_CONSTANT(kOverwriteOlder),
        KELVARA_CONSTANT(kOverwriteNever),
        KELVARA_CONSTANT(kDecideByDate),
        KELVARA_CONSTANT(kDecideByVersion),
        KELVARA_CONSTANT(kDecideByVersionAndDate),
        KELVARA_CONSTANT(kEntryDepthSize),
        KELVARA_CONSTANT(kEntryFlagsSize),
        KELVARA_CONSTANT(kEntryFlagFile),
        KELVARA_CONSTANT(kEntryFlagCompressed),
        KELVARA_CONSTANT(kFilePartSize),
        KELVARA_CONSTANT(kFilePartAttributes),
        KELVARA_CONSTANT(kFilePartCreationTime),
        KELVARA_CONSTANT(kFilePartLastAccessTime),
        KELVARA_CONSTANT(kFilePartLastWriteTime),
        KELVARA_CONSTANT(kFilePartSizeHigh),
        KELVARA_CONSTANT(kFilePartSizeLow),
        KELVARA_CONSTANT(kFilePartVersionMs),
        KELVARA_CONSTANT(kFilePartVersionLs),
        KELVARA_CONSTANT(kFilePartStoredLength),
        KELVARA_CONSTANT(kEntryFlagInBlock),
        KELVARA_CONSTANT(kEntryFlagBlock),
        KELVARA_CONSTANT(kEntryFlagCondition),
        KELVARA_CONSTANT(kConditionPartComponents),
        KELVARA_CONSTANT(kConditionPartTasks),
        KELVARA_CONSTANT(kConditionPartSize),
        KELVARA_CONSTANT(kBlockPartMethod),
        KELVARA_CONSTANT(kBlockPartFilter),
        KELVARA_CONSTANT(kBlockPartProperty),
        KELVARA_CONSTANT(kBlockPartReserved),
        KELVARA_CONSTANT(kBlockPartContentLength),
        KELVARA_CONSTANT(kBlockPartPackedLength),
        KELVARA_CONSTANT(kBlockPartSize),
        KELVARA_CONSTANT(kBlockMethodLzma2),
        KELVARA_CONSTANT(kBlockFilterNone),
        KELVARA_CONSTANT(kBlockFilterX86),
        KELVARA_CONSTANT(kLargestBlockContent),
        // Record types.
        KELVARA_CONSTANT(kRecordEnd),
        KELVARA_CONSTANT(kRecordVariable),
        KELVARA_CONSTANT(kRecordPageFlags),
        KELVARA_CONSTANT(kRecordLicense),
        KELVARA_CONSTANT(kRecordReadme),
        KELVARA_CONSTANT(kRecordText),
        KELVARA_CONSTANT(kRecordLanguages),
        KELVARA_CONSTANT(kRecordBackground),
        KELVARA_CONSTANT(kRecordAccentColor),
        KELVARA_CONSTANT(kRecordSettings),
        KELVARA_CONSTANT(kRecordShortcut),
        KELVARA_CONSTANT(kRecordRegistry),
        KELVARA_CONSTANT(kRecordIni),
        KELVARA_CONSTANT(kRecordRunProgram),
        KELVARA_CONSTANT(kRecordCallDll),
        KELVARA_CONSTANT(kRecordAssociation),
        KELVARA_CONSTANT(kRecordRequirements),
        KELVARA_CONSTANT(kRecordBackgroundLine),
        KELVARA_CONSTANT(kRecordProductDetails),
        KELVARA_CONSTANT(kRecordArchitecture),
        KELVARA_CONSTANT(kArchitectureX86),
        KELVARA_CONSTANT(kArchitectureX64),
        KELVARA_CONSTANT(kArchitectureArm64),
        KELVARA_CONSTANT(kRecordScope),
        KELVARA_CONSTANT(kScopeMachine),
        KELVARA_CONSTANT(kScopeUser),
        KELVARA_CONSTANT(kScopeChoose),
        KELVARA_CONSTANT(kRecordComponent),
        KELVARA_CONSTANT(kRecordTask),
        KELVARA_CONSTANT(kRecordSetupType),
        KELVARA_CONSTANT(kRecordCondition),
        KELVARA_CONSTANT(kChoiceDefault),
        KELVARA_CONSTANT(kChoiceFixed),
        KELVARA_CONSTANT(kSetupTypeCustom),
        KELVARA_CONSTANT(kChoiceLimit),
        KELVARA_CONSTANT(kSetupTypeLimit),
        KELVARA_CONSTANT(kRecordCloseApplications),
        KELVARA_CONSTANT(kCloseApplicationsAsk),
        KELVARA_CONSTANT(kCloseApplicationsNever),
        KELVARA_CONSTANT(kCloseApplicationsForce),
        // Text tables and page slots.
        KELVARA_CONSTANT(kTableSetupMessages),
        KELVARA_CONSTANT(kTableErrorMessages),
        KELVARA_CONSTANT(kTableButtonLabels),
        KELVARA_CONSTANT(kPageLanguage),
        KELVARA_CONSTANT(kPageWelcome),
        KELVARA_CONSTANT(kPageLicense),
        KELVARA_CONSTANT(kPageReadme),
        KELVARA_CONSTANT(kPageComponents),
        KELVARA_CONSTANT(kPageScope),
        KELVARA_CONSTANT(kPageDestination),
        KELVARA_CONSTANT(kPageTasks),
        KELVARA_CONSTANT(kPageStartMenu),
        KELVARA_CONSTANT(kPageReady),
        KELVARA_CONSTANT(kPageInstalling),
        KELVARA_CONSTANT(kPageFinish),
        KELVARA_CONSTANT(kUninstallTextsSlot),
        // Fields of the field-string records.
        KELVARA_CONSTANT(kShortcutLinkPath),
        KELVARA_CONSTANT(kShortcutTarget),
        KELVARA_CONSTANT(kShortcutArguments),
        KELVARA_CONSTANT(kShortcutWorkingFolder),
        KELVARA_CONSTANT(kShortcutIconFile),
        KELVARA_CONSTANT(kShortcutIconIndex),
        KELVARA_CONSTANT(kShortcutShowCommand),
        KELVARA_CONSTANT(kShortcutHotKey),
        KELVARA_CONSTANT(kShortcutShared),
        KELVARA_CONSTANT(kRegistryRootField),
        KELVARA_CONSTANT(kRegistryKeyField),
        KELVARA_CONSTANT(kRegistryNameField),
        KELVARA_CONSTANT(kRegistryTypeField),
        KELVARA_CONSTANT(kRegistryDataField),
        KELVARA_CONSTANT(kRegistryViewField),
        KELVARA_CONSTANT(kRegString),
        KELVARA_CONSTANT(kRegExpandString),
        KELVARA_CONSTANT(kRegBinary),
        KELVARA_CONSTANT(kRegDword),
        KELVARA_CONSTANT(kRegMultiString),
        KELVARA_CONSTANT(kIniFileField),
        KELVARA_CONSTANT(kIniSectionField),
        KELVARA_CONSTANT(kIniKeyField),
        KELVARA_CONSTANT(kIniValueField),
        KELVARA_CONSTANT(kIniAppendField),
        KELVARA_CONSTANT(kRunProgramFile),
        KELVARA_CONSTANT(kRunProgramArguments),
        KELVARA_CONSTANT(kRunProgramWorkingFolder),
        KELVARA_CONSTANT(kRunProgramGroup),
        KELVARA_CONSTANT(kRunProgramWait),
        KELVARA_CONSTANT(kRunProgramOnce),
        KELVARA_CONSTANT(kRunProgramWindow),
        KELVARA_CONSTANT(kRunProgramSuccessCodes),
        KELVARA_CONSTANT(kCallDllFile),
        KELVARA_CONSTANT(kCallDllFunction),
        KELVARA_CONSTANT(kCallDllFirstArgument),
        KELVARA_CONSTANT(kCallDllSecondArgument),
        KELVARA_CONSTANT(kCallDllGroup),
        KELVARA_CONSTANT(kCallDllOnce),
        KELVARA_CONSTANT(kAssociationExtension),
        KELVARA_CONSTANT(kAssociationType),
        KELVARA_CONSTANT(kAssociationContentType),
        KELVARA_CONSTANT(kAssociationDescription),
        KELVARA_CONSTANT(kAssociationInfoTip),
        KELVARA_CONSTANT(kAssociationCommand),
        KELVARA_CONSTANT(kAssociationIcon),
        KELVARA_CONSTANT(kAssociationIconIndex),
        // Action groups.
        KELVARA_CONSTANT(kActionGroupUninstall),
        KELVARA_CONSTANT(kActionGroupStart),
        KELVARA_CONSTANT(kActionGroupFirstPage),
        KELVARA_CONSTANT(kActionGroupLastPage),
        KELVARA_CONSTANT(kActionGroupAfterInstall),
        KELVARA_CONSTANT(kActionGroupAfterFinish),
        // Install log kinds.
        KELVARA_CONSTANT(kLogFolder),
        KELVARA_CONSTANT(kLogFile),
        KELVARA_CONSTANT(kLogRegistryValue),
        KELVARA_CONSTANT(kLogUninstallProgram),
        KELVARA_CONSTANT(kLogRegistryKey),
        KELVARA_CONSTANT(kLogUninstallDllCall),
        KELVARA_CONSTANT(kLogSharedFile),
        KELVARA_CONSTANT(kLogShortcut),
        KELVARA_CONSTANT(kLogPreviousValue),
        KELVARA_CONSTANT(kLogPreviousIniEntry),
        KELVARA_CONSTANT(kLogReplacedFile),
        KELVARA_CONSTANT(kLogExistingShared),
        KELVARA_CONSTANT(kLogView),
        KELVARA_CONSTANT(kLogRunInfo),
        KELVARA_CONSTANT(kLogRunCompleted),
        KELVARA_CONSTANT(kLogUndone),
        KELVARA_CONSTANT(kLogRemovalFolder),
        KELVARA_CONSTANT(kLogPart),
        KELVARA_CONSTANT(kLogText),
    };
    return constants;
}

#undef KELVARA_CONSTANT

// ---- Record payloads as the script writer writes them -----------------------------------------

// Every number of a sample record is the sample of its width (or 1, where the writer writes a
// flag); every string is two or more lower-case letters. The samples' bytes are no letters, and
// no sample reads as another width's samples (A5 5A is no pair of A5 bytes, A5 5A 3C C3 no pair
// of A5 5A), so a field read with the wrong type or at the wrong place meets a value the writer
// did not write there.
constexpr std::uint8_t kSampleByte = 0xA5;
constexpr std::uint16_t kSample16 = 0x5AA5;
constexpr std::uint32_t kSample32 = 0xC33C5AA5;

class BytesSink final : public ByteSink {
  public:
    bool append(const void* data, std::size_t size) override {
        auto* begin = static_cast<const unsigned char*>(data);
        bytes.insert(bytes.end(), begin, begin + size);
        return true;
    }
    std::vector<unsigned char> bytes;
};

struct RecordSample {
    std::int32_t type;
    int fieldStringFields;  // 0: not a field-string record
    std::function<void(ScriptWriter&)> write;
};

int backgroundLineFields();

// One sample of each record type, in the order of their numbers.
std::vector<RecordSample> recordSamples() {
    auto stringRecord = [](std::int32_t type) {
        return [type](ScriptWriter& w) { w.stringRecord(type, "ab"); };
    };
    return {
        {kRecordVariable, 0, [](ScriptWriter& w) { w.variable("ab", "cde"); }},
        {kRecordPageFlags, 0,
         [](ScriptWriter& w) {
             std::uint8_t flags[kPageFlagsSize];
             for (std::uint8_t& flag : flags) flag = kSampleByte;
             w.pageFlags(flags);
         }},
        {kRecordLicense, 0, stringRecord(kRecordLicense)},
        {kRecordReadme, 0, stringRecord(kRecordReadme)},
        {kRecordText, 0,
         [](ScriptWriter& w) { w.text(kSample16, kSampleByte, kSampleByte, "ab"); }},
        {kRecordLanguages, 0,
         [](ScriptWriter& w) {
             const std::uint16_t numbers[] = {kSample16, kSample16, kSample16};
             w.languages(true, numbers, 3);
         }},
        {kRecordBackground, 0, [](ScriptWriter& w) { w.background(kSample32, kSample32); }},
        {kRecordAccentColor, 0, [](ScriptWriter& w) { w.accentColor(kSample32); }},
        {kRecordSettings, 0,
         [](ScriptWriter& w) {
             SettingsRecord s;
             s.shortName = "ab";
             s.productName = "abc";
             s.normalFont = "abcd";
             s.pageColor = s.frameColor = s.headerColor = kSample32;
             s.titleFont = "abcde";
             s.lookFlags = s.styleFlags = s.linkFlag = kSampleByte;
             s.previousLocation = "ab";
             s.viewFile = "abc";
             s.runProgram = "abcd";
             w.settings(s);
         }},
        {kRecordShortcut, kShortcutShared + 1, stringRecord(kRecordShortcut)},
        {kRecordRegistry, kRegistryViewField + 1, stringRecord(kRecordRegistry)},
        {kRecordIni, kIniAppendField + 1, stringRecord(kRecordIni)},
        {kRecordRunProgram, kRunProgramSuccessCodes + 1, stringRecord(kRecordRunProgram)},
        {kRecordCallDll, kCallDllOnce + 1, stringRecord(kRecordCallDll)},
        {kRecordAssociation, kAssociationIconIndex + 1, stringRecord(kRecordAssociation)},
        {kRecordRequirements, 0,
         [](ScriptWriter& w) { w.requirements("ab", "abc", "abcd", "abcde", true); }},
        {kRecordBackgroundLine, backgroundLineFields(), stringRecord(kRecordBackgroundLine)},
        {kRecordProductDetails, 0,
         [](ScriptWriter& w) { w.productDetails(false, "ab", "abc", "abcd", "abcde"); }},
        {kRecordArchitecture, 0,
         [](ScriptWriter& w) { w.byteRecord(kRecordArchitecture, kSampleByte); }},
        {kRecordScope, 0, [](ScriptWriter& w) { w.scope(kSampleByte, kSampleByte); }},
        {kRecordCloseApplications, 0,
         [](ScriptWriter& w) { w.byteRecord(kRecordCloseApplications, kSampleByte); }},
        {kRecordComponent, 0,
         [](ScriptWriter& w) {
             w.component(kSampleByte, kSampleByte, kSample32, "ab", "abc", "abcd");
         }},
        {kRecordTask, 0,
         [](ScriptWriter& w) { w.task(kSampleByte, kSampleByte, "ab", "abc", "abcd"); }},
        {kRecordSetupType, 0,
         [](ScriptWriter& w) { w.setupType(kSampleByte, kSample32, "ab", "abc"); }},
        {kRecordCondition, 0, [](ScriptWriter& w) { w.condition(kSample32, kSample32); }},
    };
}

// The fields of the background line the builder writes (their places are private to the
// wizard's reader): the quoted text, then one field per comma after its closing quote.
int backgroundLineFields() {
    kelvara::build::Diagnostics diagnostics;
    const kelvara::build::Project project = kelvara::build::parseProject(
        "[product]\nname = \"Example\"\n[look.background]\ntop = \"#000080\"\n"
        "bottom = \"#000000\"\n[[look.background.lines]]\ntext = \"a, b\"\n",
        kImageFormatPage.parent_path() / "example.toml", {}, diagnostics);
    if (diagnostics.failed() || !project.background || project.background->lines.empty()) return -1;
    const std::string& fields = project.background->lines.front().fields;
    const std::size_t close = fields.find('"', fields.find('"') + 1);
    if (close == std::string::npos) return -1;
    int count = 1;
    for (std::size_t i = close; i < fields.size(); ++i) count += fields[i] == ',';
    return count;
}

struct PayloadField {
    std::string type;    // "str", "u8", "u16", "u32"
    int count = 1;       // "u8[12]": 12
    bool toEnd = false;  // "u16…": as many as the payload holds
};

// The fields of a payload cell such as "`u8, u16…`", or false when it is not one.
bool payloadFields(const std::string& cell, std::vector<PayloadField>& fields,
                   std::string& problem) {
    std::string text;
    for (char c : cell) {
        if (c != '`') text += c;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        std::string token = trim(
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        PayloadField field;
        for (const char* ellipsis : {"…", "..."}) {
            const std::string mark = ellipsis;
            if (token.size() > mark.size() &&
                token.compare(token.size() - mark.size(), mark.size(), mark) == 0) {
                field.toEnd = true;
                token.erase(token.size() - mark.size());
            }
        }
        if (std::size_t bracket = token.find('['); bracket != std::string::npos) {
            if (token.back() != ']') {
                problem = "'" + token + "' has no closing bracket";
                return false;
            }
            field.count = std::stoi(token.substr(bracket + 1));
            token.erase(bracket);
        }
        if (token != "str" && token != "u8" && token != "u16" && token != "u32") {
            problem = "'" + token + "' is not a payload field type (str, u8, u16, u32)";
            return false;
        }
        field.type = token;
        fields.push_back(field);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

// Reads a sample payload by the page's fields; empty when they describe it, else why not.
std::string readSample(const std::vector<PayloadField>& fields, const unsigned char* payload,
                       std::size_t length) {
    std::size_t at = 0;
    auto number = [&](int size, std::string& problem) {
        if (length - at < static_cast<std::size_t>(size)) {
            problem = "the payload ends before a u" + std::to_string(size * 8);
            return false;
        }
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = value << 8 | payload[at + i];
        const std::uint32_t sample = size == 1 ? kSampleByte : size == 2 ? kSample16 : kSample32;
        at += size;
        if (value != sample && value != 1) {
            problem = "a u" + std::to_string(size * 8) + " reads " + std::to_string(value) +
                      ", which the writer did not write as a number there";
            return false;
        }
        return true;
    };
    auto string = [&](std::string& problem) {
        std::size_t end = at;
        while (end < length && payload[end] >= 'a' && payload[end] <= 'z') ++end;
        if (end - at < 2 || end == length || payload[end] != 0) {
            problem = "no string of the writer's stands at payload offset " + std::to_string(at);
            return false;
        }
        at = end + 1;
        return true;
    };
    auto one = [&](const PayloadField& field, std::string& problem) {
        if (field.type == "str") return string(problem);
        return number(field.type == "u8" ? 1 : field.type == "u16" ? 2 : 4, problem);
    };
    std::string problem;
    for (const PayloadField& field : fields) {
        if (field.toEnd) {
            if (at == length) return "the payload holds no item of the list";
            while (at < length) {
                if (!one(field, problem)) return problem;
            }
            continue;
        }
        for (int i = 0; i < field.count; ++i) {
            if (!one(field, problem)) return problem;
        }
    }
    if (at != length) {
        return std::to_string(length - at) + " bytes of the payload are left after its fields";
    }
    return "";
}

int fieldCountOf(const std::vector<PayloadField>& fields) {
    int count = 0;
    for (const PayloadField& field : fields) count += field.toEnd ? 1 : field.count;
    return count;
}

}  // namespace

TEST(ImageFormatDoc, EveryConstantInATableHasItsValue) {
    ASSERT_TRUE(std::filesystem::exists(kImageFormatPage)) << kImageFormatPage;
    std::map<std::string, long long> known;
    for (const Constant& constant : documentedConstants()) known[constant.name] = constant.value;

    std::set<std::string> documented;
    for (const Row& row : readRows(kImageFormatPage)) {
        if (row.cells.size() < 2) continue;
        long long value = 0;
        const std::string name = codeOf(row.cells[1]);
        if (!valueOf(codeOf(row.cells[0]), value) || !isConstantName(name)) continue;
        auto found = known.find(name);
        if (found == known.end()) {
            ADD_FAILURE() << "line " << row.line << ": " << name
                          << " is not a constant this test knows; add it to "
                             "documentedConstants(), or name one the code has";
            continue;
        }
        documented.insert(name);
        EXPECT_EQ(value, found->second)
            << "line " << row.line << " (" << row.section << "): " << name << " is "
            << found->second << " in the code, the page says " << row.cells[0];
    }
    for (const Constant& constant : documentedConstants()) {
        EXPECT_TRUE(documented.count(constant.name))
            << constant.name << " (" << constant.value << ") has no row in " << kImageFormatPage;
    }
}

TEST(ImageFormatDoc, ConstantFamiliesAreComplete) {
    // The families that grow and whose ends the code names: a record type or a field added to
    // the code and not to documentedConstants() (and so not to the page) fails here. (The install
    // log's kinds have no such end in the code.)
    std::set<long long> types;
    int shortcut = 0, registry = 0, ini = 0, program = 0, dll = 0, association = 0;
    for (const Constant& constant : documentedConstants()) {
        const std::string name = constant.name;
        auto is = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
        if (is("kRecord")) types.insert(constant.value);
        shortcut += is("kShortcut");
        registry += is("kRegistry") && name.find("Field") != std::string::npos;
        ini += is("kIni") && name.find("Field") != std::string::npos;
        program += is("kRunProgram");
        dll += is("kCallDll");
        association += is("kAssociation");
    }
    for (std::int32_t type = kFirstRecordType; type <= kLastRecordType; ++type) {
        EXPECT_TRUE(types.count(type)) << "record type " << type << " is not in the test's list";
    }
    EXPECT_TRUE(types.count(kRecordEnd));
    EXPECT_EQ(types.size(), static_cast<std::size_t>(kLastRecordType - kFirstRecordType + 2));
    EXPECT_EQ(shortcut, kShortcutShared + 1);
    EXPECT_EQ(registry, kRegistryViewField + 1);
    EXPECT_EQ(ini, kIniAppendField + 1);
    EXPECT_EQ(program, kRunProgramSuccessCodes + 1);
    EXPECT_EQ(dll, kCallDllOnce + 1);
    EXPECT_EQ(association, kAssociationIconIndex + 1);
}

TEST(ImageFormatDoc, RecordTableGivesEveryTypeWithItsPayloadAndFieldCount) {
    std::map<long long, Row> rows;  // by type
    for (const Row& row : readRows(kImageFormatPage)) {
        if (row.section != "Record types" || row.cells.size() < 5) continue;
        long long type = 0;
        if (!valueOf(codeOf(row.cells[0]), type)) continue;
        EXPECT_FALSE(rows.count(type)) << "line " << row.line << ": type " << type << " again";
        rows[type] = row;
    }
    ASSERT_FALSE(rows.empty()) << "no record rows under '### Record types' in " << kImageFormatPage;

    auto end = rows.find(kRecordEnd);
    ASSERT_NE(end, rows.end()) << "the end record has no row";
    EXPECT_EQ(end->second.cells[3], "0") << "line " << end->second.line << ": the end record";
    {
        BytesSink sink;
        ScriptWriter writer(sink);
        writer.end();
        EXPECT_EQ(sink.bytes.size(), kEndRecordSize);
    }

    const std::vector<RecordSample> samples = recordSamples();
    std::set<std::int32_t> sampled;
    for (const RecordSample& sample : samples) sampled.insert(sample.type);
    for (std::int32_t type = kFirstRecordType; type <= kLastRecordType; ++type) {
        EXPECT_TRUE(sampled.count(type))
            << "record type " << type << " needs a sample in recordSamples()";
    }
    for (const RecordSample& sample : samples) {
        SCOPED_TRACE("record type " + std::to_string(sample.type));
        auto found = rows.find(sample.type);
        if (found == rows.end()) {
            ADD_FAILURE() << "record type " << sample.type
                          << " has no row under '### Record types'";
            continue;
        }
        const Row& row = found->second;
        BytesSink sink;
        ScriptWriter writer(sink);
        sample.write(writer);
        ASSERT_TRUE(writer.ok());
        ScriptRecord record;
        RecordCursor cursor(sink.bytes.data(), sink.bytes.size());
        ASSERT_TRUE(cursor.next(record));
        ASSERT_EQ(record.type, sample.type);

        long long fields = -1;
        const bool counted = valueOf(row.cells[3], fields);
        EXPECT_TRUE(counted) << "line " << row.line << ": the field count '" << row.cells[3]
                             << "' is not a number";
        if (sample.fieldStringFields != 0) {
            EXPECT_NE(row.cells[2].find("field string"), std::string::npos)
                << "line " << row.line << ": the payload is a field string";
            EXPECT_EQ(fields, sample.fieldStringFields)
                << "line " << row.line << ": the field string's fields in the code";
            EXPECT_EQ(readSample({{"str"}}, record.payload, record.length), "");
            continue;
        }
        std::vector<PayloadField> layout;
        std::string problem;
        if (!payloadFields(row.cells[2], layout, problem)) {
            ADD_FAILURE() << "line " << row.line << ": payload '" << row.cells[2]
                          << "': " << problem;
            continue;
        }
        EXPECT_EQ(fields, fieldCountOf(layout))
            << "line " << row.line << ": the field count is not that of the payload column";
        EXPECT_EQ(readSample(layout, record.payload, record.length), "")
            << "line " << row.line << ": the payload '" << row.cells[2]
            << "' is not what ScriptWriter writes for type " << sample.type;
    }
    for (const auto& [type, row] : rows) {
        EXPECT_TRUE(type == kRecordEnd || (type >= kFirstRecordType && type <= kLastRecordType))
            << "line " << row.line << ": type " << type << " is not a record type of the code";
    }
}
