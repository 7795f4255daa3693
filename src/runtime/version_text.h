// File versions as numbers and text, and the arithmetic of shared-file counts.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kelvara {

// A file version as the version resource holds it: major and minor in `ms`, build and revision
// in `ls`, each as high and low 16 bits. (0, 0) when no version is known.
struct VersionPair {
    std::uint32_t ms = 0;
    std::uint32_t ls = 0;
};

// <0, 0 or >0: the pairs compared as unsigned numbers, `ms` first.
int compareVersions(VersionPair a, VersionPair b);

// Writes "%u.%u.%u.%u" of the four 16-bit halves, high half first, into buffer (always
// NUL-terminated when size > 0, cut to fit). Returns the length written.
std::size_t formatVersionText(char* buffer, std::size_t size, VersionPair version);

// The pair a library's DllGetVersion reports: ((major << 16) | minor, build << 16), each part
// taken as 16 bits. 6.0 build 2800 gives the text 6.0.2800.0.
VersionPair versionFromDllVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build);

// The shared count stored in a registry value's data: its first four bytes as an unsigned
// little-endian number, missing bytes counting as 0 (no data: 0).
std::uint32_t sharedCountFromBytes(const unsigned char* data, std::size_t size);
// The count after one more installation (it stays at the largest value rather than wrapping to
// 0, which would read as "no longer used") or one fewer (never below 0). A result of 0 after a
// decrement means the value is deleted.
std::uint32_t changedSharedCount(std::uint32_t count, bool decrement);

}  // namespace kelvara
