#include "environment/product_side_win32.h"

#include "environment/folder_tokens_win32.h"
#include "environment/product_architecture.h"
#include "environment/run_environment.h"
#include "formats/setup_state.h"
#include "runtime/system_view_win32.h"

namespace kelvara {

void chooseProductSide(std::uint8_t architecture) {
    RunEnvironment& run = runEnvironment;
    setupState.architecture = architecture;
    run.nativeSide = installsOnNativeSide(architecture, run.systemArchitecture, run.windowsVersion);
    if (!run.nativeSide) return;
    setRegistryView(kView64);
    resolveSideFolders();
}

}  // namespace kelvara
