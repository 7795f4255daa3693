// Deleting a file that resists, and putting a replaced file back.
#include "runtime/file_deletion_win32.h"

#include <windows.h>

#include "runtime/path_helpers.h"
#include "runtime/replace_on_reboot_win32.h"

namespace kelvara {
namespace {

// A short pause between two failed attempts: the other program needs the time to let go of the
// file, and a loop without one would keep a processor busy for the whole wait.
constexpr DWORD kRetryPauseMs = 20;

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

}  // namespace kelvara
