#include "environment/windows_release.h"

namespace kelvara {
namespace {

// The second character of the service string tells the 9x updates apart (" C", " A").
char updateLetter(const char* servicePack) {
    if (!servicePack || !servicePack[0]) return '\0';
    return servicePack[1];
}

int windows9xCode(const WindowsVersionFacts& f) {
    if (f.major != 4) return kWindowsUnknown;
    switch (f.minor) {
        case 0:
            return updateLetter(f.servicePack) == 'C' ? kWindows95Osr2 : kWindows95;
        case 10:
            return updateLetter(f.servicePack) == 'A' ? kWindows98Se : kWindows98;
        case 90:
            return kWindowsMe;
        default:
            return kWindowsUnknown;
    }
}

int windowsNtCode(const WindowsVersionFacts& f) {
    if ((f.major == 3 && f.minor == 51) || f.major == 4) return kWindowsNt4;
    if (f.major == 5) {
        if (f.minor == 0) return kWindows2000;
        if (f.minor == 1) return kWindowsXp;
        if (f.minor == 2) return kWindows2003;
        return kWindowsUnknown;
    }
    // Vista and later have every feature that Server 2003 has: treating them as unknown would
    // refuse "XP" setups on every current Windows and send all-users items to per-user folders.
    if (f.major >= 6) return kWindowsNewer;
    return kWindowsUnknown;
}

}  // namespace

int windowsVersionCode(const WindowsVersionFacts& facts) {
    if (facts.platform == kPlatformWin32Windows) return windows9xCode(facts);
    if (facts.platform == kPlatformWin32Nt) return windowsNtCode(facts);
    return kWindowsUnknown;
}

bool commonFolderRule(int code) {
    return code == kWindowsNt4 || code > kWindows98Se;
}

bool newerReleaseRule(int code) {
    return code > kWindows98Se;
}

}  // namespace kelvara
