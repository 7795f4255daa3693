// Starting one program and calling one DLL function, as an action list or the uninstaller asks.
// Nothing is reported: a program that cannot start, a DLL that does not load or a missing
// function leave the record in its list, and the list goes on.
#pragma once

#include "install/action_records.h"

namespace kelvara {

// Starts the program (or, for "open", opens the document through the shell with the desktop as
// owner). With the wait flag it returns when the program has ended, dispatching only this
// thread's WM_PAINT messages meanwhile. The run-once removal (list and index may be null) follows
// a started program and every "open", whether the shell managed it or not.
void runProgram(const ProgramRecord& record, StringList* list, int* index);

// Loads the DLL and calls the function: a registration entry point without arguments between
// OleInitialize and OleUninitialize (not at all when OLE cannot be initialised), any other with
// the record's 0, 1 or 2 text arguments. The function's result is ignored. The run-once removal
// follows when the function was called.
void callDllFunction(const DllCallRecord& record, StringList* list, int* index);

}  // namespace kelvara
