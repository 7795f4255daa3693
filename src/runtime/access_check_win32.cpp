// The access check: may the run's thread token do something to a file, folder or registry key?
// The three security functions are looked up at run time; Windows 95 lacks them.
#include "runtime/access_check_win32.h"

#include <aclapi.h>

#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/system_libraries_win32.h"

namespace kelvara {
namespace {

using GetNamedSecurityInfoFn = decltype(&::GetNamedSecurityInfoA);
using MapGenericMaskFn = decltype(&::MapGenericMask);
using AccessCheckFn = decltype(&::AccessCheck);

struct SecurityFunctions {
    UniqueModule library;
    GetNamedSecurityInfoFn getNamedSecurityInfo = nullptr;
    MapGenericMaskFn mapGenericMask = nullptr;
    AccessCheckFn accessCheck = nullptr;
};

SecurityFunctions security;

constexpr GENERIC_MAPPING kFileMapping = {0x120089, 0x120116, 0x1200A0, 0x1F01FF};
constexpr GENERIC_MAPPING kKeyMapping = {0x20019, 0x20006, 0x20019, 0xF003F};

bool functionsLoaded() {
    return security.getNamedSecurityInfo && security.mapGenericMask && security.accessCheck;
}

// AccessCheck, first with a privilege set of length 0 to learn the size the system wants, then
// with one of that size from the heap. The first call gets a real (unused) buffer, not null: with
// a null set the system fails with ERROR_NOACCESS instead of telling the size, and every check
// would come back unmade. 0, or the last error.
DWORD runAccessCheck(PSECURITY_DESCRIPTOR descriptor, HANDLE token, DWORD access,
                     GENERIC_MAPPING* mapping, bool* granted) {
    DWORD grantedAccess = 0;
    BOOL status = FALSE;
    PRIVILEGE_SET probe = {};
    DWORD setLength = 0;
    if (security.accessCheck(descriptor, token, access, mapping, &probe, &setLength, &grantedAccess,
                             &status)) {
        *granted = status != FALSE;
        return 0;
    }
    DWORD error = ::GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) return error;
    auto* privileges = static_cast<PPRIVILEGE_SET>(heapAlloc(setLength));
    if (!privileges) return ERROR_NOT_ENOUGH_MEMORY;
    if (security.accessCheck(descriptor, token, access, mapping, privileges, &setLength,
                             &grantedAccess, &status)) {
        *granted = status != FALSE;
        error = 0;
    } else {
        error = ::GetLastError();
    }
    heapFree(privileges);
    return error;
}

}  // namespace

bool isWindows95() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version)) return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMajorVersion == 4 &&
           version.dwMinorVersion == 0;
}

bool loadSecurityFunctions() {
    if (functionsLoaded() || isWindows95()) return true;
    UniqueModule library(loadSystemLibrary("advapi32.dll"));
    if (!library) return false;
    auto getInfo = libraryFunction<GetNamedSecurityInfoFn>(library.get(), "GetNamedSecurityInfoA");
    auto mapMask = libraryFunction<MapGenericMaskFn>(library.get(), "MapGenericMask");
    auto check = libraryFunction<AccessCheckFn>(library.get(), "AccessCheck");
    if (!getInfo || !mapMask || !check) return false;  // the library is released on return
    security.library = std::move(library);
    security.getNamedSecurityInfo = getInfo;
    security.mapGenericMask = mapMask;
    security.accessCheck = check;
    return true;
}

void releaseSecurityFunctions() {
    security.getNamedSecurityInfo = nullptr;
    security.mapGenericMask = nullptr;
    security.accessCheck = nullptr;
    security.library.reset();
}

DWORD checkAccess(HANDLE token, const char* objectName, int objectKind, DWORD desiredAccess,
                  bool* granted) {
    bool verdict = true;
    if (!granted) granted = &verdict;
    *granted = true;
    if (isWindows95()) return 0;
    if (!functionsLoaded()) return 1;
    UniqueLocalMemory descriptor;
    PSID owner = nullptr;
    PSID group = nullptr;
    PACL dacl = nullptr;
    DWORD error = security.getNamedSecurityInfo(
        objectName, static_cast<SE_OBJECT_TYPE>(objectKind),
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
        &group, &dacl, nullptr, descriptor.put());
    if (error != ERROR_SUCCESS) return error;
    GENERIC_MAPPING mapping = objectKind == kObjectRegistryKey ? kKeyMapping : kFileMapping;
    DWORD access = desiredAccess;
    security.mapGenericMask(&access, &mapping);
    return runAccessCheck(descriptor.get(), token, access, &mapping, granted);
}

}  // namespace kelvara
