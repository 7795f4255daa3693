// The leftover tree on a real tree view over real folders in the Wine prefix: lazy loading,
// check states and their propagation, and the deletion of what is checked.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "system_fixtures.h"
#include "uninstall/uninstall_state.h"
#include "uninstall/window_watch.h"
#include "wizard/leftover_tree_win32.h"

using namespace kelvara;
using namespace kelvara_test;

namespace {

struct Item {
    std::string path;  // texts from the top-level item down, joined by '|'
    LPARAM kind;
    bool checked;
    bool operator==(const Item& other) const {
        return path == other.path && kind == other.kind && checked == other.checked;
    }
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
    return out << "{" << item.path << ", kind " << item.kind << (item.checked ? ", checked}" : "}");
}

std::string ownText(HWND tree, HTREEITEM item) {
    char text[MAX_PATH * 2] = {};
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    TreeView_GetItem(tree, &data);
    return text;
}

LPARAM kindOf(HWND tree, HTREEITEM item) {
    TVITEMA data = {};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    TreeView_GetItem(tree, &data);
    return data.lParam;
}

class LeftoverTree : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(uninstallState.rebootDeleteFiles.create(5));
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&classes);
        window_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 600, nullptr, nullptr,
                                    nullptr, nullptr);
        tree_ = ::CreateWindowExA(0, WC_TREEVIEWA, "",
                                  WS_CHILD | WS_VISIBLE | TVS_CHECKBOXES | TVS_HASBUTTONS |
                                      TVS_HASLINES | TVS_LINESATROOT,
                                  0, 0, 400, 600, window_, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_ && tree_);
        // Set again after creation, as for a tree view made outside a dialog template: only
        // then do the check boxes get their images here.
        const LONG style = ::GetWindowLongA(tree_, GWL_STYLE);
        ::SetWindowLongA(tree_, GWL_STYLE, style & ~TVS_CHECKBOXES);
        ::SetWindowLongA(tree_, GWL_STYLE, style);
    }
    void TearDown() override {
        ::DestroyWindow(window_);
        uninstallState.rebootDeleteFiles.destroy();
    }

    void collect(HTREEITEM parent, const std::string& prefix, std::vector<Item>& items) const {
        HTREEITEM child =
            parent == TVI_ROOT ? TreeView_GetRoot(tree_) : TreeView_GetChild(tree_, parent);
        for (; child; child = TreeView_GetNextSibling(tree_, child)) {
            std::string path =
                prefix.empty() ? ownText(tree_, child) : prefix + "|" + ownText(tree_, child);
            items.push_back({path, kindOf(tree_, child), isItemChecked(tree_, child)});
            collect(child, path, items);
        }
    }
    std::vector<Item> items(HTREEITEM below = TVI_ROOT) const {
        std::vector<Item> all;
        collect(below, "", all);
        return all;
    }
    // The item at the path ('|' between texts), or null.
    HTREEITEM find(const std::string& path) const {
        HTREEITEM parent = TVI_ROOT;
        std::size_t start = 0;
        for (;;) {
            std::size_t bar = path.find('|', start);
            std::string name = path.substr(start, bar == std::string::npos ? bar : bar - start);
            HTREEITEM child =
                parent == TVI_ROOT ? TreeView_GetRoot(tree_) : TreeView_GetChild(tree_, parent);
            while (child && ownText(tree_, child) != name)
                child = TreeView_GetNextSibling(tree_, child);
            if (!child || bar == std::string::npos) return child;
            parent = child;
            start = bar + 1;
        }
    }
    // Expanded as the removal dialog does it: contents loaded, then shown open.
    void expand(HTREEITEM item) const {
        expandFolderItem(tree_, item);
        TreeView_Expand(tree_, item, TVE_EXPAND);
    }
    // The screen point of the item's check box.
    POINT checkBoxOf(HTREEITEM item) const {
        TreeView_EnsureVisible(tree_, item);
        RECT row = {};
        EXPECT_TRUE(TreeView_GetItemRect(tree_, item, &row, TRUE));
        POINT point = {0, (row.top + row.bottom) / 2};
        for (; point.x < row.left; ++point.x) {
            TVHITTESTINFO hit = {};
            hit.pt = point;
            if (TreeView_HitTest(tree_, &hit) == item && (hit.flags & TVHT_ONITEMSTATEICON)) break;
        }
        EXPECT_LT(point.x, row.left) << "the item has a check box";
        ::ClientToScreen(tree_, &point);
        return point;
    }
    // A click on the check box: the dialog's part, then the tree view's own toggle.
    bool clickCheckBox(HTREEITEM item) const {
        bool handled = false;
        const bool somethingChecked = applyCheckBoxClick(tree_, checkBoxOf(item), &handled);
        EXPECT_TRUE(handled);
        setItemChecked(tree_, item, !isItemChecked(tree_, item));
        return somethingChecked;
    }

    HWND window_ = nullptr;
    HWND tree_ = nullptr;
};

TEST_F(LeftoverTree, FoldersLoadWhenFirstExpandedFoldersFirstAndWithoutRestartFiles) {
    TempFolder folder;
    for (const char* sub : {"zdir", "Adir", "ydir", "xdir", "xdir\\sub"}) {
        ::CreateDirectoryA((folder / sub).c_str(), nullptr);
    }
    writeFile(folder / "b.txt");
    writeFile(folder / "A.txt");
    writeFile(folder / "reboot.txt");
    writeFile(folder / "zdir\\inner.txt");
    writeFile(folder / "ydir\\only-reboot.txt");
    uninstallState.rebootDeleteFiles.append((folder / "REBOOT.TXT").c_str());
    uninstallState.rebootDeleteFiles.append((folder / "ydir\\only-reboot.txt").c_str());
    TempFolder empty;

    HTREEITEM root = addRootFolder(tree_, folder.path().c_str());
    ASSERT_TRUE(root);
    EXPECT_TRUE(addRootFolder(tree_, empty.path().c_str()));
    const std::string top = folder.path();
    EXPECT_EQ(items(), (std::vector<Item>{{top, kLeftoverFolder, false},
                                          {top + "|", kLeftoverPlaceholder, false},
                                          {empty.path(), kLeftoverFolder, false}}))
        << "a top-level item shows the full path; an empty folder has nothing to expand";

    expand(root);
    EXPECT_EQ(items(root), (std::vector<Item>{{"Adir", kLeftoverFolder, false},
                                              {"xdir", kLeftoverFolder, false},
                                              {"xdir|", kLeftoverPlaceholder, false},
                                              {"ydir", kLeftoverFolder, false},
                                              {"ydir|", kLeftoverPlaceholder, false},
                                              {"zdir", kLeftoverFolder, false},
                                              {"zdir|", kLeftoverPlaceholder, false},
                                              {"A.txt", kLeftoverFile, false},
                                              {"b.txt", kLeftoverFile, false}}))
        << "sorted ignoring case, folders first; the file left for the restart is not shown";

    expand(find(top + "|ydir"));
    EXPECT_TRUE(items(find(top + "|ydir")).empty())
        << "a folder holding only a file left for the restart expands to nothing";
    const std::size_t count = items().size();
    expand(root);
    EXPECT_EQ(items().size(), count) << "a folder is loaded once";

    HeapString path(leftoverItemPath(tree_, root));
    EXPECT_EQ(std::string(path.get() ? path.get() : "<null>"), top);
    expand(find(top + "|zdir"));
    path.reset(leftoverItemPath(tree_, find(top + "|zdir|inner.txt")));
    EXPECT_EQ(std::string(path.get() ? path.get() : "<null>"), top + "\\zdir\\inner.txt");
}

TEST_F(LeftoverTree, CheckStatesSpreadDownAndAnyCheckedSearchesEverywhere) {
    TempFolder folder;
    ::CreateDirectoryA((folder / "dir").c_str(), nullptr);
    writeFile(folder / "dir\\inner.txt");
    writeFile(folder / "file.txt");
    HTREEITEM root = addRootFolder(tree_, folder.path().c_str());
    expand(root);
    HTREEITEM dir = find(folder.path() + "|dir");
    HTREEITEM file = find(folder.path() + "|file.txt");
    ASSERT_TRUE(dir && file);

    EXPECT_FALSE(anyCheckedItem(tree_, TVI_ROOT, nullptr));
    setItemChecked(tree_, file, true);
    EXPECT_TRUE(anyCheckedItem(tree_, TVI_ROOT, nullptr));
    EXPECT_FALSE(anyCheckedItem(tree_, TVI_ROOT, file)) << "the excluded item does not count";
    setItemChecked(tree_, file, false);

    // A collapsed folder checked: what it holds is checked when it is loaded.
    checkSubtree(tree_, dir, true);
    EXPECT_TRUE(anyCheckedItem(tree_, TVI_ROOT, dir)) << "the excluded item's children count";
    expand(dir);
    EXPECT_EQ(items(dir), (std::vector<Item>{{"inner.txt", kLeftoverFile, true}}));

    checkSubtree(tree_, TVI_ROOT, false);
    for (const Item& item : items()) EXPECT_TRUE(item.checked) << item;
    checkSubtree(tree_, TVI_ROOT, false, false);
    EXPECT_FALSE(anyCheckedItem(tree_, TVI_ROOT, nullptr));
}

TEST_F(LeftoverTree, ClickingACheckBoxCarriesTheStateUpAndDown) {
    TempFolder folder;
    ::CreateDirectoryA((folder / "closed").c_str(), nullptr);
    writeFile(folder / "closed\\inside.txt");
    ::CreateDirectoryA((folder / "open").c_str(), nullptr);
    writeFile(folder / "open\\one.txt");
    writeFile(folder / "open\\two.txt");
    const std::string top = folder.path();
    HTREEITEM root = addRootFolder(tree_, top.c_str());
    expand(root);
    expand(find(top + "|open"));
    HTREEITEM closed = find(top + "|closed");
    HTREEITEM one = find(top + "|open|one.txt");

    bool handled = true;
    const POINT nowhere = {-5000, -5000};
    applyCheckBoxClick(tree_, nowhere, &handled);
    EXPECT_FALSE(handled) << "a point off every check box changes nothing";

    EXPECT_TRUE(clickCheckBox(closed)) << "checking enables Delete";
    EXPECT_TRUE(isItemChecked(tree_, find(top + "|closed|"))) << "its placeholder";
    EXPECT_FALSE(clickCheckBox(closed)) << "the only checked item unchecked disables Delete";
    EXPECT_FALSE(anyCheckedItem(tree_, TVI_ROOT, nullptr)) << "placeholder unchecked too";

    EXPECT_TRUE(clickCheckBox(root));
    for (const Item& item : items()) EXPECT_TRUE(item.checked) << item;
    EXPECT_TRUE(clickCheckBox(one)) << "the other items stay checked";
    EXPECT_FALSE(isItemChecked(tree_, one));
    EXPECT_FALSE(isItemChecked(tree_, find(top + "|open")));
    EXPECT_FALSE(isItemChecked(tree_, root)) << "every ancestor is unchecked";
    EXPECT_TRUE(isItemChecked(tree_, find(top + "|open|two.txt")));
    EXPECT_TRUE(isItemChecked(tree_, closed));

    // Unchecking a collapsed folder whose contents were loaded unchecks them all: nothing that
    // cannot be seen stays checked for Delete.
    expand(closed);
    TreeView_Expand(tree_, closed, TVE_COLLAPSE);
    EXPECT_TRUE(isItemChecked(tree_, find(top + "|closed|inside.txt")));
    clickCheckBox(closed);
    EXPECT_FALSE(isItemChecked(tree_, find(top + "|closed|inside.txt")));
}

TEST_F(LeftoverTree, DeleteRemovesCheckedItemsAndAsksOnlyForReadOnlyFiles) {
    TempFolder folder;
    const std::string top = folder.path();
    ::CreateDirectoryA((folder / "dir").c_str(), nullptr);
    ::CreateDirectoryA((folder / "kept").c_str(), nullptr);
    for (const char* name : {"keep.txt", "go.txt", "ro-no.txt", "ro-yes.txt", "dir\\ro-inside.txt",
                             "dir\\x.txt", "kept\\y.txt", "kept\\gone.txt"}) {
        writeFile(folder / name);
    }
    for (const char* name : {"ro-no.txt", "ro-yes.txt", "dir\\ro-inside.txt"}) {
        ::SetFileAttributesA((folder / name).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    HTREEITEM root = addRootFolder(tree_, top.c_str());
    expand(root);
    expand(find(top + "|kept"));
    for (const char* path : {"go.txt", "ro-no.txt", "ro-yes.txt", "dir", "kept|gone.txt"}) {
        HTREEITEM item = find(top + "|" + path);
        ASSERT_TRUE(item) << path;
        checkSubtree(tree_, item, true);
    }

    std::vector<SeenWindow> seen =
        runWatched([&] { deleteCheckedItems(nullptr, tree_, TVI_ROOT); },
                   [](HWND window, const SeenWindow& shown) {
                       const bool yes = shown.text.find("ro-yes.txt") != std::string::npos;
                       ::PostMessageA(window, WM_COMMAND, yes ? IDYES : IDNO, 0);
                   });
    ASSERT_EQ(seen.size(), 2u) << captions(seen);
    EXPECT_EQ(seen[0].caption, "Deleting File");
    EXPECT_EQ(seen[0].text,
              "The file " + (folder / "ro-no.txt") + " \nis a read-only file. Delete anyway?");
    EXPECT_NE(seen[1].text.find("ro-yes.txt"), std::string::npos);

    EXPECT_FALSE(exists(folder / "go.txt"));
    EXPECT_TRUE(exists(folder / "ro-no.txt")) << "No keeps the file";
    EXPECT_FALSE(exists(folder / "ro-yes.txt"));
    EXPECT_FALSE(exists(folder / "dir")) << "a checked folder goes whole, read-only files too";
    EXPECT_FALSE(exists(folder / "kept\\gone.txt"));
    EXPECT_TRUE(exists(folder / "kept\\y.txt"));
    EXPECT_TRUE(exists(folder / "keep.txt"));
    EXPECT_EQ(items(), (std::vector<Item>{{top, kLeftoverFolder, false},
                                          {top + "|kept", kLeftoverFolder, false},
                                          {top + "|kept|y.txt", kLeftoverFile, false},
                                          {top + "|keep.txt", kLeftoverFile, false}}))
        << "every checked item leaves the tree, the file kept by No too";
}

}  // namespace
