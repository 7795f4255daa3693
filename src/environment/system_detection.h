// System detections: the Windows release, the NT platform, administrator rights, Internet
// Explorer, DirectX and Access (Windows only). None reports an error: what is missing yields 0.
#pragma once
#include <cstdint>

namespace kelvara {

// The key whose unnamed value is the path of MSACCESS.EXE (the <MSAccess> token and detectAccess).
constexpr char kAccessAppPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\MSACCESS.EXE";

// The processor of the system's Windows as a kArchitecture* value (formats/script_format.h):
// IsWow64Process2 where the system has it, IsWow64Process before, else the engine's own.
std::uint8_t detectSystemArchitecture();

// The release code (environment/windows_release.h); 0 when GetVersionExA fails.
int detectWindowsVersion();
// Whether the platform is NT; stores the answer in runEnvironment.ntPlatform when the system gave
// one and returns the stored flag.
bool isNtPlatform();

// Sets runEnvironment.isAdministrator from the process token (enabled built-in Administrators
// group). True when the membership could be determined; on false isAdministrator is false.
bool checkAdministrator();
// The rule it applies to a token (a HANDLE): `enabled` is set when the token holds the built-in
// Administrators group enabled (a group kept only for denying does not count). True when the
// token's groups could be read.
bool tokenHasEnabledAdministrators(void* token, bool* enabled);

// Whether the run's process token is that of the system's own account or a service's
// (LocalSystem, LocalService, NetworkService), as a deployment service starts installers. False
// when the token cannot be read.
bool runsAsServiceAccount();

// Internet Explorer requirement level 0..20, DirectX version 0xMMmm, Access level 0..7.
int detectIe();
std::uint32_t detectDirectX();
int detectAccess();

// Four-part file version from the file's version resource. False when it has none.
bool readFileVersion(const char* path, unsigned version[4]);

// Stores the system's processor in runEnvironment.systemArchitecture and, on a 64-bit Windows,
// lets the registry views be used. Before the folder tokens are resolved: some name a side.
void detectSystemSide();

// The detections of start-up stage 0 in their order, results stored in setupState. DirectX is
// left to the requirement check.
void runSystemDetections();

// The requirement check for this run, against the stored detections and the platform now; the
// DirectX version is detected here when the script requires one.
int checkRequirements();

}  // namespace kelvara
