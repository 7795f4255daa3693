#include "worker/worker_state.h"

namespace kelvara {

constinit RunStateStorage<WorkerState> workerStateStorage;

bool createWorkerState() {
    constexpr int kListGrowth = 10;
    WorkerState& s = workerState;
    return s.deferredTemps.create(kListGrowth) && s.deferredTargets.create(kListGrowth) &&
           s.deferredShared.create(kListGrowth);
}

void releaseWorkerState() {
    workerState.~WorkerState();
}

}  // namespace kelvara
