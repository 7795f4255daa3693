// Which products a system can install, and on which side of it: an x86 product runs on every
// Windows and installs as a 32-bit program; a 64-bit one (x64, arm64) needs a system that runs
// it and installs on its native side (its folders, the 64-bit registry view). Portable.
#pragma once
#include <cstdint>

namespace kelvara {

// The first build of Windows 11: ARM64 Windows runs x64 programs from there on.
constexpr std::uint32_t kWindows11Build = 22000;

// True for the architecture values this engine knows (x86, x64, arm64).
bool architectureKnown(std::uint8_t product);

// Whether a product built for `product` runs on a system whose processor is `system` (both
// kArchitecture* values) at `windowsVersion` (packed as formats/windows_version_demand.h does):
// x86 everywhere; x64 on x64, and on ARM64 from Windows 11 on; arm64 on ARM64 alone.
bool architectureRuns(std::uint8_t product, std::uint8_t system, std::uint32_t windowsVersion);

// The 64-bit mode: a 64-bit product on a system that runs it.
bool installsOnNativeSide(std::uint8_t product, std::uint8_t system, std::uint32_t windowsVersion);

}  // namespace kelvara
