// Windows versions a script may demand beyond the release keywords: the names of the releases
// from Windows 7 on ("7", "8", "8.1", "10", "11") and a version as numbers ("10.0.17763":
// major.minor, optionally .build). The engine's check and the builder's reader both read them
// here. Portable.
#pragma once
#include <cstdint>

namespace kelvara {

// A Windows version as one comparable number: major in the top byte, minor in the next, the
// build in the low 16 bits.
constexpr std::uint32_t packWindowsVersion(unsigned major, unsigned minor, unsigned build) {
    return (major << 24) | (minor << 16) | build;
}

// The releases named from Windows 7 on, with their first version. Windows 11 is NT 10.0 from
// build 22000 on.
struct WindowsReleaseName {
    const char* name;
    std::uint32_t version;
};
constexpr int kWindowsReleaseNameCount = 5;
extern const WindowsReleaseName kWindowsReleaseNames[kWindowsReleaseNameCount];

// The version a demand names, or 0 when the text is neither a release name nor a version
// (numbers out of range, trailing text, the empty text, a major version of 0). A version needs
// its minor part: "10" is the release name.
std::uint32_t windowsVersionDemand(const char* text);

}  // namespace kelvara
