// The action lists of the setup script: the programs to run and the DLL functions to call when
// the run reaches an action group (0 before the wizard, 1 to 12 as the wizard leaves its pages).
#pragma once

namespace kelvara {

// Runs the program list, then the DLL call list, of the group.
void runActionGroup(int group);

}  // namespace kelvara
