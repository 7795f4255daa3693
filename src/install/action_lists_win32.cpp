// The action groups of a run and the uninstaller's logged actions, on the runners of
// program_runner_win32.cpp and dll_call_win32.cpp.
#include "install/action_lists.h"

#include "install/action_runners_win32.h"
#include "runtime/string_list.h"

namespace kelvara {
namespace {

void runProgramItem(const StringList& fields, StringList* list, int* index) {
    runProgram(readProgramRecord(fields), list, index);
}

void callDllItem(const StringList& fields, StringList* list, int* index) {
    callDllFunction(readDllCallRecord(fields), list, index);
}

}  // namespace

void runActionGroup(int group) {
    StringList* programs;
    StringList* dllCalls;
    if (!actionGroupLists(group, &programs, &dllCalls)) return;
    runActionList(*programs, runProgramItem);
    runActionList(*dllCalls, callDllItem);
}

void runLoggedProgram(const StringList& fields) {
    runProgram(readLoggedProgram(fields), nullptr, nullptr);
}

void callLoggedDll(const StringList& fields) {
    callDllFunction(readLoggedDllCall(fields), nullptr, nullptr);
}

void openThroughShell(const char* document, const char* workingFolder) {
    ProgramRecord record;
    record.program = "open";
    record.arguments = document ? document : "";
    record.workingFolder = workingFolder ? workingFolder : "";
    record.wait = false;
    record.runOnce = false;
    runProgram(record, nullptr, nullptr);
}

}  // namespace kelvara
