#include "runtime/registry_roots.h"

namespace kelvara {
namespace {

constexpr const char* kRootKeyNames[kRegistryRootCount] = {"HKCR", "HKCU", "HKLM", "HKU",
                                                           "HKPD", "HKCC", "HKDD"};

}  // namespace

const char* rootKeyName(int rootNumber) {
    if (rootNumber < 0 || rootNumber >= kRegistryRootCount) return "";
    return kRootKeyNames[rootNumber];
}

}  // namespace kelvara
