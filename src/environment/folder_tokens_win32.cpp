// The folder rules. Every rule resolves into one shared buffer; rules that build on another
// token resolve it first (through resolveFolder) and continue in the same buffer.
#include <cstring>

#include "environment/folder_tokens_win32.h"
#include "environment/registry_text_win32.h"
#include "environment/run_environment.h"
#include "environment/system_detection.h"
#include "environment/windows_release.h"
#include "formats/folder_token_names.h"
#include "formats/script_format.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/registry_keys_win32.h"
#include "runtime/system_libraries_win32.h"
#include "runtime/system_view_win32.h"

namespace kelvara {
namespace {

using SHGetFolderLocationFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPITEMIDLIST*);
using SHGetSpecialFolderPathAFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
using SHGetSpecialFolderLocationFn = HRESULT(WINAPI*)(HWND, int, LPITEMIDLIST*);
using SHGetPathFromIDListFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
using ILFreeFn = void(WINAPI*)(LPITEMIDLIST);

constexpr WORD kILFreeOrdinal = 155;

struct ShellFunctions {
    UniqueModule library;
    SHGetFolderLocationFn getFolderLocation = nullptr;
    SHGetSpecialFolderPathAFn getSpecialFolderPath = nullptr;
    SHGetSpecialFolderLocationFn getSpecialFolderLocation = nullptr;
    SHGetPathFromIDListFn getPathFromIdList = nullptr;
    ILFreeFn ilFree = nullptr;
};

ShellFunctions shell;

char resolved[kResolvedFolderSize];
bool noFolder = false;  // the last token resolved names a side the system does not have

constexpr char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kProfileList[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr int kNoIdentifier = -1;  // a row resolved by its own rule
#if defined(_WIN64)
constexpr bool kEngineIs32Bit = false;  // the test twin: its System32 is the native one
#else
constexpr bool kEngineIs32Bit = true;
#endif

// Default identifier of each token (the rule table overrides several).
constexpr int kTokenIdentifiers[kFolderTokenCount] = {
    CSIDL_APPDATA,
    CSIDL_COMMON_APPDATA,
    CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_COMMON_FAVORITES,
    CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_COMMON_PROGRAMS,
    CSIDL_COMMON_STARTMENU,
    CSIDL_COMMON_STARTUP,
    CSIDL_COMMON_TEMPLATES,
    CSIDL_DESKTOPDIRECTORY,
    kNoIdentifier,
    CSIDL_FAVORITES,
    CSIDL_FONTS,
    kNoIdentifier,
    CSIDL_NETHOOD,
    CSIDL_PERSONAL,
    CSIDL_PROGRAM_FILES,
    CSIDL_PROGRAMS,
    kNoIdentifier,
    CSIDL_SENDTO,
    CSIDL_STARTMENU,
    CSIDL_STARTUP,
    CSIDL_SYSTEM,
    kNoIdentifier,
    CSIDL_TEMPLATES,
    CSIDL_WINDOWS,
    CSIDL_PROFILE,
    kNoIdentifier,
    CSIDL_COMMON_DOCUMENTS,
    kNoIdentifier,
    kNoIdentifier,
    kNoIdentifier,
    kNoIdentifier,
    kNoIdentifier,
    kNoIdentifier,
    kNoIdentifier,
    kNoIdentifier,
    kNoIdentifier,
    kNoIdentifier,
};

// Tokens whose all-users folder exists only where the common-folder rule holds, with the
// per-user folder used elsewhere.
struct CommonFolder {
    int token;
    int common;
    int perUser;
};
constexpr CommonFolder kCommonFolders[] = {
    {kTokenCommonDesktop, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY},
    {kTokenCommonFavorites, CSIDL_COMMON_FAVORITES, CSIDL_FAVORITES},
    {kTokenCommonPrograms, CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS},
    {kTokenCommonStartMenu, CSIDL_COMMON_STARTMENU, CSIDL_STARTMENU},
    {kTokenCommonStartup, CSIDL_COMMON_STARTUP, CSIDL_STARTUP},
};

// Media folders: a Shell Folders value, or a sub-folder made (and recorded) when it is missing.
struct MediaFolder {
    int token;
    bool allUsers;          // HKLM and <CommonDocuments>, else HKCU and the user's documents
    const char* valueName;  // Shell Folders value
    const char* subFolder;
};
constexpr MediaFolder kMediaFolders[] = {
    {kTokenCommonPictures, true, "CommonPictures", "My Pictures"},
    {kTokenCommonMusic, true, "CommonMusic", "My Music"},
    {kTokenCommonVideo, true, "CommonVideo", "My Video"},
    {kTokenPictures, false, "My Pictures", "My Pictures"},
    {kTokenMusic, false, "My Music", "My Music"},
    {kTokenVideo, false, "My Video", "My Video"},
};

void clearShellPointers() {
    shell.getFolderLocation = nullptr;
    shell.getSpecialFolderPath = nullptr;
    shell.getSpecialFolderLocation = nullptr;
    shell.getPathFromIdList = nullptr;
    shell.ilFree = nullptr;
}

void setResult(const char* text) {
    ::lstrcpynA(resolved, text ? text : "", kResolvedFolderSize);
}

// Replaces the result with join(result, name).
void joinResult(const char* name) {
    HeapString joined(joinFolderName(resolved, name));
    setResult(joined.get());
}

// Replaces the result with a registry text; false (result untouched) when it is absent.
bool resultFromRegistry(HKEY root, const char* key, const char* value) {
    HeapString text(readRegistryText(root, key, value));
    if (!text) return false;
    setResult(text.get());
    return true;
}

void resultFromShell(int identifier) {
    char path[MAX_PATH];
    if (getShellFolderPath(path, identifier)) {
        setResult(path);
    } else {
        setResult("");
    }
}

// Replaces the result with its environment variables expanded.
void expandResult(const char* text) {
    HeapString copy(strDupExtra(text, 0));
    if (!copy) return;
    if (!::ExpandEnvironmentStringsA(copy.get(), resolved, kResolvedFolderSize)) setResult("");
}

void resolveAppData() {
    if (getShellFolderPath(resolved, CSIDL_APPDATA)) return;
    if (resultFromRegistry(HKEY_CURRENT_USER, kShellFolders, "AppData")) return;
    resolveFolder(kTokenUserProfile);
    joinResult("Application Data");
    ::CreateDirectoryA(resolved, nullptr);
    storeRegistryText(HKEY_CURRENT_USER, kShellFolders, "AppData", resolved);
}

void resolveCommonAppData() {
    HeapString stored(readRegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common AppData"));
    const int code = detectWindowsVersion();
    // Windows 98 records a value there that it does not use for all users.
    if (stored && code != kWindows98 && code != kWindows98Se) {
        setResult(stored.get());
    } else if (newerReleaseRule(code)) {
        resultFromShell(CSIDL_COMMON_APPDATA);
    } else {
        resolveFolder(kTokenAllUsers);
        joinResult("Application Data");
        ::CreateDirectoryA(resolved, nullptr);
        if (!stored)
            storeRegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common AppData", resolved);
    }
}

void resolveQuickLaunch() {
    resolveFolder(kTokenAppData);
    const size_t length = std::strlen(resolved);
    ::lstrcpynA(resolved + length, "\\Microsoft\\Internet Explorer\\Quick Launch",
                static_cast<int>(kResolvedFolderSize - length));
    if (!pathExists(resolved)) resolveFolder(kTokenTemp);
}

// The user's security identifier, as the protected storage names its first subkey.
bool userSid(char* sid, DWORD size) {
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Protected Storage System Provider",
                        0, KEY_ENUMERATE_SUB_KEYS, key.put()) != ERROR_SUCCESS) {
        return false;
    }
    LONG status = ::RegEnumKeyExA(key.get(), 0, sid, &size, nullptr, nullptr, nullptr, nullptr);
    return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

void resolveUserProfile() {
    if (getShellFolderPath(resolved, CSIDL_PROFILE)) return;
    resolveFolder(kTokenWindows);
    constexpr char kReconciliation[] =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileReconciliation";
    if (resultFromRegistry(HKEY_CURRENT_USER, kReconciliation, "ProfileDirectory")) return;
    char sid[256] = {};
    if (!userSid(sid, sizeof sid)) return;
    HeapString key(strConcat5(kProfileList, "\\", sid));
    if (!key) return;
    HeapString image(readRegistryText(HKEY_LOCAL_MACHINE, key.get(), "ProfileImagePath"));
    if (image) expandResult(image.get());
}

void resolveAllUsers() {
    resolveFolder(kTokenWindows);
    if (!registryKeyExists(HKEY_LOCAL_MACHINE, kProfileList)) return;
    HeapString profiles(readRegistryText(HKEY_LOCAL_MACHINE, kProfileList, "ProfilesDirectory"));
    HeapString allUsers(readRegistryText(HKEY_LOCAL_MACHINE, kProfileList, "AllUsersProfile"));
    if (profiles && allUsers) {
        HeapString joined(joinFolderName(profiles.get(), allUsers.get()));
        if (joined) expandResult(joined.get());
        return;
    }
    // Windows Vista and later keep the all-users profile as "ProgramData" and have no
    // "AllUsersProfile": without this the token named a Profiles folder that does not exist.
    HeapString programData(readRegistryText(HKEY_LOCAL_MACHINE, kProfileList, "ProgramData"));
    if (programData && programData.get()[0]) {
        expandResult(programData.get());
    } else {
        joinResult("Profiles\\All Users");
    }
}

void resolveMediaFolder(const MediaFolder& media) {
    HKEY root = media.allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HeapString stored(readRegistryText(root, kShellFolders, media.valueName));
    if (stored && stored.get()[0]) {
        setResult(stored.get());
        return;
    }
    if (media.allUsers) {
        resolveFolder(kTokenCommonDocuments);
    } else {
        resultFromShell(CSIDL_PERSONAL);
    }
    joinResult(media.subFolder);
    ::CreateDirectoryA(resolved, nullptr);
    storeRegistryText(root, kShellFolders, media.valueName, resolved);
}

bool systemIs64Bit() {
    return runEnvironment.systemArchitecture != kArchitectureX86;
}

// The program folder of one side: the registry names it in each view.
void resolveProgramFilesOf(int view) {
    RegistryViewScope scope(view);
    resultFromRegistry(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");
}

// The native system folder. A 32-bit program on a 64-bit Windows reaches it as "Sysnative"
// while its System32 is redirected, which it is unless it installs a 64-bit product.
void resolveNativeSystem() {
    if (!::GetSystemDirectoryA(resolved, kResolvedFolderSize)) setResult("");
    if (kEngineIs32Bit && systemIs64Bit() && !runEnvironment.nativeSide) {
        resolveFolder(kTokenWindows);
        joinResult("Sysnative");
    }
}

void resolveSysWow64() {
    using GetSystemWow64DirectoryFn = UINT(WINAPI*)(LPSTR, UINT);
    auto getFolder = loadedLibraryFunction<GetSystemWow64DirectoryFn>("kernel32.dll",
                                                                      "GetSystemWow64DirectoryA");
    // 32-bit Windows has the function and no such folder: it fails.
    if (!getFolder || !getFolder(resolved, kResolvedFolderSize)) noFolder = true;
}

// The rules of the rows that are not a plain shell folder. False for a plain row.
bool resolveSpecial(int index) {
    for (const CommonFolder& row : kCommonFolders) {
        if (row.token != index) continue;
        resultFromShell(commonFolderRule(detectWindowsVersion()) ? row.common : row.perUser);
        return true;
    }
    for (const MediaFolder& media : kMediaFolders) {
        if (media.token != index) continue;
        resolveMediaFolder(media);
        return true;
    }
    switch (index) {
        case kTokenAppData:
            resolveAppData();
            return true;
        case kTokenCommonAppData:
            resolveCommonAppData();
            return true;
        case kTokenCommonFiles:
            resultFromRegistry(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir");
            return true;
        case kTokenCommonTemplates:
            if (!getShellFolderPath(resolved, CSIDL_COMMON_TEMPLATES))
                resultFromShell(CSIDL_TEMPLATES);
            return true;
        case kTokenIe:
            if (resultFromRegistry(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\IE Setup\\Setup",
                                   "Path")) {
                const size_t length = std::strlen(resolved);
                ::lstrcpynA(resolved + length, "\\iexplore.exe",
                            static_cast<int>(kResolvedFolderSize - length));
            }
            return true;
        case kTokenMsAccess:
            resultFromRegistry(HKEY_LOCAL_MACHINE, kAccessAppPath, nullptr);
            return true;
        case kTokenProgramFiles:
            resultFromRegistry(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");
            return true;
        case kTokenQuickLaunch:
            resolveQuickLaunch();
            return true;
        case kTokenSystem:
            if (!::GetSystemDirectoryA(resolved, kResolvedFolderSize)) setResult("");
            return true;
        case kTokenTemp:
            return true;
        case kTokenWindows:
            if (!::GetWindowsDirectoryA(resolved, kResolvedFolderSize)) setResult("");
            return true;
        case kTokenUserProfile:
            resolveUserProfile();
            return true;
        case kTokenAllUsers:
            resolveAllUsers();
            return true;
        case kTokenCommonDocuments:
            resultFromShell(newerReleaseRule(detectWindowsVersion()) ? CSIDL_COMMON_DOCUMENTS
                                                                     : CSIDL_PERSONAL);
            return true;
        case kTokenProgramFiles32:
            // A 64-bit Windows names its 32-bit program folder in its own view too, where a
            // system whose 32-bit part was never set up still has it.
            if (systemIs64Bit()) {
                RegistryViewScope scope(kView64);
                resultFromRegistry(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir (x86)");
            } else {
                resolveProgramFilesOf(kView32);
            }
            return true;
        case kTokenProgramFiles64:
            if (systemIs64Bit()) {
                resolveProgramFilesOf(kView64);
            } else {
                noFolder = true;
            }
            return true;
        case kTokenSystem32:
            resolveNativeSystem();
            return true;
        case kTokenSysWow64:
            resolveSysWow64();
            return true;
        default:
            return false;
    }
}

void resolveTempFallback() {
    if (resolved[0]) return;
    if (!::GetTempPathA(kResolvedFolderSize - 1, resolved)) resolved[0] = '\0';
    stripTrailingSeparator(resolved);
}

}  // namespace

bool loadShellFunctions() {
    if (shell.library) return true;
    UniqueModule library(loadSystemLibrary("shell32.dll"));
    if (!library) return false;
    HMODULE module = library.get();
    auto getLocation =
        libraryFunction<SHGetSpecialFolderLocationFn>(module, "SHGetSpecialFolderLocation");
    auto getPath = libraryFunction<SHGetPathFromIDListFn>(module, "SHGetPathFromIDList");
    if (!getPath) getPath = libraryFunction<SHGetPathFromIDListFn>(module, "SHGetPathFromIDListA");
    auto ilFree = libraryFunction<ILFreeFn>(module, MAKEINTRESOURCEA(kILFreeOrdinal));
    if (!getLocation || !getPath || !ilFree) {
        clearShellPointers();
        return false;  // the library is released on return
    }
    shell.getFolderLocation = libraryFunction<SHGetFolderLocationFn>(module, "SHGetFolderLocation");
    shell.getSpecialFolderPath =
        libraryFunction<SHGetSpecialFolderPathAFn>(module, "SHGetSpecialFolderPathA");
    shell.getSpecialFolderLocation = getLocation;
    shell.getPathFromIdList = getPath;
    shell.ilFree = ilFree;
    shell.library = std::move(library);
    return true;
}

void releaseShellFunctions() {
    clearShellPointers();
    shell.library.reset();
}

bool getShellFolderPath(char* out, int identifier) {
    out[0] = '\0';
    if (shell.getSpecialFolderPath) {
        return shell.getSpecialFolderPath(nullptr, out, identifier, TRUE) == 1;
    }
    if (!shell.getSpecialFolderLocation) return false;
    LPITEMIDLIST list = nullptr;
    if (shell.getSpecialFolderLocation(nullptr, identifier, &list) != S_OK || !list) return false;
    bool found = shell.getPathFromIdList(list, out) == 1;
    shell.ilFree(list);
    if (!found) out[0] = '\0';
    return found;
}

LPITEMIDLIST getFolderLocation(HWND owner, int identifier) {
    LPITEMIDLIST list = nullptr;
    HRESULT status = E_FAIL;
    if (shell.getFolderLocation) {
        status = shell.getFolderLocation(owner, identifier, nullptr, 0, &list);
    } else if (shell.getSpecialFolderLocation) {
        status = shell.getSpecialFolderLocation(owner, identifier, &list);
    }
    if (status == S_OK) return list;
    if (list) freeItemList(list);
    return nullptr;
}

void freeItemList(LPITEMIDLIST list) {
    if (list && shell.ilFree) shell.ilFree(list);
}

const char* resolveFolder(int index) {
    if (index < 0 || index >= kFolderTokenCount) index = kTokenTemp;
    resolved[0] = '\0';
    noFolder = false;
    if (!resolveSpecial(index)) resultFromShell(kTokenIdentifiers[index]);
    if (noFolder) return nullptr;
    resolveTempFallback();
    return resolved;
}

bool fillFolderPaths() {
    for (int token = 0; token < kFolderTokenCount; ++token) {
        if (runEnvironment.folderPaths.append(resolveFolder(token)) < 0) return false;
    }
    return true;
}

namespace {

// The all-users folders and the user's own that stand in for them in a user's installation.
constexpr struct {
    int common;
    int user;
} kUserFolders[] = {
    {kTokenCommonPrograms, kTokenPrograms},   {kTokenCommonStartMenu, kTokenStartMenu},
    {kTokenCommonDesktop, kTokenDesktop},     {kTokenCommonStartup, kTokenStartUp},
    {kTokenCommonFavorites, kTokenFavorites}, {kTokenCommonTemplates, kTokenTemplate},
    {kTokenCommonAppData, kTokenAppData},
};

}  // namespace

void resolveUserScopeFolders() {
    StringList& paths = runEnvironment.folderPaths;
    char local[MAX_PATH];
    if (getShellFolderPath(local, CSIDL_LOCAL_APPDATA)) {
        HeapString programs(joinFolderName(local, "Programs"));
        HeapString common(programs ? joinFolderName(programs.get(), "Common") : nullptr);
        if (programs && common) {
            paths.set(kTokenProgramFiles, programs.get());
            paths.set(kTokenCommonFiles, common.get());
        }
    }
    for (const auto& row : kUserFolders) paths.set(row.common, paths.get(row.user));
}

void resolveMachineScopeFolders() {
    StringList& paths = runEnvironment.folderPaths;
    for (const auto& row : kUserFolders) paths.set(row.common, resolveFolder(row.common));
    // On either side: resolveFolder names the product side's program folders.
    resolveSideFolders();
}

void resolveSideFolders() {
    // On the native side the product's keys are in the 64-bit view, where the registry names
    // the native program folders.
    for (int token : {kTokenProgramFiles, kTokenCommonFiles, kTokenSystem32}) {
        runEnvironment.folderPaths.set(token, resolveFolder(token));
    }
}

}  // namespace kelvara
