// The registry roots by their numbers in the setup script and the install log.
#pragma once

namespace kelvara {

constexpr int kRegistryRootCount = 7;  // root numbers 0 (HKCR) to 6 (HKDD)
// Root numbers of the keys the engine writes on its own.
constexpr unsigned kRootNumberHkcr = 0;
constexpr unsigned kRootNumberHkcu = 1;
constexpr unsigned kRootNumberHklm = 2;
// Root number 7, "HKA": HKEY_LOCAL_MACHINE in an installation for every user, HKEY_CURRENT_USER
// in one for the current user alone. Records and the previous location may name it; the
// install log never does: it keeps the root that HKA stood for in the run.
constexpr int kRootScoped = 7;
constexpr int kRecordRootCount = 8;  // the roots a record may name: 0 to 7

// The short name of a registry root number ("HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC",
// "HKDD", "HKA"); "" for a number outside 0..7. A constant text: never freed.
const char* rootKeyName(int rootNumber);

}  // namespace kelvara
