// The install thread: it installs what the setup script describes and, at its end, either
// completes the run (install log and uninstaller in place, deferred files scheduled) or rolls
// it back.
#pragma once
#include "resources/resource_ids.h"

namespace kelvara {

// Private message posted to the wizard frame after a failed or cancelled run.
constexpr unsigned kInstallFailedNotice = 0x0400 + 12;  // WM_USER + 12
// The frame's Next button: WM_COMMAND with this id follows a completed run.
constexpr int kInstallCompletedCommand = IDC_NEXT;

// Where a run of the install thread ended: the thread's exit code.
enum class InstallEnd : unsigned long {
    stopped = 0,    // it could not start, or a failing step was not gone on from: rolled back
    cancelled = 1,  // a quit message at a checkpoint: rolled back
    installed = 2,  // it passed its finishing point (installDoneEvent is set)
};

// Thread procedure. `page` is the Installing page (an HWND) or null in a silent run. Sets
// installDoneEvent when the run passes its finishing point and clears installSucceeded on
// reported errors; the restart it needs is in installState. Returns an InstallEnd.
unsigned long __stdcall installThread(void* page);

}  // namespace kelvara
