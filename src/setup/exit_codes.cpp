#include "setup/exit_codes.h"

#include "uninstall/uninstall_state.h"

namespace kelvara {

int installerExitCode(const InstallOutcome& o) {
    if (!o.installed) {
        if (o.cancelled) return kExitCancelled;
        return o.notRequested ? kExitInstalled : kExitNotInstalled;
    }
    if (o.restartStarted) return kExitRestartStarted;
    if (!o.succeeded) return kExitInstalledWithErrors;
    if (o.restartRequired) return kExitRestartRequired;
    return kExitInstalled;
}

int uninstallExitCode() {
    if (uninstallState.uninstallErrors != 0) return kExitInstalledWithErrors;
    return uninstallState.rebootDeleteFiles.count() != 0 ? kExitRestartRequired : kExitInstalled;
}

const char* exitCodeMeaning(int code) {
    switch (code) {
        case kExitInstalled:
            return "done";
        case kExitInstalledWithErrors:
            return "done with errors: a step failed and the run went on";
        case kExitCancelled:
            return "cancelled; nothing is left installed";
        case kExitNotInstalled:
            return "not done: the run could not start or failed, and was rolled back";
        case kExitAnotherRunning:
            return "not done: another installation is in progress";
        case kExitNewerInstalled:
            return "not done: a newer version of the product is installed";
        case kExitRestartStarted:
            return "done; the restart has been started";
        case kExitRestartRequired:
            return "done; a restart is required to finish";
        default:
            return "unknown";
    }
}

}  // namespace kelvara
