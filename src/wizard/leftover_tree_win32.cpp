// The leftover tree's items: building, lazy loading, check states and deletion.
#include "wizard/leftover_tree_win32.h"

#include <shellapi.h>

#include <cstring>

#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "uninstall/file_removal_win32.h"
#include "uninstall/uninstall_state.h"

namespace kelvara {
namespace {

constexpr int kUnchecked = 1;  // state images of a tree view with check boxes
constexpr int kChecked = 2;

constexpr const char* kReadOnlyCaption = "Deleting File";
constexpr const char* kReadOnlyFormat = "The file %s \nis a read-only file. Delete anyway?";

HTREEITEM firstChild(HWND tree, HTREEITEM item) {
    return item == TVI_ROOT ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, item);
}

LPARAM itemKind(HWND tree, HTREEITEM item) {
    TVITEMA data = {};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (!::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) {
        return kLeftoverPlaceholder;
    }
    return data.lParam;
}

// The item's own text into `buffer`; its length, or -1 when the tree has no such item.
int itemText(HWND tree, HTREEITEM item, char* buffer, int capacity) {
    buffer[0] = '\0';
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = capacity;
    if (!::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return -1;
    buffer[capacity - 1] = '\0';
    return static_cast<int>(std::strlen(buffer));
}

int systemIconIndex(const char* path, UINT extraFlags) {
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(path, 0, &info, sizeof info,
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extraFlags);
    return info.iIcon;
}

void addPlaceholder(HWND tree, HTREEITEM folder, bool checked) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = folder;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<char*>("");
    insert.item.lParam = kLeftoverPlaceholder;
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    insert.item.state = INDEXTOSTATEIMAGEMASK(checked ? kChecked : kUnchecked);
    ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
}

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The folder's entries by name: subfolders and files apart; files waiting for their deletion
// at restart are left out.
void listFolder(const char* folder, StringList& folders, StringList& files) {
    HeapString pattern(strConcat5(folder, "\\*"));
    if (!pattern) return;
    WIN32_FIND_DATAA entry;
    UniqueFind search(::FindFirstFileA(pattern.get(), &entry));
    if (!search) return;
    do {
        if (isDotEntry(entry.cFileName)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            folders.append(entry.cFileName);
            continue;
        }
        HeapString path(strConcat5(folder, "\\", entry.cFileName));
        if (path && uninstallState.rebootDeleteFiles.find(path.get(), 0, 0) >= 0) continue;
        files.append(entry.cFileName);
    } while (::FindNextFileA(search.get(), &entry));
}

void deleteChildren(HWND tree, HTREEITEM item) {
    while (HTREEITEM child = TreeView_GetChild(tree, item)) {
        if (!TreeView_DeleteItem(tree, child)) break;
    }
}

bool isExpanded(HWND tree, HTREEITEM item) {
    return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void deleteCheckedFile(HWND owner, const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    // Attributes that cannot be read count as read-only: ask rather than guess.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) {
        if (messageBoxFormat(owner, kReadOnlyCaption, kReadOnlyFormat, path,
                             MB_ICONWARNING | MB_YESNO) == IDNO) {
            return;
        }
    }
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path);
}

}  // namespace

HTREEITEM insertPathItem(HWND tree, HTREEITEM parent, const char* path, LeftoverItemKind kind,
                         bool checked) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = parent == TVI_ROOT ? const_cast<char*>(path) : fileNamePart(path);
    insert.item.iImage = systemIconIndex(path, 0);
    insert.item.iSelectedImage = systemIconIndex(path, SHGFI_OPENICON);
    insert.item.lParam = kind;
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    insert.item.state = INDEXTOSTATEIMAGEMASK(checked ? kChecked : kUnchecked);
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM addRootFolder(HWND tree, const char* folder) {
    HTREEITEM item = insertPathItem(tree, TVI_ROOT, folder, kLeftoverFolder, false);
    if (item && !folderIsEmpty(folder, true)) addPlaceholder(tree, item, false);
    return item;
}

char* leftoverItemPath(HWND tree, HTREEITEM item) {
    // Built from the end: the item's own text last, each ancestor's before it.
    HeapBlock pathBlock(kLeftoverPathCapacity + 1);
    HeapBlock textBlock(kLeftoverPathCapacity + 1);
    auto* path = static_cast<char*>(pathBlock.get());
    auto* text = static_cast<char*>(textBlock.get());
    if (!path || !text || !item || item == TVI_ROOT) return nullptr;
    int start = kLeftoverPathCapacity;
    for (HTREEITEM current = item; current; current = TreeView_GetParent(tree, current)) {
        const int length = itemText(tree, current, text, kLeftoverPathCapacity + 1);
        if (length < 0) return nullptr;
        const bool joined = start < kLeftoverPathCapacity;
        const int needed = length + (joined ? 1 : 0);
        if (needed > start) return nullptr;
        if (joined) path[--start] = '\\';
        start -= length;
        std::memcpy(path + start, text, static_cast<std::size_t>(length));
    }
    path[kLeftoverPathCapacity] = '\0';
    return strDupExtra(path + start, 0);
}

bool isItemChecked(HWND tree, HTREEITEM item) {
    const UINT state = TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK);
    return (state >> 12) == kChecked;
}

void setItemChecked(HWND tree, HTREEITEM item, bool checked) {
    TVITEMA data = {};
    data.mask = TVIF_STATE | TVIF_HANDLE;
    data.hItem = item;
    data.stateMask = TVIS_STATEIMAGEMASK;
    data.state = INDEXTOSTATEIMAGEMASK(checked ? kChecked : kUnchecked);
    ::SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

void populateFolderItem(HWND tree, HTREEITEM item, bool withFiles) {
    const bool checked = isItemChecked(tree, item);
    deleteChildren(tree, item);
    HeapString folder(leftoverItemPath(tree, item));
    if (!folder) return;
    StringList folders;
    StringList files;
    if (!folders.create(5) || !files.create(5)) return;
    listFolder(folder.get(), folders, files);
    folders.sort(kSortAlphabetical);
    for (int i = 0; i < folders.count(); ++i) {
        HeapString path(joinFolderName(folder.get(), folders.get(i)));
        if (!path) continue;
        HTREEITEM child = insertPathItem(tree, item, path.get(), kLeftoverFolder, checked);
        if (child && !folderIsEmpty(path.get(), withFiles)) addPlaceholder(tree, child, checked);
    }
    if (!withFiles) return;
    files.sort(kSortAlphabetical);
    for (int i = 0; i < files.count(); ++i) {
        HeapString path(joinFolderName(folder.get(), files.get(i)));
        if (path) insertPathItem(tree, item, path.get(), kLeftoverFile, checked);
    }
}

void checkSubtree(HWND tree, HTREEITEM item, bool includeItem, bool checked) {
    if (includeItem && item != TVI_ROOT) setItemChecked(tree, item, checked);
    for (HTREEITEM child = firstChild(tree, item); child;
         child = TreeView_GetNextSibling(tree, child)) {
        checkSubtree(tree, child, true, checked);
    }
}

bool anyCheckedItem(HWND tree, HTREEITEM start, HTREEITEM excluded) {
    for (HTREEITEM child = firstChild(tree, start); child;
         child = TreeView_GetNextSibling(tree, child)) {
        if (child != excluded && isItemChecked(tree, child)) return true;
        if (anyCheckedItem(tree, child, excluded)) return true;
    }
    return false;
}

void deleteCheckedItems(HWND owner, HWND tree, HTREEITEM start) {
    HTREEITEM next = nullptr;
    for (HTREEITEM child = firstChild(tree, start); child; child = next) {
        next = TreeView_GetNextSibling(tree, child);
        const LPARAM kind = itemKind(tree, child);
        if (kind == kLeftoverPlaceholder) continue;
        if (!isItemChecked(tree, child)) {
            if (kind == kLeftoverFolder) deleteCheckedItems(owner, tree, child);
            continue;
        }
        HeapString path(leftoverItemPath(tree, child));
        if (!path) continue;  // a path too long to name is left alone, and stays shown
        if (kind == kLeftoverFile) {
            deleteCheckedFile(owner, path.get());
        } else {
            deleteFolderTree(path.get());
        }
        TreeView_DeleteItem(tree, child);
    }
}

bool applyCheckToggle(HWND tree, HTREEITEM item) {
    bool somethingChecked = true;
    ::SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    if (isItemChecked(tree, item)) {
        // Being unchecked (the tree view toggles the item itself after this).
        for (HTREEITEM parent = TreeView_GetParent(tree, item); parent;
             parent = TreeView_GetParent(tree, parent)) {
            setItemChecked(tree, parent, false);
        }
        // A collapsed folder's contents go with it: nothing hidden stays checked.
        if (!isExpanded(tree, item)) checkSubtree(tree, item, false, false);
        somethingChecked = anyCheckedItem(tree, TVI_ROOT, item);
    } else {
        checkSubtree(tree, item, false, true);
    }
    ::SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    return somethingChecked;
}

bool applyCheckBoxClick(HWND tree, POINT screenPoint, bool* handled) {
    *handled = false;
    TVHITTESTINFO hit = {};
    hit.pt = screenPoint;
    ::ScreenToClient(tree, &hit.pt);
    HTREEITEM item = TreeView_HitTest(tree, &hit);
    if (!item || !(hit.flags & TVHT_ONITEMSTATEICON)) return false;
    *handled = true;
    return applyCheckToggle(tree, item);
}

void expandFolderItem(HWND tree, HTREEITEM item) {
    HTREEITEM child = TreeView_GetChild(tree, item);
    if (!child || itemKind(tree, child) != kLeftoverPlaceholder) return;
    char text[2] = {};
    if (itemText(tree, child, text, sizeof text) != 0) return;
    populateFolderItem(tree, item, true);
}

}  // namespace kelvara
