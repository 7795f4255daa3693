#include "install/install_folder.h"

#include "formats/setup_state.h"

namespace kelvara {

namespace {
constexpr std::uint64_t kInstallLogAllowance = 64 * 1024;  // a log of some hundreds of files
}  // namespace

std::uint64_t spaceNeeded(const SetupState& s) {
    std::uint64_t space = s.packageHeader.requiredSpace;
    if (s.createUninstaller) space += s.stubHeader.packageOffset + kInstallLogAllowance;
    return space;
}

}  // namespace kelvara
