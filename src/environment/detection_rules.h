// The decisions behind the Internet Explorer, Access and DirectX detections, from the values
// the system gives (registry texts, file versions). Portable: plain data in, levels out.
#pragma once
#include <cstdint>

namespace kelvara {

// A version as four numbers, most significant first.
struct FourPartVersion {
    unsigned part[4] = {};
};

// Splits "a.b.c.d" at dots into four numbers (the script's number rule); missing parts are 0.
FourPartVersion splitVersionText(const char* text);

// Internet Explorer release index from the "Version" value of the Internet Explorer key.
int ieIndexFromVersion(const char* version);
// Release index from the older key's "Build" value (IE 3 and 4 era), or from its "IVer" value.
int ieIndexFromBuild(int build);
int ieIndexFromIVer(int iver);
// Requirement level (0..20) of a release index; 0 for an index with no level.
int ieLevelFromIndex(int index);

// Access release level (1..7) of MSACCESS.EXE's file version, 0 when it is none of the known ones.
int accessLevelFromVersion(const FourPartVersion& version);

constexpr std::uint32_t kDirectX8 = 0x0800;
constexpr std::uint32_t kDirectX81 = 0x0801;
// DirectX 8.0 or 8.1, by the DirectX key's "Version" value (null when absent).
std::uint32_t directX8Version(const char* registryVersion);

}  // namespace kelvara
