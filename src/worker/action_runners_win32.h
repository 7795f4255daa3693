// Starting one program and calling one DLL function, as an action list or the uninstaller asks.
// Each writes what it did and how it ended to the run log and tells the caller how it went; a
// program that cannot start, a DLL that does not load or a missing function leave the record
// in its list.
#pragma once
#include <windows.h>

#include "worker/action_records.h"

namespace kelvara {

enum class ActionFailure {
    none,
    notStarted,    // the program could not be found or started: error
    exitCode,      // it ended with a code outside its success codes: exitCode
    notLoaded,     // the DLL could not be loaded (or OLE initialised for it): error
    noFunction,    // the DLL has no such function: error
    registration,  // a registration entry point returned an error: error is its HRESULT
};

// How one action went.
struct ActionResult {
    ActionFailure failure = ActionFailure::none;
    DWORD error = 0;
    DWORD exitCode = 0;         // of a program waited for
    bool restartAsked = false;  // a success code that asks for a restart (3010, 1641)
};

// The result of an action that failed in the given way.
inline ActionResult failedAction(ActionFailure failure, DWORD error) {
    ActionResult result;
    result.failure = failure;
    result.error = error;
    return result;
}

// Starts the program (or, for "open", opens the document through the shell with the desktop as
// owner). With the wait flag it returns when the program has ended, dispatching only this
// thread's WM_PAINT messages meanwhile, and judges its exit code by the record's success codes
// when it has some. The run-once removal (list and index may be null) follows a started program
// and every "open", whether the shell managed it or not; an "open" is never a failure.
ActionResult runProgram(const ProgramRecord& record, StringList* list, int* index);

// Loads the DLL and calls the function: a registration entry point without arguments between
// OleInitialize and OleUninitialize (not at all when OLE cannot be initialised), any other with
// the record's 0, 1 or 2 text arguments. A registration entry point's result is judged (an
// error HRESULT fails), any other function's ignored. The run-once removal follows when the
// function was called.
ActionResult callDllFunction(const DllCallRecord& record, StringList* list, int* index);

}  // namespace kelvara
