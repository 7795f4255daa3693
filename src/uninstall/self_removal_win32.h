// The script that deletes the uninstaller's temporary copy once it has ended (Windows only).
#pragma once

namespace kelvara {

class StringList;

// Writes "delself.bat" in the run's own temporary folder, which deletes installerPath once this
// process has let go of it, then itself and the folder, and starts it hidden through the system
// folder's command interpreter. Failures are not reported: the file stays behind.
void writeSelfRemovalScript();

// The second stage's folder is noted in the install log (a "w" line), so that a stage cut off
// before its script ran leaves its copy to the next uninstall, which removes what the earlier
// stages left (`earlier`, as the log's tail named them): their copies and scripts, in folders a
// first stage made, directly in the temporary folder. Failures are not reported.
void takeOverEarlierStages(const char* logPath, const StringList& earlier);

}  // namespace kelvara
