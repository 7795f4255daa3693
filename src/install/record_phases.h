// The phases after the files: shortcuts, registry values, INI entries and file associations,
// and at the finishing point the uninstall entry. Each handles the records the setup script
// left in the script's configuration, one checkpoint before each.
#pragma once
#include <cstdint>
#include "install/install_run_win32.h"

namespace kelvara {

// Each ends with stop on a give-up answer and cancelled at a checkpoint that took a cancel.
PhaseOutcome installShortcuts(InstallRun& run);
PhaseOutcome installRegistryValues(InstallRun& run);
PhaseOutcome installIniEntries(InstallRun& run);
PhaseOutcome installAssociations(InstallRun& run);

// One record of each phase, as stored in its list (variables not yet expanded). False when the
// user chose to end the run.
bool installShortcut(InstallRun& run, const char* record);
bool installRegistryValue(InstallRun& run, const char* record);
bool installIniEntry(InstallRun& run, const char* record);
bool installAssociation(InstallRun& run, const char* record);

// Just before the finishing point: the uninstall entry and its "e" line, its values checked
// (errorMessages 25). False when the user chose to end the run, which is then rolled back.
bool writeUninstallEntry(InstallRun& run);

// The scope the product was installed in before, by where its uninstall entry is: kScopeUser
// (in the user's list of programs; the user's own comes first), kScopeMachine (the machine's),
// kScopeChoose for neither.
std::uint8_t installedScope(const char* productShortName);

// What the installation of the product in the run's scope chose of its components (tasks
// false) or tasks, as its uninstall entry keeps it; null when it keeps nothing. The caller frees
// it.
char* installedChoice(const char* productShortName, bool tasks);

// The version (DisplayVersion) of the product installed in the run's scope, as its uninstall
// entry keeps it; null when there is none. The caller frees it.
char* installedVersion(const char* productShortName);

}  // namespace kelvara
