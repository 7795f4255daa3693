// The action lists of the setup script: the programs to run and the DLL functions to call when
// the run reaches an action group (0 before the wizard, 1 to 12 as the wizard leaves its pages),
// and the ones reserved for the uninstallation, which the uninstaller runs from the install log.
// Nothing here reports a failure: a program that does not start or a function that cannot be
// called is skipped, and its record stays in its list.
#pragma once

namespace kelvara {

class StringList;

// Runs the program list, then the DLL call list, of the group (0 to 12; any other does nothing),
// each in list order with the record's variables expanded. Run-once records that ran leave their
// list, so a later run of the same group no longer sees them. Main thread.
void runActionGroup(int group);

// A "d" line of the install log: fields 0 to 3 (program, arguments, working folder, wait flag,
// waiting when empty) run once, without a list.
void runLoggedProgram(const StringList& fields);
// An "f" line: fields 0 to 3 (DLL path, function name, arguments) called once, without a list.
void callLoggedDll(const StringList& fields);

// Opens a document, program or address through the shell ("open", desktop as owner, normal
// window) in the working folder (null or empty: the current one), without waiting: the finish
// decisions' run-after program and view-after file.
void openThroughShell(const char* document, const char* workingFolder);

}  // namespace kelvara
