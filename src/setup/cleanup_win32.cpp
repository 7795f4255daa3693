// The clean-up at the end of every run. The order is fixed: lists before the functions they
// need, the private heap last. Every step tolerates an object that was never made.
#include <windows.h>

#include "environment/folder_tokens_win32.h"
#include "environment/run_environment.h"
#include "formats/setup_state.h"
#include "install/install_state.h"
#include "runtime/access_check_win32.h"
#include "runtime/file_version_win32.h"
#include "runtime/heap.h"
#include "runtime/run_log_win32.h"
#include "setup/startup_stages.h"
#include "uninstall/uninstall_state.h"
#include "wizard/wizard_state.h"
#include "worker/temp_folder_win32.h"
#include "worker/worker_state.h"

namespace kelvara {

void cleanUp() {
    closeRunLog();          // the run's last line is written: nothing below speaks
    releaseWizardState();   // windows and drawing objects, before the libraries they came from
    removeRunTempFolder();  // before the worker state, which names it
    releaseWorkerState();
    releaseInstallState();
    releaseUninstallState();
    releaseSetupState();      // the script's texts and lists
    releaseRunEnvironment();  // the image file, the libraries, the token
    releaseShellFunctions();
    releaseSecurityFunctions();
    releaseVersionFunctions();
    heapDestroy();
}

}  // namespace kelvara
