#include "setup/exit_codes.h"

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

}  // namespace kelvara
