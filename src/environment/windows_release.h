// Windows release codes: one scale over both families, as the requirement keywords compare them.
// Portable: the decision takes the fields GetVersionExA reports.
#pragma once

namespace kelvara {

enum WindowsVersionCode : int {
    kWindowsUnknown = 0,  // not recognised, or GetVersionExA failed
    kWindows95 = 1,
    kWindows95Osr2 = 2,
    kWindowsNt4 = 3,  // NT 3.51 or 4.0
    kWindows98 = 4,
    kWindows98Se = 5,
    kWindowsMe = 6,
    kWindows2000 = 7,
    kWindowsXp = 8,
    kWindows2003 = 9,
    kWindowsNewer = 10,  // NT 6.0 (Vista) and every later NT release
};

constexpr unsigned kPlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS: 95, 98, Me
constexpr unsigned kPlatformWin32Nt = 2;       // VER_PLATFORM_WIN32_NT

// What GetVersionExA said. servicePack may be null (read as empty).
struct WindowsVersionFacts {
    unsigned platform = 0;
    unsigned major = 0;
    unsigned minor = 0;
    const char* servicePack = nullptr;
};

// The release code for these facts; kWindowsUnknown for anything not in the table.
int windowsVersionCode(const WindowsVersionFacts& facts);

// Common-folder rule: the all-users folders exist (NT 4.0 / 3.51, Me and every later release).
bool commonFolderRule(int code);
// Newer-release rule: Me and later (the shared documents folder exists).
bool newerReleaseRule(int code);

}  // namespace kelvara
