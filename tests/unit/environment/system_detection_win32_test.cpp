// Detections on the real system. Registry values are written into the prefix and put back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "environment/run_environment.h"
#include "environment/system_detection.h"
#include "environment/windows_release.h"
#include "registry_value.h"
#include "runtime/access_check_win32.h"

using namespace kelvara;

namespace {

constexpr char kIeKey[] = "Software\\Microsoft\\Internet Explorer";
constexpr char kOldIeKey[] = "Software\\Microsoft\\Windows\\Internet Explorer";

// A copy of a system program whose fixed file version is replaced by `version`.
std::string programWithVersion(const char* name, const unsigned version[4]) {
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    HANDLE in = ::CreateFileA((std::string(system) + "\\kernel32.dll").c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE) return "";
    std::vector<unsigned char> bytes(::GetFileSize(in, nullptr));
    DWORD read = 0;
    ::ReadFile(in, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(in);
    // VS_FIXEDFILEINFO: signature 0xFEEF04BD, structure version, then the file version.
    const unsigned char signature[] = {0xBD, 0x04, 0xEF, 0xFE};
    bool patched = false;
    const unsigned char structureVersion[] = {0x00, 0x00, 0x01, 0x00};
    for (std::size_t i = 0; i + 16 <= bytes.size(); ++i) {
        if (std::memcmp(&bytes[i], signature, 4) != 0 ||
            std::memcmp(&bytes[i + 4], structureVersion, 4) != 0) {
            continue;
        }
        DWORD ms = MAKELONG(version[1], version[0]);
        DWORD ls = MAKELONG(version[3], version[2]);
        std::memcpy(&bytes[i + 8], &ms, 4);
        std::memcpy(&bytes[i + 12], &ls, 4);
        patched = true;
    }
    if (!patched) return "";
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + name;
    HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(out);
    return path;
}

}  // namespace

TEST(SystemDetection, ThePrefixIsAnNtReleaseWithAdministrators) {
    EXPECT_EQ(detectWindowsVersion(), kWindowsNewer) << "Wine's default release is NT 6.1";
    runEnvironment.ntPlatform = false;
    EXPECT_TRUE(isNtPlatform());
    EXPECT_TRUE(runEnvironment.ntPlatform) << "the answer is stored";
    EXPECT_FALSE(isWindows95());
    runEnvironment.isAdministrator = false;
    EXPECT_TRUE(checkAdministrator());
    EXPECT_TRUE(runEnvironment.isAdministrator) << "Wine runs programs as an administrator";
}

// Wine runs everything as an administrator, so the other answer is shown on a token made for
// it: the process's own with the Administrators group turned into a deny-only group, as a
// standard user's filtered token has it.
TEST(SystemDetection, ATokenWhoseAdministratorsGroupIsOnlyForDenyingIsNoAdministrator) {
    HANDLE process = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(),
                                   TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY, &process));
    bool enabled = false;
    EXPECT_TRUE(tokenHasEnabledAdministrators(process, &enabled));
    EXPECT_TRUE(enabled);

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    ASSERT_TRUE(::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                           DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                           &administrators));
    SID_AND_ATTRIBUTES disable = {administrators, 0};
    HANDLE filtered = nullptr;
    ASSERT_TRUE(::CreateRestrictedToken(process, 0, 1, &disable, 0, nullptr, 0, nullptr, &filtered))
        << ::GetLastError();
    enabled = true;
    EXPECT_TRUE(tokenHasEnabledAdministrators(filtered, &enabled));
    EXPECT_FALSE(enabled) << "a deny-only Administrators group counts as none";

    enabled = true;
    EXPECT_FALSE(tokenHasEnabledAdministrators(nullptr, &enabled)) << "no token, no answer";
    EXPECT_FALSE(enabled);
    ::CloseHandle(filtered);
    ::FreeSid(administrators);
    ::CloseHandle(process);
}

TEST(SystemDetection, InternetExplorerFromTheRegistryValuesPresent) {
    SavedValue version(HKEY_LOCAL_MACHINE, kIeKey, "Version");
    SavedValue build(HKEY_LOCAL_MACHINE, kOldIeKey, "Build");
    SavedValue iver(HKEY_LOCAL_MACHINE, kOldIeKey, "IVer");
    build.set("1300");
    iver.set("100");
    version.set("6.0.2800.1106");
    EXPECT_EQ(detectIe(), 19) << "the Version value wins";
    version.set("5.50.4522.1800");
    EXPECT_EQ(detectIe(), 16);
    version.remove();
    EXPECT_EQ(detectIe(), 5) << "then the older key's Build";
    build.remove();
    EXPECT_EQ(detectIe(), 1) << "then its IVer";
    iver.remove();
    EXPECT_EQ(detectIe(), 0) << "none: no Internet Explorer";
}

TEST(SystemDetection, AccessFromTheProgramsFileVersion) {
    SavedValue appPath(HKEY_LOCAL_MACHINE, kAccessAppPath, nullptr);
    appPath.remove();
    EXPECT_EQ(detectAccess(), 0) << "no registered program";
    const unsigned sr1[4] = {8, 0, 0, 3822};
    std::string program = programWithVersion("kvr_access_sr1.exe", sr1);
    ASSERT_FALSE(program.empty());
    unsigned seen[4] = {};
    ASSERT_TRUE(readFileVersion(program.c_str(), seen));
    EXPECT_EQ(seen[0], 8u);
    EXPECT_EQ(seen[3], 3822u);
    appPath.set(program.c_str());
    EXPECT_EQ(detectAccess(), 5) << "Access 2000 SR1";
    const unsigned unknown[4] = {9, 0, 0, 3822};
    std::string other = programWithVersion("kvr_access_other.exe", unknown);
    appPath.set(other.c_str());
    EXPECT_EQ(detectAccess(), 0) << "a version not in the table";
    appPath.set("C:\\nowhere\\MSACCESS.EXE");
    EXPECT_EQ(detectAccess(), 0) << "a missing file";
    ::DeleteFileA(program.c_str());
    ::DeleteFileA(other.c_str());
}

TEST(SystemDetection, DirectXOnAFullWine) {
    // Wine has every component the probe asks for, including Direct3D 9.
    EXPECT_EQ(detectDirectX(), 0x0900u);
    SavedValue dxVersion(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX", "Version");
    dxVersion.set("4.08.01.0881");
    EXPECT_EQ(detectDirectX(), 0x0900u) << "Direct3D 9 outranks the registry value";
}
