// The action lists of the setup script: the programs to run and the DLL functions to call when
// the run reaches an action group (0 before the wizard, 1 to 12 as the wizard leaves its pages),
// and the ones reserved for the uninstallation, which the uninstaller runs from the install log.
#pragma once

namespace kelvara {

class StringList;

// Runs the program list, then the DLL call list, of the group.
void runActionGroup(int group);

// A "d" line of the install log: fields 0 to 3 (program, arguments, working folder, wait flag,
// waiting when empty) run once, without a list.
void runLoggedProgram(const StringList& fields);
// An "f" line: fields 0 to 3 (DLL path, function name, arguments) called once, without a list.
void callLoggedDll(const StringList& fields);

}  // namespace kelvara
