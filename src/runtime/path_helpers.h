// Path helpers for 8-bit ANSI paths with backslashes. New strings are heap strings the caller
// frees. Portable ones are in path_helpers.cpp; those that ask the file system in
// path_helpers_win32.cpp.
#pragma once

namespace kelvara {

// --- portable ---
// Pointer into path just after its last backslash, or path itself when it has none.
char* fileNamePart(const char* path);
// File-name part cut at its last dot (no dot: the whole file-name part). Null when out of memory.
char* baseName(const char* path);
// Path cut at its last backslash (no backslash: a copy of the whole path).
char* folderPart(const char* path);
// Removes one final backslash or slash in place.
void stripTrailingSeparator(char* path);
// The name placed in the folder; a name with a colon is taken as it is (already absolute).
char* joinFolderName(const char* folder, const char* name);
// The test the wizard applies to an installation path typed by the user.
bool isValidInstallPath(const char* path);

// --- file system (Windows) ---
// True when the file system finds the path; the last-error value is the look-up's.
bool pathExists(const char* path);
// True when the folder holds no sub-folder (and, with countFiles, no file). Unlistable: true.
bool folderIsEmpty(const char* folder, bool countFiles);
// 0 and *out = new string of the nearest existing ancestor (a bare drive keeps its backslash),
// or a system error code and *out = null.
unsigned long nearestExistingAncestor(const char* path, char** out);
// The system temporary folder without trailing separator, or null when the system gives none.
char* tempFolder();
// The system folder joined with name, or null when the system gives none or out of memory.
char* inSystemFolder(const char* name);

}  // namespace kelvara
