#include "setup/exit_codes.h"

namespace kelvara {

int installerExitCode(const InstallOutcome& o) {
    if (!o.installed) return o.cancelled ? kExitCancelled : kExitNotInstalled;
    if (o.restartStarted) return kExitRestartStarted;
    if (!o.succeeded) return kExitInstalledWithErrors;
    if (o.restartRequired) return kExitRestartRequired;
    return kExitInstalled;
}

}  // namespace kelvara
