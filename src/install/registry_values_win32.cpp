// Registry values, INI entries, file associations and the uninstall entry are not built yet:
// their records are passed over and no uninstall entry is written.
#include "install/record_phases.h"

namespace kelvara {

bool installRegistryValue(InstallRun&, const char*) {
    return true;
}

bool installIniEntry(InstallRun&, const char*) {
    return true;
}

bool installAssociation(InstallRun&, const char*) {
    return true;
}

void writeUninstallEntry(InstallRun&) {}

}  // namespace kelvara
