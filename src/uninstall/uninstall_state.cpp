#include "uninstall/uninstall_state.h"

namespace kelvara {
namespace {
constexpr int kListGrowth = 10;
}  // namespace

constinit RunStateStorage<UninstallState> uninstallStateStorage;

bool createUninstallState() {
    UninstallState& s = uninstallState;
    return s.rebootDeleteFiles.create(kListGrowth) && s.leftoverFolders.create(kListGrowth);
}

void releaseUninstallState() {
    uninstallState.~UninstallState();
}

}  // namespace kelvara
