// The phases after the files: shortcuts, registry values, INI entries and file associations,
// and at the finishing point the uninstall entry. Each handles the records the setup script
// left in the run's record, one checkpoint before each.
#pragma once

namespace kelvara {

struct InstallRun;

// Each returns false when the run ends (a give-up answer or a cancel at a checkpoint).
bool installShortcuts(InstallRun& run);
bool installRegistryValues(InstallRun& run);
bool installIniEntries(InstallRun& run);
bool installAssociations(InstallRun& run);

// One record of each phase, as stored in its list (variables not yet expanded). False when the
// user chose to end the run.
bool installShortcut(InstallRun& run, const char* record);
bool installRegistryValue(InstallRun& run, const char* record);
bool installIniEntry(InstallRun& run, const char* record);
bool installAssociation(InstallRun& run, const char* record);

// After the finishing point: the uninstall entry and its "e" line. Cannot end the run.
void writeUninstallEntry(InstallRun& run);

}  // namespace kelvara
