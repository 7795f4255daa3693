// What the install thread and the uninstall thread share: the worker thread and the event that
// holds it, the files left for the restart, the rollback log the installation hands to its
// rollback, and the run's private temporary folder. One per process; its storage starts as zero
// bytes, createWorkerState makes it ready and releaseWorkerState gives back all it owns.
#pragma once

#include "runtime/heap_string.h"
#include "runtime/run_state_storage.h"
#include "runtime/string_list.h"
#include "runtime/system_objects.h"
#include "worker/closing_rules.h"

namespace kelvara {

struct WorkerState {
    // The worker thread (the install thread; the uninstaller's removal thread) and the event
    // that holds it while the user interface asks (set: it may go on).
    OwnedKernelObject workerThread;
    unsigned long workerThreadId = 0;
    OwnedKernelObject proceedEvent;

    // Files written to temporary files because their targets were in use, moved into place at
    // the next restart: three parallel lists (temporary path, target path, "1" for a shared file).
    StringList deferredTemps;
    StringList deferredTargets;
    StringList deferredShared;

    // The programs that hold files the run replaces or removes, found before its first change,
    // and what the run does with them.
    RunningPrograms runningPrograms;
    ClosingPlan closingPlan;

    // The rollback log the install thread hands to the rollback; with the log's whole text when
    // a write to its file failed (the file lacks lines from there on).
    HeapString rollbackLogPath;
    HeapString rollbackLogText;

    // The run's own folder inside the temporary folder, which only its user, SYSTEM and the
    // Administrators may open: every file the engine puts in the temporary folder goes there.
    // Made when first needed; removed at clean-up unless another process has taken it over (the
    // uninstaller's second stage runs from it, and its self-removal script removes it).
    HeapString runTempDir;
    bool runTempDirHandedOver = false;
};

// The workers' state, for the whole process (see RunStateStorage).
extern RunStateStorage<WorkerState> workerStateStorage;
inline constexpr WorkerState& workerState = workerStateStorage.state;

// Makes the lists. False when out of memory.
bool createWorkerState();

// Gives back everything the state owns; its owners are empty afterwards. Called by the clean-up,
// once, after the run's temporary folder is removed.
void releaseWorkerState();

}  // namespace kelvara
