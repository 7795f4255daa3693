// The script that deletes the uninstaller's temporary copy once it has ended (Windows only).
#pragma once

namespace kelvara {

// Writes "delself.bat" in tempDir, which deletes installerPath once this process has let go of
// it and then itself, and starts it hidden. Failures are not reported: the file stays behind.
void writeSelfRemovalScript();

}  // namespace kelvara
