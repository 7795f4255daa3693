// The registry roots by their numbers in the setup script and the install log.
#pragma once

namespace kelvara {

constexpr int kRegistryRootCount = 7;  // root numbers 0 (HKCR) to 6 (HKDD)

// The short name of a registry root number ("HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC",
// "HKDD"); "" for a number outside 0..6. A constant text: never freed.
const char* rootKeyName(int rootNumber);

}  // namespace kelvara
