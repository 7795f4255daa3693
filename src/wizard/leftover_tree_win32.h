// The leftover tree: folders the uninstaller could not remove, their contents loaded when a
// folder is first expanded, check boxes, and the deletion of what is checked (Windows only).
// Every item's lParam says what it is; a folder that was never expanded has one placeholder
// child when it has entries, so that the tree shows an expand button.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace kelvara {

enum LeftoverItemKind : LPARAM {
    kLeftoverPlaceholder = 0,
    kLeftoverFolder = 1,
    kLeftoverFile = 2,
};

constexpr int kLeftoverPathCapacity = 0x7FFF;  // characters of an item's full path

// Adds a folder as a top-level item (text: the full path), with a placeholder child unless the
// folder holds nothing at all. The new item, or null when the tree refused it.
HTREEITEM addRootFolder(HWND tree, const char* folder);

// Inserts an item of the given kind for `path` as the last child of `parent` (TVI_ROOT for a
// top-level item, whose text is the full path; others show the last path component), with the
// path's small and small open system icons and the given check state. The new item, or null.
HTREEITEM insertPathItem(HWND tree, HTREEITEM parent, const char* path, LeftoverItemKind kind,
                         bool checked);

// The item's full path: the texts from its top-level item down, joined by backslashes, in a
// new heap string the caller frees; null when it would exceed kLeftoverPathCapacity or the heap
// is exhausted.
char* leftoverItemPath(HWND tree, HTREEITEM item);

// Replaces the folder item's children by the folder's current contents: subfolders first, then
// (withFiles) files, each sorted ignoring case and checked as the folder is. Files that wait
// for their deletion at restart (rebootDeleteFiles) are left out; a subfolder gets a
// placeholder when it has subfolders (or, withFiles, files).
void populateFolderItem(HWND tree, HTREEITEM item, bool withFiles);

bool isItemChecked(HWND tree, HTREEITEM item);
void setItemChecked(HWND tree, HTREEITEM item, bool checked);

// Checks (or unchecks) every item below `item`, depth first; `item` itself too when asked.
// TVI_ROOT stands for the whole tree.
void checkSubtree(HWND tree, HTREEITEM item, bool includeItem, bool checked = true);

// True when an item below `start` (TVI_ROOT: anywhere), other than `excluded`, is checked.
// The excluded item's own descendants still count.
bool anyCheckedItem(HWND tree, HTREEITEM start, HTREEITEM excluded);

// Deletes what is checked below `start`: a checked folder with everything in it, a checked
// file after asking (owned by `owner`) whether a read-only one may go; each such item leaves
// the tree whether or not the deletion succeeded. Unchecked folders are searched further.
void deleteCheckedItems(HWND owner, HWND tree, HTREEITEM start);

// What goes with a check box the user toggles, before the tree view toggles the item itself:
// unchecking an item unchecks its ancestors (and, in a collapsed folder, everything below it);
// checking one checks all below it. True when something will be checked afterwards (the item
// itself or another one), i.e. when Delete has something to act on.
bool applyCheckToggle(HWND tree, HTREEITEM item);

// The same for a click at the screen point. `handled` is false, and nothing changes, when the
// point is not on an item's check box.
bool applyCheckBoxClick(HWND tree, POINT screenPoint, bool* handled);

// Loads the contents of a folder item expanded for the first time (its first child is the
// placeholder).
void expandFolderItem(HWND tree, HTREEITEM item);

}  // namespace kelvara
