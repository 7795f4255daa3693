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

// Thread procedure. Undoes uninstallState.entryText from its last line to its first; `window` is
// the removal dialog, or null in the rollback mode (no checkpoints but the last, no progress, no
// in-use question; other questions and error boxes appear without an owner). Files it could not
// delete go to uninstallState.rebootDeleteFiles, folders that are not empty to leftoverFolders.
// Returns 1 when the entry text has no line, else 0. Signals uninstallDoneEvent only when it got
// through every line; a quit message at a checkpoint ends it at once without the signal.
// In an unattended run (a silent uninstall, a quiet installation's rollback) nothing is asked:
// a shared file whose count reaches zero is kept.
DWORD WINAPI uninstallThread(void* window);

// Called by the thread when everything but the uninstaller's own files (the uninstaller and the
// log it reads) has been undone, just before those go; null: nothing is called. A silent
// uninstall tells its first stage the outcome here, so that the installed uninstaller, which
// that stage runs from, is free to be deleted when it ends.
extern void (*beforeOwnFilesRemoved)();

}  // namespace kelvara
