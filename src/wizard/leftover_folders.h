// The folders the leftover-files page shows: of the folders the uninstall thread could not
// remove, only the outermost ones, each once.
#pragma once

namespace kelvara {

class StringList;

// Reduces `folders` in place to the outermost folders, sorted alphabetically ignoring case:
// a folder that lies inside another listed folder (its path begins with that folder's path and
// a backslash, ignoring case) is dropped, and so are repeats and holes; a trailing backslash
// does not make a folder different. The folders inside stay reachable through their outer
// folder on the page.
void keepOutermostFolders(StringList& folders);

// True when `path` lies inside `folder`: it begins with the folder's path (ignoring case and a
// trailing backslash of the folder) followed by a backslash.
bool isInsideFolder(const char* path, const char* folder);

}  // namespace kelvara
