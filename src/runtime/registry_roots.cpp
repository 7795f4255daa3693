#include "runtime/registry_roots.h"

namespace kelvara {
namespace {

constexpr const char* kRootKeyNames[kRecordRootCount] = {"HKCR", "HKCU", "HKLM", "HKU",
                                                         "HKPD", "HKCC", "HKDD", "HKA"};

}  // namespace

const char* rootKeyName(int rootNumber) {
    if (rootNumber < 0 || rootNumber >= kRecordRootCount) return "";
    return kRootKeyNames[rootNumber];
}

}  // namespace kelvara
