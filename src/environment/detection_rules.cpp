#include "environment/detection_rules.h"

#include <cstring>

#include "runtime/text_utils.h"

namespace kelvara {
namespace {

struct Threshold {
    int minimum;
    int index;
};

// IE 6 and later: the build number alone tells the service packs apart.
constexpr Threshold kIe6Builds[] = {
    {3790, 42}, {3718, 41}, {3663, 40}, {2800, 39}, {2600, 38}, {2479, 37}, {0, 36},
};

// IE 4 and 5 put their own major version first ("4.72.3110.8", "5.50.4522.1800"); their build
// numbers overlap the IE 6 thresholds, so these releases are told apart by minor and build.
struct OlderRelease {
    unsigned major;
    unsigned minor;
    int minimumBuild;
    int index;
};
constexpr OlderRelease kOlderIeReleases[] = {
    {5, 50, 4807, 35},  // 5.5 SP2
    {5, 50, 4522, 34},  // 5.5 SP1
    {5, 50, 0, 29},     // 5.5
    {5, 0, 3502, 28},   // 5.01 SP3
    {5, 0, 3314, 26},   // 5.01 SP2
    {5, 0, 3103, 24},   // 5.01 SP1
    {5, 0, 2919, 19},   // 5.01
    {5, 0, 0, 14},      // 5.0
    {4, 72, 3612, 13},  // 4.01 SP2
    {4, 72, 3110, 12},  // 4.01 SP1
    {4, 72, 0, 11},     // 4.01
    {4, 71, 0, 8},      // 4.0
};

constexpr Threshold kIeBuilds[] = {{1300, 7}, {1215, 6}, {1158, 5}, {1155, 4}, {0, 2}};

// Release index ranges and their levels; index 41 (builds 3718 to 3789, between two releases
// that both give 19) gets the level of its neighbours, not "no Internet Explorer".
struct IndexRange {
    int first;
    int last;
    int level;
};
constexpr IndexRange kIeLevels[] = {
    {0, 0, 0},    {1, 1, 1},    {2, 3, 2},    {4, 5, 3},    {6, 6, 4},    {7, 7, 5},
    {8, 10, 6},   {11, 11, 7},  {12, 12, 8},  {13, 13, 9},  {14, 18, 10}, {19, 23, 11},
    {24, 25, 12}, {26, 27, 13}, {28, 28, 14}, {29, 33, 15}, {34, 34, 16}, {35, 35, 17},
    {36, 38, 18}, {39, 42, 19}, {43, 43, 20},
};

template <std::size_t N>
int firstThreshold(const Threshold (&table)[N], int value) {
    for (const Threshold& row : table) {
        if (value >= row.minimum) return row.index;
    }
    return table[N - 1].index;
}

constexpr FourPartVersion kAccessVersions[] = {
    {{8, 0, 0, 3512}}, {{8, 0, 0, 4122}}, {{8, 0, 0, 5903}},  {{8, 0, 0, 2719}},
    {{8, 0, 0, 3822}}, {{8, 0, 0, 4506}}, {{10, 0, 2627, 1}},
};

}  // namespace

FourPartVersion splitVersionText(const char* text) {
    FourPartVersion version;
    const char* p = text ? text : "";
    for (unsigned& part : version.part) {
        part = static_cast<unsigned>(parseNumber(p));
        const char* dot = std::strchr(p, '.');
        if (!dot) break;
        p = dot + 1;
    }
    return version;
}

int ieIndexFromVersion(const char* version) {
    FourPartVersion v = splitVersionText(version);
    int build = static_cast<int>(v.part[2]);
    if (v.part[0] >= 6) return firstThreshold(kIe6Builds, build);
    for (const OlderRelease& release : kOlderIeReleases) {
        if (v.part[0] == release.major && v.part[1] == release.minor &&
            build >= release.minimumBuild) {
            return release.index;
        }
    }
    return firstThreshold(kIe6Builds, build);  // an unknown older form: the build decides
}

int ieIndexFromBuild(int build) {
    return firstThreshold(kIeBuilds, build);
}

int ieIndexFromIVer(int iver) {
    if (iver >= 102) return 2;
    if (iver == 101) return 3;
    return 1;
}

int ieLevelFromIndex(int index) {
    for (const IndexRange& range : kIeLevels) {
        if (index >= range.first && index <= range.last) return range.level;
    }
    return 0;
}

int accessLevelFromVersion(const FourPartVersion& version) {
    int level = 1;
    for (const FourPartVersion& known : kAccessVersions) {
        if (std::memcmp(known.part, version.part, sizeof known.part) == 0) return level;
        ++level;
    }
    return 0;
}

std::uint32_t directX8Version(const char* registryVersion) {
    constexpr char kDirectX81Prefix[] = "4.08.01";
    if (registryVersion &&
        std::strncmp(registryVersion, kDirectX81Prefix, sizeof kDirectX81Prefix - 1) == 0) {
        return kDirectX81;
    }
    return kDirectX8;
}

}  // namespace kelvara
