// The uninstall thread: undoes an install log or a rollback log (Windows only).
#pragma once
#include <windows.h>

#include "resources/resource_ids.h"

namespace kelvara {

// Controls of the removal dialog that the thread drives.
constexpr int kRemovalStatusText = IDC_REMOVAL_STATUS;
constexpr int kRemovalPathText = IDC_REMOVAL_PATH;
constexpr int kRemovalProgressBar = IDC_REMOVAL_PROGRESS;

// Sent by the uninstall thread to the dialog when it has finished and folders are left over:
// the dialog turns into the leftover-files page on its own thread. wParam, lParam 0.
constexpr UINT kMsgShowLeftoverPage = WM_APP + 1;

struct LogEntry;

// True for a line of the uninstaller's own files: the install log this run reads and the
// uninstaller next to it (same folder, same base name). They are removed last, so that an
// uninstall cancelled half-way can be run again.
bool isUninstallerOwnFile(const LogEntry& entry);

// Thread procedure: undoLoggedEntries, then removeOwnFiles. Undoes uninstallState.entryText from
// its last line to its first; `window` is the removal dialog, or null in the rollback mode (no
// checkpoints but the last, no progress, no in-use question; other questions and error boxes
// appear without an owner). Files it could not delete go to uninstallState.rebootDeleteFiles,
// folders that are not empty to leftoverFolders. Returns 1 when the entry text has no line, else
// 0. Signals uninstallDoneEvent only when it got through every line; a quit message at a
// checkpoint ends it at once without the signal. In an unattended run (a silent uninstall, a
// quiet installation's rollback) nothing is asked: a shared file whose count reaches zero is kept.
DWORD WINAPI uninstallThread(void* window);

// The thread's first step: every line but the uninstaller's own files (the uninstaller and the
// log it reads), which it keeps in uninstallState.ownFilesLeft. False when the thread is to end
// here, with its result in *result: no line, or a quit message at a checkpoint. A silent
// uninstall tells its first stage the outcome between the two steps, so that the installed
// uninstaller, which that stage runs from, is free to be deleted when it ends.
bool undoLoggedEntries(HWND window, DWORD* result);

// The second step: the own files, the folders they alone kept, the last checkpoint, the signal
// and, with a window, the dialog's end or its leftover-files page. Returns the thread's result.
DWORD removeOwnFiles(HWND window);

}  // namespace kelvara
