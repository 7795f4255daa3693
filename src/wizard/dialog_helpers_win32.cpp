#include "wizard/dialog_helpers_win32.h"

#include <shlobj.h>

#include "environment/folder_tokens_win32.h"
#include "runtime/heap.h"
#include "wizard/space_text.h"

namespace kelvara {
namespace {

using GetDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                                 PULARGE_INTEGER);

// Preselects the initial folder once the picker is up.
int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM, LPARAM initial) {
    if (message == BFFM_INITIALIZED && initial) {
        ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, initial);
    }
    return 0;
}

}  // namespace

char* controlText(HWND control) {
    constexpr int kTextLimit = 0x7FFF;
    auto* text = static_cast<char*>(heapAlloc(kTextLimit + 1));
    if (text && control) ::GetWindowTextA(control, text, kTextLimit + 1);
    return text;
}

bool isChecked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

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

void showFreeSpace(const char* drive, HWND control) {
    char text[kSpaceTextSize];
    formatFreeSpace(freeSpace(drive), text);
    ::SetWindowTextA(control, text);
}

void driveOf(const char* path, char (&drive)[3]) {
    drive[0] = path ? path[0] : '\0';
    drive[1] = ':';
    drive[2] = '\0';
}

bool browseForFolder(HWND owner, const char* title, const char* initial, char* result) {
    LPITEMIDLIST root = getFolderLocation(owner, CSIDL_DRIVES);
    // S_FALSE (OLE was already initialised on this thread) counts as well: it is balanced by
    // the OleUninitialize below just the same, and refusing it would leave Browse dead.
    if (FAILED(::OleInitialize(nullptr))) {
        freeItemList(root);
        return false;
    }
    char displayName[1024] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(initial);
    bool chosen = false;
    if (LPITEMIDLIST picked = ::SHBrowseForFolderA(&info)) {
        char path[MAX_PATH] = {};
        chosen = ::SHGetPathFromIDListA(picked, path) != FALSE;
        if (chosen) ::lstrcpynA(result, path, MAX_PATH);
        freeItemList(picked);
    }
    freeItemList(root);
    ::OleUninitialize();
    return chosen;
}

}  // namespace kelvara
