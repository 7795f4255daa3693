// File and folder removal of the uninstaller.
#include "uninstall/file_removal_win32.h"

#include <windows.h>

#include "runtime/replace_on_reboot_win32.h"
#include "runtime/handles.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "formats/setup_state.h"
#include "uninstall/protected_folders.h"

namespace kelvara {
namespace {

// A short pause between two failed attempts: the other program needs the time to let go of the
// file, and a loop without one would keep a processor busy for the whole wait.
constexpr DWORD kRetryPauseMs = 20;

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool deleteFileWithinTime(const char* path) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start <= kDeleteAttemptMs && pathExists(path)) {
        if (!::DeleteFileA(path)) ::Sleep(kRetryPauseMs);
    }
    return !pathExists(path);
}

void putBackReplacedFile(const char* backup, const char* target) {
    if (!backup || !target || !*backup || !*target || !pathExists(backup)) return;
    ::SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    if (deleteFileWithinTime(target) && ::MoveFileExA(backup, target, MOVEFILE_COPY_ALLOWED))
        return;
    scheduleAtRestart(backup, target);
}

bool deleteFolderTree(const char* folder) {
    // A drive, a system folder or one that holds one is never emptied, whoever asks.
    if (isProtectedFolder(folder, setupState.folderPaths)) return false;
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
