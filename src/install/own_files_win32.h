// The installation's own files, the uninstaller and the install log: each written whole beside
// the one it replaces and put in its place only then, so that a full disk or a failed write
// keeps the earlier ones and the product stays removable.
#pragma once
#include <windows.h>

namespace kelvara {

struct InstallRun;

// The uninstaller, the engine without its package, written from the image into a new file
// beside the uninstaller's path (its folder made when missing, and logged). Checked to its last
// byte. False when it cannot be: the failure has been shown and the run is to stop.
bool prepareUninstaller(InstallRun& run);

// The engine without its package, as the uninstaller is, written into a new file at `path`
// (the run's private folder: the recovery at the next logon runs it). False when it cannot be
// (the last error says why); nothing is left at `path` then.
bool writeEngineCopy(InstallRun& run, const char* path);

// The install log, written whole into a new file beside its path and flushed. False when it
// cannot be: shown, and the run is to stop.
bool prepareInstallLog(InstallRun& run);

// Puts the prepared uninstaller and log in place of the earlier ones and gives them to the
// Administrators when the run has their rights. A file that cannot be put in place is shown and
// the run ends with errors; the earlier one stays.
void placeOwnFiles(InstallRun& run);

// Deletes what prepareUninstaller and prepareInstallLog wrote (a run that stops).
void discardOwnFiles(InstallRun& run);

}  // namespace kelvara
