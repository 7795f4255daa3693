// File and folder removal of the uninstaller.
#include "uninstall/file_removal_win32.h"

#include <windows.h>

#include "environment/run_environment.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "uninstall/protected_folders_win32.h"

namespace kelvara {
namespace {

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool deleteFolderTree(const char* folder) {
    // A drive, a system folder or one that holds one is never emptied, whoever asks.
    if (isProtectedFolderOnDisk(folder, runEnvironment.folderPaths)) return false;
    const DWORD attributes = ::GetFileAttributesA(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A junction or folder link: remove the link, never what it points to, which may be
        // any folder of the system.
        return ::RemoveDirectoryA(folder) != FALSE;
    }
    HeapString pattern(strConcat5(folder, "\\*"));
    if (!pattern) return false;
    WIN32_FIND_DATAA entry;
    UniqueFind search(::FindFirstFileA(pattern.get(), &entry));
    if (search) {
        do {
            if (isDotEntry(entry.cFileName)) continue;
            HeapString path(strConcat5(folder, "\\", entry.cFileName));
            if (!path) continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                deleteFolderTree(path.get());
            } else {
                ::SetFileAttributesA(path.get(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.get());
            }
        } while (::FindNextFileA(search.get(), &entry));
    }
    search.reset();
    ::SetFileAttributesA(folder, FILE_ATTRIBUTE_NORMAL);
    return ::RemoveDirectoryA(folder) != FALSE;
}

}  // namespace kelvara
