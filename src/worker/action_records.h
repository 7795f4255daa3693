// Action records as data: the fields of a program record and of a DLL call record with their
// defaults, the command line and working folder a program is started with, the lists of an
// action group, and the walk over one list with the run-once removal. Portable: the Win32 edge
// (action_lists_win32.cpp) starts the programs and calls the functions.
#pragma once
#include <cstdint>

namespace kelvara {

class StringList;

// Window modes of a program record (field 5); every other number shows the window normally.
enum class WindowMode { normal, minimizedNoActivate, maximized };

// A program record read from its fields. The texts point into the field list, which must outlive
// the record.
struct ProgramRecord {
    const char* program = "";        // field 0: a path, or "open" (any case)
    const char* arguments = "";      // field 1: appended unquoted; with "open", the document
    const char* workingFolder = "";  // field 2 as written; empty: the caller's current folder
    bool wait = true;                // field 3, 1 when empty
    bool runOnce = true;             // field 4, 1 when empty
    WindowMode window = WindowMode::normal;  // field 5
    const char* successCodes = "";           // field 6: "0|3010"; empty: the code is not judged
};

// A DLL call record read from its fields; texts as for ProgramRecord.
struct DllCallRecord {
    const char* dll = "";       // field 0
    const char* function = "";  // field 1, exact case
    const char* first = "";     // field 2
    const char* second = "";    // field 3
    int argumentCount = 0;      // 0 without a first argument, 1 without a second, else 2
    bool runOnce = true;        // field 4, 1 when empty
};

// The stored form of a program record (an action list's item, variables expanded and split).
ProgramRecord readProgramRecord(const StringList& fields);
// A "d" line of the install log: the same fields, run once without a list (the run-once flag is
// clear) and shown normally; its wait flag (field 3, 1 when empty) and success codes count.
ProgramRecord readLoggedProgram(const StringList& fields);
// The stored form of a DLL call record.
DllCallRecord readDllCallRecord(const StringList& fields);
// An "f" line of the install log: fields 0 to 3, the run-once flag clear.
DllCallRecord readLoggedDllCall(const StringList& fields);

// True when the exit code is one of the success codes ("0|3010": numbers by the number rule,
// separated by "|"). Only called for a record that has some.
bool isSuccessCode(const char* successCodes, std::uint32_t code);
// The exit codes by which an installer says the system must restart to finish: 3010 (a restart
// is needed) and 1641 (it has been started).
bool asksForRestart(std::uint32_t code);

// True when the program field is the word "open", in any letter case: the document in the
// arguments field is opened through the shell instead.
bool isShellOpen(const char* program);
// True for the four registration entry points, compared with exact case, which are called
// without arguments inside their own OLE initialisation.
bool isRegistrationEntryPoint(const char* function);

// New heap string: a double quote, the program, a double quote, a blank and the arguments.
// Null when the heap is exhausted; the caller frees it.
char* programCommandLine(const char* program, const char* arguments);
// New heap string: the working folder with one trailing backslash or slash removed, except from
// a root ("C:\", "\"), which would otherwise name the drive's current folder ("C:") or none.
// Null when the folder is empty (the caller's current folder is used) or the heap is exhausted.
char* trimmedWorkingFolder(const char* folder);

// The program list and DLL call list of an action group (0, or 1 to 12 for the page slots 0 to
// 11) in setupState. False, with both null, for any other group.
bool actionGroupLists(int group, StringList** programs, StringList** dllCalls);

// Runs one item of an action list. `fields` is the item, variables expanded and split; `list`
// and `index` are the list and the walk's position, for the run-once removal. False ends the
// walk: the item failed and the run is not to go on.
using ActionRunner = bool (*)(const StringList& fields, StringList* list, int* index);

// Walks a list from its first item while the index is below its current count: expands the
// item's variables, splits it into fields (no quoted first field) and hands it to `run`, then
// moves to the next index. An item that cannot be expanded (heap exhausted) is skipped. False
// when a runner ended the walk.
bool runActionList(StringList& list, ActionRunner run);

// The run-once removal: with a list and an index, deletes the item at the index and steps the
// index back, so that the walk's increment lands on the item that followed. Without either it
// does nothing.
void removeRunOnce(StringList* list, int* index);

}  // namespace kelvara
