#include "environment/install_scope.h"

#include "environment/run_environment.h"
#include "formats/script_format.h"
#include "formats/windows_version_demand.h"
#include "runtime/registry_roots.h"

namespace kelvara {

namespace {

bool installsForUser(std::uint8_t scope, std::uint8_t scopeDefault,
                     const DeploymentOptions& options, std::uint8_t earlier) {
    if (scope == kScopeUser) return true;
    if (scope != kScopeChoose) return false;
    if (options.currentUser) return true;
    if (options.allUsers) return false;
    if (earlier != kScopeChoose) return earlier == kScopeUser;
    return scopeDefault == kScopeUser;
}

}  // namespace

ScopeChoice chooseScope(std::uint8_t scope, std::uint8_t scopeDefault,
                        const DeploymentOptions& options, std::uint8_t earlier,
                        bool serviceAccount) {
    if (!serviceAccount) {
        return installsForUser(scope, scopeDefault, options, earlier) ? ScopeChoice::user
                                                                      : ScopeChoice::machine;
    }
    if (scope == kScopeUser || (scope == kScopeChoose && options.currentUser)) {
        return ScopeChoice::refused;
    }
    return ScopeChoice::machine;
}

RightsStep rightsStep(bool machineWide, bool administrator, std::uint32_t windowsVersion,
                      bool restartedElevated, bool quiet) {
    if (!machineWide || administrator || restartedElevated) return RightsStep::goOn;
    if (windowsVersion < packWindowsVersion(6, 0, 0)) return RightsStep::goOn;
    return quiet ? RightsStep::refuse : RightsStep::restartElevated;
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
