// The script that deletes the uninstaller's temporary copy once it has ended (Windows only).
#pragma once

namespace kelvara {

// Writes "delself.bat" in the run's own temporary folder, which deletes installerPath once this
// process has let go of it, then itself and the folder, and starts it hidden through the system
// folder's command interpreter. Failures are not reported: the file stays behind.
void writeSelfRemovalScript();

}  // namespace kelvara
