// The action lists of the setup script: the programs to run and the DLL functions to call when
// the run reaches an action group (0 before the wizard, 1 to 12 as the wizard leaves its pages),
// and the ones reserved for the uninstallation, which the uninstaller runs from the install log.
// Every action and how it ended goes to the run log. A program that cannot be started, a DLL or
// function that cannot be called, a registration that fails and a program that ends with a code
// outside its success codes are failing steps; their records stay in their lists.
#pragma once

namespace kelvara {

class StringList;

// Runs the program list, then the DLL call list, of the group (0 to 12; any other does nothing),
// each in list order with the record's variables expanded. Run-once records that ran leave their
// list, so a later run of the same group no longer sees them. A failing step clears
// installSucceeded and asks whether to go on (errorMessages 40, 41, 42 or 28; a quiet run takes
// No). False when the answer was No: the rest of the group is not run, and the run is to end.
// Main thread.
bool runActionGroup(int group);

// Opens a document, program or address through the shell ("open", desktop as owner, normal
// window) in the working folder (null or empty: the current one), without waiting: the finish
// decisions' run-after program and view-after file.
void openThroughShell(const char* document, const char* workingFolder);

}  // namespace kelvara
