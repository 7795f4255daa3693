// The order of two product versions as people write them: "2.1.10" after "2.1.9". Portable.
#pragma once

namespace kelvara {

// Negative when `a` is older than `b`, 0 when they are the same version, positive when newer.
// Parts are cut at dots; a part's leading digits count as a number, of any length. Text after
// the number marks a version before its release: "2.1.0-beta" and "2.1.0rc1" come before
// "2.1.0", and such texts compare with each other ignoring case. A missing part counts as 0, so
// "2.1" and "2.1.0" are the same. Null reads as "".
int compareProductVersions(const char* a, const char* b);

}  // namespace kelvara
