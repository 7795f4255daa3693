// The installation's own run state: what the install thread comes to (its success, the restart
// it needs, the files left for the restart), the rollback log it hands to the rollback, the
// events that hold and end it, the run's private temporary folder, and the lock that lets one
// installation run at a time. One per process; its storage starts as zero bytes (nothing of it
// is in the executable), createInstallState makes it ready and releaseInstallState gives back
// all it owns.
#pragma once

#include "runtime/heap_string.h"
#include "runtime/run_state_storage.h"
#include "runtime/string_list.h"
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
    // Cancelled from a checkpoint (the wizard posted a quit message).
    bool installCancelled = false;

    // Files written to temporary files because their targets were in use, moved into place at
    // the next restart: three parallel lists (temporary path, target path, "1" for a shared file).
    StringList deferredTemps;
    StringList deferredTargets;
    StringList deferredShared;

    // The rollback log the install thread hands to the rollback mode; with the log's whole text
    // when a write to its file failed (the file lacks lines from there on).
    HeapString rollbackLogPath;
    HeapString rollbackLogText;

    // The worker thread (the install thread; the uninstaller's removal thread), the event that
    // holds it while the wizard asks (set: it may go on), and the one its finishing point sets.
    OwnedKernelObject workerThread;
    unsigned long workerThreadId = 0;
    OwnedKernelObject proceedEvent;
    OwnedKernelObject installDoneEvent;
    OwnedKernelObject installationMutex;  // held by the one installer that may run

    // The run's own folder inside the temporary folder, which only its user, SYSTEM and the
    // Administrators may open: every file the engine puts in the temporary folder goes there.
    // Made when first needed; removed at clean-up unless another process has taken it over (the
    // uninstaller's second stage runs from it, and its self-removal script removes it).
    HeapString runTempDir;
    bool runTempDirHandedOver = false;
};

// The installation's state, for the whole process (see RunStateStorage).
extern RunStateStorage<InstallState> installStateStorage;
inline constexpr InstallState& installState = installStateStorage.state;

// Sets the initial values that are not zero (a run that has not failed) and makes the lists.
// False when out of memory.
bool createInstallState();

// Gives back everything the state owns; its owners (lists, strings, handles, windows) are empty
// afterwards. Called by the clean-up, once, before the process ends.
void releaseInstallState();

}  // namespace kelvara
