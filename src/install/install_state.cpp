#include "install/install_state.h"

namespace kelvara {
namespace {
constexpr int kListGrowth = 10;
}  // namespace

constinit RunStateStorage<InstallState> installStateStorage;

bool createInstallState() {
    InstallState& s = installState;
    s.installSucceeded = true;
    return s.deferredTemps.create(kListGrowth) && s.deferredTargets.create(kListGrowth) &&
           s.deferredShared.create(kListGrowth);
}

void releaseInstallState() {
    installState.~InstallState();
}

}  // namespace kelvara
