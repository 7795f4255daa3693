// The installation's own run state: what the install thread comes to (its success, the restart
// it needs), the event its finishing point sets, and the lock that lets one installation run at
// a time. What it shares with the uninstall thread is WorkerState (worker/worker_state.h). One per
// process; its storage starts as zero bytes (nothing of it is in the executable),
// createInstallState makes it ready and releaseInstallState gives back all it owns.
#pragma once

#include "runtime/run_state_storage.h"
#include "runtime/system_objects.h"

namespace kelvara {

struct InstallState {
    // The outcome beyond cancelled or not: false once a step failed (the run ends "installed
    // with errors" or is rolled back); files or the script ask for a restart (restartNeeded),
    // the user or the script chose it (restartChosen), and files in use are what it is for.
    bool installSucceeded = false;
    bool restartNeeded = false;
    bool restartChosen = false;
    bool restartForInUseFiles = false;

    // Set by the install thread's finishing point.
    OwnedKernelObject installDoneEvent;
    OwnedKernelObject installationMutex;  // held by the one installer that may run
};

// The installation's state, for the whole process (see RunStateStorage).
extern RunStateStorage<InstallState> installStateStorage;
inline constexpr InstallState& installState = installStateStorage.state;

// Sets the initial values that are not zero: a run that has not failed.
void createInstallState();

// Gives back everything the state owns; its handles are closed afterwards. Called by the clean-up,
// once, before the process ends.
void releaseInstallState();

}  // namespace kelvara
