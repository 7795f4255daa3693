#include "setup/scope_choice_win32.h"

#include "environment/folder_tokens_win32.h"
#include "environment/install_scope.h"
#include "environment/run_environment.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "runtime/run_log_win32.h"
#include "setup/elevated_restart_win32.h"
#include "setup/script_records.h"

namespace kelvara {

bool prepareScopePage(std::uint8_t earlier) {
    const RunEnvironment& run = runEnvironment;
    const bool shown = setupState.scope == kScopeChoose && !run.silentMode &&
                       !run.deployment.allUsers && !run.deployment.currentUser &&
                       earlier == kScopeChoose && !run.serviceAccount;
    setupState.pageSlots[kPageScope].enabled = shown;
    return shown;
}

bool applyScopeChoice(bool forUser) {
    RunEnvironment& run = runEnvironment;
    if (!forUser && rightsStepOfRun(true) == RightsStep::restartElevated) return false;
    if (forUser == run.forUser) return true;
    run.forUser = forUser;
    writeRunLog(forUser ? "scope: the current user (chosen)" : "scope: every user (chosen)");
    if (forUser) {
        resolveUserScopeFolders();
    } else {
        resolveMachineScopeFolders();
    }
    reapplyScopedRecords(run.script.get(), run.scriptSize, systemRecordPlatform());
    applyFolderOption(run.deployment);
    return true;
}

}  // namespace kelvara
