#include "worker/action_records.h"

#include <cstring>

#include "formats/record_fields.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"
#include "runtime/text_case.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

// Field positions of the stored forms: the record's, with its group field left out.
static_assert(kRunProgramGroup == kRunProgramWorkingFolder + 1 &&
                  kCallDllGroup == kCallDllSecondArgument + 1,
              "the fields before the group keep their places");
constexpr int kProgramField = kRunProgramFile;
constexpr int kArgumentsField = kRunProgramArguments;
constexpr int kWorkingFolderField = kRunProgramWorkingFolder;
constexpr int kWaitField = kRunProgramWait - 1;
constexpr int kProgramRunOnceField = kRunProgramOnce - 1;
constexpr int kWindowModeField = kRunProgramWindow - 1;
constexpr int kSuccessCodesField = kRunProgramSuccessCodes - 1;
constexpr int kDllField = kCallDllFile;
constexpr int kFunctionField = kCallDllFunction;
constexpr int kFirstArgumentField = kCallDllFirstArgument;
constexpr int kSecondArgumentField = kCallDllSecondArgument;
constexpr int kDllRunOnceField = kCallDllOnce - 1;

constexpr const char* kRegistrationEntryPoints[] = {"DllRegisterServer", "DllUnregisterServer",
                                                    "TLBRegister", "TLBUnregister"};

const char* field(const StringList& fields, int i) {
    const char* text = fields.get(i);
    return text ? text : "";
}

// A numeric flag: nonzero is set; an empty field gives the default.
bool flagField(const StringList& fields, int i, bool whenEmpty) {
    const char* text = field(fields, i);
    return *text ? parseNumber(text) != 0 : whenEmpty;
}

WindowMode windowMode(const char* text) {
    switch (parseNumber(text)) {
        case kWindowModeMinimized:
            return WindowMode::minimizedNoActivate;
        case kWindowModeMaximized:
            return WindowMode::maximized;
        default:
            return WindowMode::normal;
    }
}

bool isSlash(char c) {
    return c == '\\' || c == '/';
}

// A root ("C:\", "\") loses nothing: without its slash it would name the drive's current
// folder, or no folder at all.
bool isRoot(const char* folder, std::size_t length) {
    return length == 1 || (length == 3 && folder[1] == ':');
}

}  // namespace

ProgramRecord readProgramRecord(const StringList& fields) {
    ProgramRecord record;
    record.program = field(fields, kProgramField);
    record.arguments = field(fields, kArgumentsField);
    record.workingFolder = field(fields, kWorkingFolderField);
    record.wait = flagField(fields, kWaitField, true);
    record.runOnce = flagField(fields, kProgramRunOnceField, true);
    record.window = windowMode(field(fields, kWindowModeField));
    record.successCodes = field(fields, kSuccessCodesField);
    return record;
}

ProgramRecord readLoggedProgram(const StringList& fields) {
    ProgramRecord record = readProgramRecord(fields);
    record.runOnce = false;
    record.window = WindowMode::normal;
    return record;
}

DllCallRecord readDllCallRecord(const StringList& fields) {
    DllCallRecord record;
    record.dll = field(fields, kDllField);
    record.function = field(fields, kFunctionField);
    record.first = field(fields, kFirstArgumentField);
    record.second = field(fields, kSecondArgumentField);
    record.argumentCount = !*record.first ? 0 : !*record.second ? 1 : 2;
    record.runOnce = flagField(fields, kDllRunOnceField, true);
    return record;
}

DllCallRecord readLoggedDllCall(const StringList& fields) {
    DllCallRecord record = readDllCallRecord(fields);
    record.runOnce = false;
    return record;
}

bool isSuccessCode(const char* successCodes, std::uint32_t code) {
    for (const char* p = successCodes; p && *p;) {
        const char* bar = std::strchr(p, '|');
        const std::size_t length = bar ? static_cast<std::size_t>(bar - p) : std::strlen(p);
        char number[24] = {};
        if (length < sizeof number) {
            std::memcpy(number, p, length);
            if (static_cast<std::uint32_t>(parseNumber(number)) == code) return true;
        }
        p = bar ? bar + 1 : p + length;
    }
    return false;
}

bool asksForRestart(std::uint32_t code) {
    return code == 3010 || code == 1641;
}

bool isShellOpen(const char* program) {
    return program && compareTextNoCase(program, "open") == 0;
}

bool isRegistrationEntryPoint(const char* function) {
    if (!function) return false;
    for (const char* name : kRegistrationEntryPoints) {
        if (std::strcmp(function, name) == 0) return true;
    }
    return false;
}

char* programCommandLine(const char* program, const char* arguments) {
    return strConcat5("\"", program, "\" ", arguments);
}

char* trimmedWorkingFolder(const char* folder) {
    if (!folder || !*folder) return nullptr;
    std::size_t length = std::strlen(folder);
    if (isSlash(folder[length - 1]) && !isRoot(folder, length)) --length;
    char* trimmed = strDupExtra(folder, 0);
    if (trimmed) trimmed[length] = '\0';
    return trimmed;
}

bool actionGroupLists(int group, StringList** programs, StringList** dllCalls) {
    SetupState& s = setupState;
    *programs = *dllCalls = nullptr;
    if (group == kActionGroupStart) {
        *programs = &s.groupZeroPrograms;
        *dllCalls = &s.groupZeroDllCalls;
    } else if (group > kActionGroupStart && group <= kActionGroupLast) {
        *programs = &s.pageSlots[group - 1].runPrograms;
        *dllCalls = &s.pageSlots[group - 1].dllCalls;
    }
    return *programs != nullptr;
}

bool runActionList(StringList& list, ActionRunner run) {
    StringList fields;  // this walk's own: the uninstall thread may split lines meanwhile
    if (!fields.create(kFieldCount)) return true;
    for (int index = 0; index < list.count(); ++index) {
        HeapString expanded(expandVariables(list.get(index)));
        if (!expanded) continue;
        splitFields(expanded.get(), false, fields);
        if (!run(fields, &list, &index)) return false;
    }
    return true;
}

void removeRunOnce(StringList* list, int* index) {
    if (!list || !index || *index < 0 || *index >= list->count()) return;
    list->removeAt((*index)--);
}

}  // namespace kelvara
