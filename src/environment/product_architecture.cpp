#include "environment/product_architecture.h"

#include "formats/script_format.h"
#include "formats/windows_version_demand.h"

namespace kelvara {

bool architectureKnown(std::uint8_t product) {
    return product == kArchitectureX86 || product == kArchitectureX64 ||
           product == kArchitectureArm64;
}

bool architectureRuns(std::uint8_t product, std::uint8_t system, std::uint32_t windowsVersion) {
    switch (product) {
        case kArchitectureX86:
            return true;
        case kArchitectureX64:
            return system == kArchitectureX64 ||
                   (system == kArchitectureArm64 &&
                    windowsVersion >= packWindowsVersion(10, 0, kWindows11Build));
        case kArchitectureArm64:
            return system == kArchitectureArm64;
        default:
            return false;
    }
}

bool installsOnNativeSide(std::uint8_t product, std::uint8_t system, std::uint32_t windowsVersion) {
    return product != kArchitectureX86 && architectureRuns(product, system, windowsVersion);
}

}  // namespace kelvara
