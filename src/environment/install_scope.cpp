#include "environment/install_scope.h"

#include "environment/run_environment.h"
#include "formats/script_format.h"
#include "runtime/registry_roots.h"

namespace kelvara {

bool installsForUser(std::uint8_t scope, std::uint8_t scopeDefault,
                     const DeploymentOptions& options, std::uint8_t earlier) {
    if (scope == kScopeUser) return true;
    if (scope != kScopeChoose) return false;
    if (options.currentUser) return true;
    if (options.allUsers) return false;
    if (earlier != kScopeChoose) return earlier == kScopeUser;
    return scopeDefault == kScopeUser;
}

unsigned scopedRootNumber(unsigned root) {
    const bool forUser = runEnvironment.forUser;
    if (root == kRootScoped) return forUser ? kRootNumberHkcu : kRootNumberHklm;
    if (root == kRootNumberHkcr && forUser) return kRootNumberHkcu;
    return root;
}

const char* classesKeyPrefix(unsigned root) {
    return root == kRootNumberHkcr && runEnvironment.forUser ? "Software\\Classes\\" : "";
}

}  // namespace kelvara
