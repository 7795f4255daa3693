#include "install/overwrite_rules.h"

namespace kelvara {
namespace {

// The mode's test on a comparison of package against installed (<0, 0, >0).
bool modeTestPasses(std::uint32_t mode, int comparison) {
    switch (mode) {
        case kOverwriteNewer:
            return comparison > 0;
        case kOverwriteNewerOrSame:
            return comparison >= 0;
        case kOverwriteOlder:
            return comparison < 0;
        default:
            return true;
    }
}

int compareTimes(std::uint64_t a, std::uint64_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

bool mayReplaceExisting(const OverwriteFacts& f) {
    if (f.mode == kOverwriteNever) return false;
    if (f.mode < kOverwriteNewer || f.mode > kOverwriteOlder) return true;
    bool dateTest = modeTestPasses(f.mode, compareTimes(f.packageWriteTime, f.installedWriteTime));
    bool versionTest =
        modeTestPasses(f.mode, compareVersions(f.packageVersion, f.installedVersion));
    switch (f.rule) {
        case kDecideByDate:
            return dateTest;
        case kDecideByVersion:
            return !f.installedHasVersion || versionTest;
        case kDecideByVersionAndDate:
            return f.installedHasVersion ? versionTest && dateTest : dateTest;
        default:
            return true;
    }
}

}  // namespace kelvara
