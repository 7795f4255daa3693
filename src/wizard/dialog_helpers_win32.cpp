#include "wizard/dialog_helpers_win32.h"

#include <shlobj.h>

#include "environment/folder_tokens_win32.h"
#include "runtime/drive_space_win32.h"
#include "runtime/heap.h"
#include "wizard/space_text.h"

namespace kelvara {
namespace {

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

void showFreeSpace(const char* drive, HWND control) {
    char text[kSpaceTextSize];
    formatFreeSpace(freeSpace(drive), text);
    ::SetWindowTextA(control, text);
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

void showCornerText(HWND label, HWND band, const char* text, HFONT font) {
    if (!label || !band) return;
    const RECT place = rectangleInParent(label);
    const RECT line = rectangleInParent(band);
    int lineStart = 0;
    if (*text) {
        ::SetWindowTextA(label, text);
        SIZE size = {};
        if (HDC dc = ::GetDC(label)) {
            HGDIOBJ old = ::SelectObject(dc, font);
            ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
            ::SelectObject(dc, old);
            ::ReleaseDC(label, dc);
        }
        const int width = size.cx < line.right - place.left ? size.cx : line.right - place.left;
        ::MoveWindow(label, place.left, place.top, width, place.bottom - place.top, FALSE);
        lineStart = place.left + width + place.left / 2;
    } else {
        ::ShowWindow(label, SW_HIDE);
    }
    ::MoveWindow(band, lineStart, line.top, line.right - lineStart, line.bottom - line.top, FALSE);
}

}  // namespace kelvara
