#include "formats/windows_version_demand.h"

#include <cstring>

namespace kelvara {

const WindowsReleaseName kWindowsReleaseNames[kWindowsReleaseNameCount] = {
    {"7", packWindowsVersion(6, 1, 0)},       {"8", packWindowsVersion(6, 2, 0)},
    {"8.1", packWindowsVersion(6, 3, 0)},     {"10", packWindowsVersion(10, 0, 0)},
    {"11", packWindowsVersion(10, 0, 22000)},
};

namespace {

// Reads decimal digits at *text up to `limit`; false when there are none or the number is
// larger than the limit.
bool readNumber(const char** text, unsigned limit, unsigned* value) {
    const char* p = *text;
    unsigned number = 0;
    if (*p < '0' || *p > '9') return false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        number = number * 10 + static_cast<unsigned>(*p - '0');
        if (number > limit) return false;
    }
    *text = p;
    *value = number;
    return true;
}

}  // namespace

std::uint32_t windowsVersionDemand(const char* text) {
    if (!text) return 0;
    for (const WindowsReleaseName& release : kWindowsReleaseNames) {
        if (std::strcmp(text, release.name) == 0) return release.version;
    }
    unsigned major = 0, minor = 0, build = 0;
    const char* p = text;
    if (!readNumber(&p, 0xFF, &major) || *p++ != '.' || !readNumber(&p, 0xFF, &minor)) return 0;
    if (*p == '.' && (++p, !readNumber(&p, 0xFFFF, &build))) return 0;
    if (*p != '\0' || major == 0) return 0;
    return packWindowsVersion(major, minor, build);
}

}  // namespace kelvara
