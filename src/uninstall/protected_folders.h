// The folders that no uninstall and no rollback ever removes or offers to remove, whatever a log
// says: a person's machine keeps its drives, its system folders and its profiles.
#pragma once

namespace kelvara {

class StringList;

// True when `folder` must never be removed or emptied as a whole: an empty or relative path, a
// path with a "." or ".." part, a drive root ("D:", "D:\"), a network server or share
// ("\\server\share"), a device path ("\\?\", "\\.\") or administrative share ("\\host\C$"),
// or a folder that is one of `systemFolders` (the resolved folder tokens: Windows, system,
// temporary, program files, profiles...) or holds one of them. Compared as the file system
// reads paths: case, doubled or trailing separators, slashes and the trailing dots and blanks of
// a part do not matter ("C:\\Users. " is C:\Users). `systemFolders` may hold null items.
bool isProtectedFolder(const char* folder, const StringList& systemFolders);

}  // namespace kelvara
