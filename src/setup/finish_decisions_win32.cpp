#include "setup/finish_decisions_win32.h"

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/message_catalogue.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "install/install_messages.h"
#include "install/install_state.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_restart_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {}  // namespace

SetupMessage restartQuestion() {
    return installState.restartForInUseFiles && workerState.deferredTemps.count() != 0
               ? kMsgRestartForInUseFiles
               : kMsgRestartQuestion;
}

bool restartComputer(UINT style) {
    if (runEnvironment.deployment.noRestart) {
        writeRunLog("restart: not started (/NORESTART)");
        return false;
    }
    writeRunLog("restart: starting");
    if (restartWindows(false)) return true;
    messageBoxFormat(nullptr, setupState.setupCaption.get(), text(kMsgRestartFailed), nullptr,
                     style | MB_ICONERROR);
    return false;
}

}  // namespace kelvara
