#include "runtime/drive_space_win32.h"

#include <windows.h>

namespace kelvara {
namespace {

using GetDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                                 PULARGE_INTEGER);

}  // namespace

std::uint64_t freeSpace(const char* drive) {
    // Looked up at run time: the first releases of Windows 95 lack it.
    auto freeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("KERNEL32.DLL"), "GetDiskFreeSpaceExA")));
    if (freeSpaceEx) {
        ULARGE_INTEGER available = {};
        ULARGE_INTEGER total = {};
        ULARGE_INTEGER free = {};
        return freeSpaceEx(drive, &available, &total, &free) ? available.QuadPart : 0;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!::GetDiskFreeSpaceA(drive, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                             &clusters)) {
        return 0;
    }
    return static_cast<std::uint64_t>(sectorsPerCluster * bytesPerSector) * freeClusters;
}

void driveOf(const char* path, char (&drive)[3]) {
    drive[0] = path ? path[0] : '\0';
    drive[1] = ':';
    drive[2] = '\0';
}

}  // namespace kelvara
