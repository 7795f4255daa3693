#include "setup/silent_run.h"

#include <windows.h>

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "install/action_lists.h"
#include "install/install_messages.h"
#include "install/install_state.h"
#include "install/install_thread.h"
#include "runtime/message_box_win32.h"
#include "setup/exit_codes.h"
#include "setup/finish_decisions_win32.h"
#include "wizard/passive_window_win32.h"
#include "wizard/thread_wait_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

// Starts the install thread and waits for it; *end says where the run ended. False when the
// thread could not be started. The thread drives `window` (null: none) as the Installing page.
bool runInstallThread(HWND window, InstallEnd* end) {
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, installThread, window, 0, &id);
    if (!thread) return false;
    workerState.workerThread.reset(thread);
    workerState.workerThreadId = id;
    if (window) {
        pumpUntilThreadEnds(thread);
    } else {
        ::WaitForSingleObject(thread, INFINITE);
    }
    DWORD code = 0;
    if (!::GetExitCodeThread(thread, &code)) code = 0;
    *end = static_cast<InstallEnd>(code);
    workerState.workerThread.reset();
    return true;
}

// The window of a passive run, from its first action to its end, closed whichever way the run
// ends.
struct PassiveWindow {
    HWND window = runEnvironment.deployment.passive ? openPassiveWindow() : nullptr;
    PassiveWindow() = default;
    PassiveWindow(const PassiveWindow&) = delete;
    PassiveWindow& operator=(const PassiveWindow&) = delete;
    ~PassiveWindow() {
        if (window) ::DestroyWindow(window);
    }
};

// Asks whether to restart now; true when the restart was started. A run told never to restart
// does not ask.
bool offerRestart(HWND owner) {
    if (runEnvironment.deployment.noRestart) return restartComputer(MB_SYSTEMMODAL);
    if (messageBoxFormat(owner, setupState.setupCaption.get(), text(restartQuestion()), nullptr,
                         MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) != IDYES) {
        return false;
    }
    return restartComputer(MB_SYSTEMMODAL);
}

}  // namespace

int runSilentInstall() {
    SetupState& s = setupState;
    InstallOutcome outcome;
    PassiveWindow passive;
    // A failing step not gone on from: before the installation the run ends with nothing
    // installed; after it the remaining actions are left out.
    for (int group = kActionGroupFirstPage; group <= kActionGroupLastPage; ++group) {
        if (!runActionGroup(group)) return installerExitCode(outcome);
    }
    InstallEnd end = InstallEnd::stopped;
    if (!runInstallThread(passive.window, &end)) return installerExitCode(outcome);
    outcome.installed = end == InstallEnd::installed;
    outcome.cancelled = end == InstallEnd::cancelled;
    // The groups after the installation belong to an installed product, as in the wizard,
    // which never passes the Installing page of a run that was rolled back.
    if (!outcome.installed) return installerExitCode(outcome);
    for (int group = kActionGroupAfterInstall; group <= kActionGroupLast; ++group) {
        if (!runActionGroup(group)) break;
    }

    outcome.succeeded = installState.installSucceeded;
    // The desktop owns the closing messages; it is asked for only when there is one (asking
    // makes the system start it).
    if (!installState.installSucceeded) {
        messageBoxFormat(::GetDesktopWindow(), s.setupCaption.get(), text(kMsgCompletedWithErrors),
                         nullptr, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    }
    outcome.restartRequired = installState.restartChosen;
    if (installState.restartChosen) outcome.restartStarted = offerRestart(::GetDesktopWindow());
    return installerExitCode(outcome);
}

}  // namespace kelvara
