// The run's private temporary folder: whatever the engine writes to the temporary folder (the
// rollback log, the uninstaller's copies, files waiting for the restart, the self-removal
// script) goes into a folder of its own there, which no other user can open. The system's
// temporary folder is shared (C:\Windows\Temp of a run as SYSTEM admits every user), and a
// file someone else made there first, or can still write to, would be run with the setup's
// rights.
#pragma once

namespace kelvara {

// workerState.runTempDir, made inside tempDir on the first call. Null when it cannot be made
// (the last error says why); a later call tries again.
const char* runTempFolder();

// Takes `folder` (the folder this program runs from) as the run's folder when it is one that a
// first stage made: directly in tempDir, named "KVR" and more. True when taken; the clean-up
// then leaves it to the self-removal script.
bool adoptRunTempFolder(const char* folder);

// Leaves the folder to another process, which removes it: clean-up then keeps it.
void handOverRunTempFolder();

// Clean-up: removes the run's folder once it is empty; one that still holds files waiting for
// the restart goes at the restart, after them.
void removeRunTempFolder();

}  // namespace kelvara
