// Protected folders as the disk names them (Windows only).
#pragma once

namespace kelvara {

class StringList;

// isProtectedFolder as the disk names the folders too: short names ("C:\\PROGRA~1") of the
// folder and of the system folders are read in their long form as well.
bool isProtectedFolderOnDisk(const char* folder, const StringList& systemFolders);

}  // namespace kelvara
