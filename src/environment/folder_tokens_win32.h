// Folder tokens resolved to the running system's folders (Windows only). The token table itself
// are in formats/folder_token_names.h, expandFolderTokens in environment/folder_expansion.h.
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace kelvara {

constexpr int kResolvedFolderSize = 0x7FFF;  // characters of resolveFolder's shared buffer

// Loads SHELL32.DLL and its folder functions (SHGetFolderLocation and SHGetSpecialFolderPathA
// optional). True when loaded (at once when already loaded); false with the library released
// and every pointer cleared when the library or a required function is missing.
bool loadShellFunctions();
// Frees the library and clears every pointer. Safe when nothing is loaded.
void releaseShellFunctions();

// Path of a shell folder (a CSIDL value) into `out` (MAX_PATH characters), which is emptied
// first; a missing folder is created when the system can. False when the shell has no path.
bool getShellFolderPath(char* out, int identifier);

// The folder's item list (CSIDL value), or null. The caller frees it with freeItemList.
LPITEMIDLIST getFolderLocation(HWND owner, int identifier);
void freeItemList(LPITEMIDLIST list);

// The token's folder (index as in FolderToken; an index outside the table means <Temp>) in one
// shared buffer that the next call overwrites; never empty (the temporary folder is the last
// resort), but null for a side of a 64-bit Windows the system does not have. Main thread or
// install thread, never both at once. May create folders and write Shell Folders values.
const char* resolveFolder(int index);

// Start-up: runEnvironment.folderPaths gets one copy of every token's folder, in table order
// (a hole where a token has no folder). False when the heap is exhausted.
bool fillFolderPaths();

// The tokens whose folder depends on the product's side (<ProgramFiles>, <CommonFiles>,
// <System32>) resolved again for runEnvironment.nativeSide, in runEnvironment.folderPaths.
void resolveSideFolders();

// The tokens that follow the scope, for an installation for the current user alone:
// <ProgramFiles> becomes the user's programs folder (%LOCALAPPDATA%\Programs), <CommonFiles> its
// Common folder, and the all-users folders (<CommonPrograms>, <CommonStartMenu>,
// <CommonDesktop>, <CommonStartup>, <CommonFavorites>, <CommonTemplates>, <CommonAppData>) the
// user's own, in runEnvironment.folderPaths.
void resolveUserScopeFolders();
// Undoes it: those tokens name the machine's folders again (of the product's side).
void resolveMachineScopeFolders();

}  // namespace kelvara
