#include <windows.h>

#include "environment/detection_rules.h"
#include "environment/registry_text_win32.h"
#include "environment/requirements.h"
#include "environment/run_environment.h"
#include "environment/system_detection.h"
#include "environment/windows_release.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/windows_version_demand.h"
#include "runtime/file_version_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/system_libraries_win32.h"
#include "runtime/system_view_win32.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

constexpr char kIeKey[] = "Software\\Microsoft\\Internet Explorer";
constexpr char kOldIeKey[] = "Software\\Microsoft\\Windows\\Internet Explorer";

int ieReleaseIndex() {
    HeapString version(readRegistryText(HKEY_LOCAL_MACHINE, kIeKey, "Version"));
    if (version) return ieIndexFromVersion(version.get());
    HeapString build(readRegistryText(HKEY_LOCAL_MACHINE, kOldIeKey, "Build"));
    if (build) return ieIndexFromBuild(parseNumber(build.get()));
    HeapString iver(readRegistryText(HKEY_LOCAL_MACHINE, kOldIeKey, "IVer"));
    if (iver) return ieIndexFromIVer(parseNumber(iver.get()));
    return 0;
}

// The engine's own processor: x86, or x64 for its 64-bit build (the test twin).
#if defined(_WIN64)
constexpr std::uint8_t kEngineArchitecture = kArchitectureX64;
#else
constexpr std::uint8_t kEngineArchitecture = kArchitectureX86;
#endif

std::uint8_t architectureOfMachine(USHORT machine) {
    switch (machine) {
        case IMAGE_FILE_MACHINE_AMD64:
            return kArchitectureX64;
        case 0xAA64:  // IMAGE_FILE_MACHINE_ARM64, which older headers lack
            return kArchitectureArm64;
        default:
            return kArchitectureX86;
    }
}

}  // namespace

std::uint8_t detectSystemArchitecture() {
    using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
    // Windows 10 from 1511 on tells the system's processor; IsWow64Process cannot tell ARM64
    // from x64, and GetNativeSystemInfo reports x86 to an x86 program there.
    USHORT processMachine = 0;
    USHORT nativeMachine = 0;
    auto process2 = loadedLibraryFunction<IsWow64Process2Fn>("kernel32.dll", "IsWow64Process2");
    if (process2 && process2(::GetCurrentProcess(), &processMachine, &nativeMachine)) {
        return architectureOfMachine(nativeMachine);
    }
    BOOL wow64 = FALSE;
    auto process1 = loadedLibraryFunction<IsWow64ProcessFn>("kernel32.dll", "IsWow64Process");
    if (process1 && process1(::GetCurrentProcess(), &wow64) && wow64) return kArchitectureX64;
    return kEngineArchitecture;
}

int detectWindowsVersion() {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof extended;
    auto* basic = reinterpret_cast<OSVERSIONINFOA*>(&extended);
    if (!::GetVersionExA(basic)) {
        // Windows 95 and NT before SP6 know only the short form.
        extended = {};
        basic->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!::GetVersionExA(basic)) return kWindowsUnknown;
    }
    // The manifest names every system up to Windows 11, so the numbers are the system's own.
    if (basic->dwPlatformId == VER_PLATFORM_WIN32_NT) {
        runEnvironment.windowsVersion = packWindowsVersion(
            basic->dwMajorVersion, basic->dwMinorVersion, basic->dwBuildNumber & 0xFFFF);
    }
    WindowsVersionFacts facts;
    facts.platform = basic->dwPlatformId;
    facts.major = basic->dwMajorVersion;
    facts.minor = basic->dwMinorVersion;
    facts.servicePack = basic->szCSDVersion;
    return windowsVersionCode(facts);
}

bool isNtPlatform() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (::GetVersionExA(&version)) {
        runEnvironment.ntPlatform = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }
    return runEnvironment.ntPlatform;
}

bool tokenHasEnabledAdministrators(void* token, bool* enabled) {
    *enabled = false;
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenGroups, nullptr, 0, &size) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return false;
    }
    HeapBlock buffer(size);
    if (!buffer.get() || !::GetTokenInformation(token, TokenGroups, buffer.get(), size, &size)) {
        return false;
    }
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        return false;
    }
    const auto* groups = static_cast<const TOKEN_GROUPS*>(buffer.get());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (::EqualSid(groups->Groups[i].Sid, administrators) &&
            (groups->Groups[i].Attributes & SE_GROUP_ENABLED)) {
            *enabled = true;
        }
    }
    ::FreeSid(administrators);
    return true;
}

bool checkAdministrator() {
    runEnvironment.isAdministrator = false;
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    UniqueHandle token(raw);
    return tokenHasEnabledAdministrators(token.get(), &runEnvironment.isAdministrator);
}

bool runsAsServiceAccount() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    UniqueHandle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    HeapBlock buffer(size);
    if (!buffer.get() || !::GetTokenInformation(token.get(), TokenUser, buffer.get(), size, &size))
        return false;
    PSID user = static_cast<const TOKEN_USER*>(buffer.get())->User.Sid;
    // S-1-5-18, -19 and -20: the system's own account, the local and the network service.
    constexpr BYTE kNtAuthority[6] = {0, 0, 0, 0, 0, 5};
    const SID_IDENTIFIER_AUTHORITY* authority = ::GetSidIdentifierAuthority(user);
    if (!::IsValidSid(user) || !authority || *::GetSidSubAuthorityCount(user) != 1) return false;
    for (int i = 0; i < 6; ++i) {
        if (authority->Value[i] != kNtAuthority[i]) return false;
    }
    const DWORD rid = *::GetSidSubAuthority(user, 0);
    return rid == SECURITY_LOCAL_SYSTEM_RID || rid == SECURITY_LOCAL_SERVICE_RID ||
           rid == SECURITY_NETWORK_SERVICE_RID;
}

int detectIe() {
    return ieLevelFromIndex(ieReleaseIndex());
}

bool readFileVersion(const char* path, unsigned version[4]) {
    VersionPair found;
    if (!versionFromResource(path, &found, false)) return false;
    version[0] = found.ms >> 16;
    version[1] = found.ms & 0xFFFF;
    version[2] = found.ls >> 16;
    version[3] = found.ls & 0xFFFF;
    return true;
}

int detectAccess() {
    HeapString program(readRegistryText(HKEY_LOCAL_MACHINE, kAccessAppPath, nullptr));
    if (!program) return 0;
    FourPartVersion version;
    if (!readFileVersion(program.get(), version.part)) return 0;
    return accessLevelFromVersion(version);
}

void runSystemDetections() {
    RunEnvironment& run = runEnvironment;
    run.ieLevel = detectIe();
    // DirectX is probed by the requirement check, and only when the script asks for it: loading
    // its libraries costs about a second on some systems, and nothing else reads the version.
    run.accessLevel = detectAccess();
    checkAdministrator();
    run.windowsVersionCode = detectWindowsVersion();
}

void detectSystemSide() {
    runEnvironment.systemArchitecture = detectSystemArchitecture();
    if (runEnvironment.systemArchitecture != kArchitectureX86) useRegistryViews();
}

int checkRequirements() {
    const SetupState& config = setupState;
    if (config.requiredDirectX.get() && *config.requiredDirectX.get()) {
        runEnvironment.directXVersion = detectDirectX();
    }
    return checkRequirements(config, runEnvironment, isNtPlatform());
}

}  // namespace kelvara
