#include "environment/install_scope_win32.h"

#include "environment/folder_tokens_win32.h"
#include "environment/install_scope.h"
#include "environment/run_environment.h"
#include "environment/system_detection.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/startup_messages.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"

namespace kelvara {

bool chooseInstallScope(const unsigned char* script, std::size_t size, std::uint8_t earlier) {
    SetupState& s = setupState;
    ScriptRecord record;
    if (lastRecordOfType(script, size, kRecordScope, record) && record.length >= 2) {
        s.scope = record.payload[0];
        s.scopeDefault = record.payload[1];
    }
    // Only a product that may install for a user asks whose the run is.
    const bool serviceAccount = s.scope != kScopeMachine && runsAsServiceAccount();
    runEnvironment.serviceAccount = serviceAccount;
    const ScopeChoice choice =
        chooseScope(s.scope, s.scopeDefault, runEnvironment.deployment, earlier, serviceAccount);
    if (choice == ScopeChoice::refused) {
        writeRunLog("scope: refused: a user's installation under a system account");
        messageBoxFormat(nullptr, kStartupCaption, kErrorUserScopeAsService, nullptr, MB_ICONERROR);
        return false;
    }
    if (serviceAccount) writeRunLog("scope: a system account installs for every user");
    runEnvironment.forUser = choice == ScopeChoice::user;
    if (runEnvironment.forUser) resolveUserScopeFolders();
    return true;
}

}  // namespace kelvara
