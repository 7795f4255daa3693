#include "install/install_folder.h"

#include "environment/run_environment.h"
#include "formats/setup_state.h"

namespace kelvara {

namespace {
constexpr std::uint64_t kInstallLogAllowance = 64 * 1024;  // a log of some hundreds of files
}  // namespace

std::uint64_t spaceNeeded() {
    const RunEnvironment& run = runEnvironment;
    // The image's own figure counts the files always installed; the chosen parts add theirs.
    std::uint64_t space =
        run.packageHeader.requiredSpace + selectedComponentBytes(setupState.choices);
    if (setupState.createUninstaller) space += run.stubHeader.packageOffset + kInstallLogAllowance;
    return space;
}

}  // namespace kelvara
