#include "environment/install_scope_win32.h"

#include "environment/folder_tokens_win32.h"
#include "environment/install_scope.h"
#include "environment/run_environment.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"

namespace kelvara {

void chooseInstallScope(const unsigned char* script, std::size_t size, std::uint8_t earlier) {
    SetupState& s = setupState;
    ScriptRecord record;
    if (lastRecordOfType(script, size, kRecordScope, record) && record.length >= 2) {
        s.scope = record.payload[0];
        s.scopeDefault = record.payload[1];
    }
    runEnvironment.forUser =
        installsForUser(s.scope, s.scopeDefault, runEnvironment.deployment, earlier);
    if (runEnvironment.forUser) resolveUserScopeFolders();
}

}  // namespace kelvara
