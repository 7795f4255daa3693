#include "install/install_state.h"

namespace kelvara {

constinit RunStateStorage<InstallState> installStateStorage;

void createInstallState() {
    installState.installSucceeded = true;
}

void releaseInstallState() {
    installState.~InstallState();
}

}  // namespace kelvara
