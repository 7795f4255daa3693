// The action groups of a run and the uninstaller's logged actions, on the runners of
// program_runner_win32.cpp and dll_call_win32.cpp.
#include "install/action_lists.h"

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/setup_state.h"
#include "install/install_messages.h"
#include "install/install_state.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/string_list.h"
#include "worker/action_runners_win32.h"

namespace kelvara {
namespace {

constexpr UINT kQuestion = MB_YESNO | MB_ICONERROR;

HWND questionOwner() {
    const RunEnvironment& run = runEnvironment;
    return static_cast<HWND>(run.wizardDialog ? run.wizardDialog : run.ownerWindow);
}

// A failing action is a failing step of the run: its message asks whether to go on (Yes: the
// run ends with errors) or not (No: the run ends, and what it installed is rolled back where it
// can be). A quiet run takes No. True to go on.
bool goOnAfterFailure(const ActionResult& result, const char* subject, const char* function) {
    SetupState& s = setupState;
    installState.installSucceeded = false;
    const char* caption = s.setupCaption.get();
    HWND owner = questionOwner();
    int answer = IDNO;
    switch (result.failure) {
        case ActionFailure::notStarted:
            answer = messageBoxFormat(owner, caption, text(kMsgProgramNotStarted), subject,
                                      systemErrorText(result.error), kQuestion);
            break;
        case ActionFailure::exitCode: {
            char code[12];
            ::wsprintfA(code, "%lu", result.exitCode);
            answer =
                messageBoxFormat(owner, caption, text(kMsgProgramFailed), subject, code, kQuestion);
            break;
        }
        case ActionFailure::registration: {
            // The component's name goes in front of the message.
            HeapString message(strConcat5(subject, text(kMsgNotRegistered)));
            answer =
                messageBoxFormat(owner, caption, message ? message.get() : "", nullptr, kQuestion);
            break;
        }
        case ActionFailure::notLoaded:
        case ActionFailure::noFunction:
            answer = messageBoxFormat(owner, caption, text(kMsgDllCallFailed), function, subject,
                                      systemErrorText(result.error), kQuestion);
            break;
        case ActionFailure::none:
            return true;
    }
    return answer == IDYES;
}

// A program that asks for a restart (3010, 1641 among its success codes) gets one, as the
// script's restart switch would.
void noteRestart(const ActionResult& result) {
    if (!result.restartAsked) return;
    installState.restartNeeded = true;
    installState.restartChosen = true;
}

bool runProgramItem(const StringList& fields, StringList* list, int* index) {
    const ProgramRecord record = readProgramRecord(fields);
    const ActionResult result = runProgram(record, list, index);
    noteRestart(result);
    return result.failure == ActionFailure::none ||
           goOnAfterFailure(result, record.program, nullptr);
}

bool callDllItem(const StringList& fields, StringList* list, int* index) {
    const DllCallRecord record = readDllCallRecord(fields);
    const ActionResult result = callDllFunction(record, list, index);
    return result.failure == ActionFailure::none ||
           goOnAfterFailure(result, record.dll, record.function);
}

}  // namespace

bool runActionGroup(int group) {
    StringList* programs;
    StringList* dllCalls;
    if (!actionGroupLists(group, &programs, &dllCalls)) return true;
    return runActionList(*programs, runProgramItem) && runActionList(*dllCalls, callDllItem);
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
