// Whether the run's thread token may do something to a file, folder or registry key.
#pragma once
#include <windows.h>

namespace kelvara {

constexpr int kObjectFile = 1;         // SE_FILE_OBJECT
constexpr int kObjectRegistryKey = 4;  // SE_REGISTRY_KEY

// Windows 95 exactly (4.0 on the 95/98/Me platform), OSR2 included: it has no file security.
bool isWindows95();

// Loads the three access functions from advapi32 (not on Windows 95, where every access is
// granted). True when loaded or not needed; false on failure, all pointers cleared.
bool loadSecurityFunctions();
void releaseSecurityFunctions();

// 0 when checked (granted says the verdict), or a system error code with granted true (the check
// could not be made: Windows 95 gives 0, missing access functions give 1).
DWORD checkAccess(HANDLE token, const char* objectName, int objectKind, DWORD desiredAccess,
                  bool* granted);

}  // namespace kelvara
