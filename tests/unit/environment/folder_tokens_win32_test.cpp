// Folder tokens on the real system: the prefix the unit tests run in (an NT release).
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "environment/folder_expansion.h"
#include "environment/folder_tokens_win32.h"
#include "environment/run_environment.h"
#include "environment/system_detection.h"
#include "environment/windows_release.h"
#include "formats/folder_token_names.h"
#include "formats/script_format.h"
#include "registry_value.h"
#include "runtime/heap.h"

using namespace kelvara;

namespace {

constexpr char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string lower(std::string s) {
    if (!s.empty()) ::CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

bool sameFolder(const std::string& a, const std::string& b) {
    return lower(a) == lower(b);
}

std::string tempFolder() {
    char path[MAX_PATH];
    DWORD length = ::GetTempPathA(MAX_PATH, path);
    if (length && (path[length - 1] == '\\' || path[length - 1] == '/')) path[length - 1] = '\0';
    return path;
}

std::string shellFolder(int identifier) {
    char path[MAX_PATH];
    return ::SHGetSpecialFolderPathA(nullptr, path, identifier, FALSE) ? path : "";
}

bool isFolder(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class FolderResolution : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(loadShellFunctions());
        ASSERT_TRUE(loadShellFunctions()) << "a second load is a no-op";
    }
    void TearDown() override {
        runEnvironment.folderPaths.destroy();
        releaseShellFunctions();
    }
};

}  // namespace

TEST_F(FolderResolution, EveryTokenIsAFolderOrItsFallBack) {
    ASSERT_EQ(detectWindowsVersion(), kWindowsNewer) << "the unit tests expect an NT 6+ prefix";
    ASSERT_TRUE(runEnvironment.folderPaths.create(5));
    detectSystemSide();
    ASSERT_TRUE(fillFolderPaths());
    ASSERT_EQ(runEnvironment.folderPaths.count(), kFolderTokenCount);
    const std::string temp = tempFolder();
    // A 32-bit Windows has no 64-bit side: those tokens name nothing, and stay as written.
    const bool oneSide = runEnvironment.systemArchitecture == kArchitectureX86;
    for (int token = 0; token < kFolderTokenCount; ++token) {
        const char* name = kFolderTokenNames[token];
        const bool noSide = token == kTokenProgramFiles64 || token == kTokenSysWow64;
        if (oneSide && noSide) {
            EXPECT_EQ(runEnvironment.folderPaths.get(token), nullptr) << name;
            continue;
        }
        ASSERT_NE(runEnvironment.folderPaths.get(token), nullptr) << name;
        std::string path = runEnvironment.folderPaths.get(token);
        ASSERT_FALSE(path.empty()) << name;
        if (token == kTokenAllUsers) continue;  // a path built from the profile list, see below
        if (token == kTokenIe || token == kTokenMsAccess) {
            EXPECT_TRUE(sameFolder(path, temp)) << name << " without the software: " << path;
            continue;
        }
        EXPECT_TRUE(isFolder(path)) << name << " = " << path;
        EXPECT_NE(path.back(), '\\') << name;
    }
    EXPECT_TRUE(sameFolder(runEnvironment.folderPaths.get(kTokenCommonDesktop),
                           shellFolder(CSIDL_COMMON_DESKTOPDIRECTORY)))
        << "NT 6 and later follow the common-folder rule";
    EXPECT_FALSE(sameFolder(runEnvironment.folderPaths.get(kTokenCommonDesktop),
                            runEnvironment.folderPaths.get(kTokenDesktop)));
    EXPECT_TRUE(sameFolder(runEnvironment.folderPaths.get(kTokenCommonDocuments),
                           shellFolder(CSIDL_COMMON_DOCUMENTS)));
    EXPECT_TRUE(sameFolder(runEnvironment.folderPaths.get(kTokenTemp), temp));
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_TRUE(sameFolder(runEnvironment.folderPaths.get(kTokenWindows), windows));

    // Expansion over the real folders: any case, every occurrence.
    char* expanded = expandFolderTokens("<programfiles>\\App;<PROGRAMFILES>\\App");
    std::string programFiles = runEnvironment.folderPaths.get(kTokenProgramFiles);
    EXPECT_EQ(expanded, programFiles + "\\App;" + programFiles + "\\App");
    heapFree(expanded);
}

TEST_F(FolderResolution, IndexOutOfTheTableIsTemp) {
    const std::string temp = tempFolder();
    EXPECT_TRUE(sameFolder(resolveFolder(kFolderTokenCount), temp));
    EXPECT_TRUE(sameFolder(resolveFolder(1000), temp));
    EXPECT_TRUE(sameFolder(resolveFolder(kTokenTemp), temp));
}

TEST_F(FolderResolution, QuickLaunchFallsBackToTempUntilTheFolderExists) {
    std::string quickLaunch =
        std::string(resolveFolder(kTokenAppData)) + "\\Microsoft\\Internet Explorer\\Quick Launch";
    ::RemoveDirectoryA(quickLaunch.c_str());
    ASSERT_FALSE(isFolder(quickLaunch));
    EXPECT_TRUE(sameFolder(resolveFolder(kTokenQuickLaunch), tempFolder()));
    std::string ie = std::string(resolveFolder(kTokenAppData)) + "\\Microsoft\\Internet Explorer";
    ::CreateDirectoryA((std::string(resolveFolder(kTokenAppData)) + "\\Microsoft").c_str(),
                       nullptr);
    ::CreateDirectoryA(ie.c_str(), nullptr);
    ASSERT_TRUE(::CreateDirectoryA(quickLaunch.c_str(), nullptr));
    EXPECT_EQ(std::string(resolveFolder(kTokenQuickLaunch)), quickLaunch);
    ::RemoveDirectoryA(quickLaunch.c_str());
}

TEST_F(FolderResolution, MissingMediaFoldersAreMadeAndRecorded) {
    SavedValue userVideo(HKEY_CURRENT_USER, kShellFolders, "My Video");
    SavedValue commonMusic(HKEY_LOCAL_MACHINE, kShellFolders, "CommonMusic");
    userVideo.remove();
    commonMusic.set("");  // empty counts as missing
    const std::string expectedVideo = shellFolder(CSIDL_PERSONAL) + "\\My Video";
    const std::string expectedMusic =
        std::string(resolveFolder(kTokenCommonDocuments)) + "\\My Music";
    ::RemoveDirectoryA(expectedVideo.c_str());
    ::RemoveDirectoryA(expectedMusic.c_str());

    EXPECT_EQ(std::string(resolveFolder(kTokenVideo)), expectedVideo);
    EXPECT_TRUE(isFolder(expectedVideo));
    EXPECT_EQ(userVideo.read(), expectedVideo) << "written back under HKCU";
    EXPECT_EQ(std::string(resolveFolder(kTokenCommonMusic)), expectedMusic);
    EXPECT_TRUE(isFolder(expectedMusic));
    EXPECT_EQ(commonMusic.read(), expectedMusic) << "written back under HKLM";

    // A recorded value is taken as stored, without looking at the disk.
    userVideo.set("Q:\\Elsewhere\\Video");
    EXPECT_STREQ(resolveFolder(kTokenVideo), "Q:\\Elsewhere\\Video");
    // The folders stay: a value put back may name them.
}

TEST_F(FolderResolution, RegistryRulesForFilesAndProfiles) {
    SavedValue iePath(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\IE Setup\\Setup", "Path");
    iePath.set("C:\\Program Files\\Internet Explorer");
    EXPECT_STREQ(resolveFolder(kTokenIe), "C:\\Program Files\\Internet Explorer\\iexplore.exe");
    SavedValue access(HKEY_LOCAL_MACHINE, kAccessAppPath, nullptr);
    access.set("C:\\Office\\MSACCESS.EXE");
    EXPECT_STREQ(resolveFolder(kTokenMsAccess), "C:\\Office\\MSACCESS.EXE");

    constexpr char kProfileList[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
    SavedValue profiles(HKEY_LOCAL_MACHINE, kProfileList, "ProfilesDirectory");
    SavedValue allUsers(HKEY_LOCAL_MACHINE, kProfileList, "AllUsersProfile");
    profiles.set("%SystemDrive%\\Profiles");
    allUsers.set("All Users");
    char drive[8] = {};
    ::GetEnvironmentVariableA("SystemDrive", drive, sizeof drive);
    EXPECT_EQ(std::string(resolveFolder(kTokenAllUsers)),
              std::string(drive) + "\\Profiles\\All Users");
    // Vista and later: no "AllUsersProfile", the all-users profile is "ProgramData".
    allUsers.remove();
    SavedValue programData(HKEY_LOCAL_MACHINE, kProfileList, "ProgramData");
    programData.set("%SystemDrive%\\Shared Data");
    EXPECT_EQ(std::string(resolveFolder(kTokenAllUsers)), std::string(drive) + "\\Shared Data");
    // Neither value: the Windows folder's Profiles folder, as on the releases before NT 5.
    programData.remove();
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(std::string(resolveFolder(kTokenAllUsers)),
              std::string(windows) + "\\Profiles\\All Users");
}
