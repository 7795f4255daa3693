// A tree view in another process, read and changed through memory in that process.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "window_report.h"

namespace ui_driver {

// Memory in another process, for the control messages whose parameters are pointers.
class RemoteBlock {
  public:
    RemoteBlock(HANDLE process, SIZE_T size) : process_(process), size_(size) {
        if (process_) {
            base_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
        }
    }
    ~RemoteBlock() {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    bool valid() const { return base_ != nullptr; }
    char* at(SIZE_T offset) const { return base_ + offset; }
    bool write(SIZE_T offset, const void* data, SIZE_T size) const {
        return offset + size <= size_ &&
               WriteProcessMemory(process_, base_ + offset, data, size, nullptr);
    }
    bool read(SIZE_T offset, void* data, SIZE_T size) const {
        return offset + size <= size_ &&
               ReadProcessMemory(process_, base_ + offset, data, size, nullptr);
    }

  private:
    HANDLE process_;
    SIZE_T size_;
    char* base_ = nullptr;
};

// A tree view in another process.
class RemoteTree {
  public:
    static constexpr SIZE_T kTextOffset = 1024;
    static constexpr int kTextCapacity = 0x8000;

    RemoteTree(HWND tree, HANDLE process)
        : tree_(tree), block_(process, kTextOffset + kTextCapacity) {}
    bool valid() const { return tree_ && block_.valid(); }

    struct Item {
        HTREEITEM handle = nullptr;
        int depth = 0;
        std::string text;
        UINT state = 0;
        LPARAM param = 0;
        int children = 0;
        bool checked() const { return (state >> 12) == 2; }
        bool expanded() const { return (state & TVIS_EXPANDED) != 0; }
    };

    HTREEITEM next(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(
            sendTo(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM firstChild(HTREEITEM item) const {
        return item ? next(item, TVGN_CHILD) : next(nullptr, TVGN_ROOT);
    }

    bool read(HTREEITEM handle, Item& item) const {
        TVITEMA data = {};
        data.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
        data.hItem = handle;
        data.stateMask = 0xFFFF;
        data.pszText = block_.at(kTextOffset);
        data.cchTextMax = kTextCapacity;
        const char none = 0;
        if (!block_.write(0, &data, sizeof data) || !block_.write(kTextOffset, &none, 1)) {
            return false;
        }
        if (!sendTo(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block_.at(0)))) return false;
        std::vector<char> text(kTextCapacity + 1, '\0');
        if (!block_.read(0, &data, sizeof data) ||
            !block_.read(kTextOffset, text.data(), kTextCapacity)) {
            return false;
        }
        item.handle = handle;
        item.text = text.data();
        item.state = data.state;
        item.param = data.lParam;
        item.children = data.cChildren;
        return true;
    }

    // Every item, depth first, in the order the tree shows them.
    std::vector<Item> all() const {
        std::vector<Item> items;
        collect(nullptr, 0, items);
        return items;
    }

    // The item whose texts from the top-level item down are `path` ('|' between them).
    HTREEITEM find(const std::string& path) const {
        HTREEITEM parent = nullptr;
        std::size_t start = 0;
        for (;;) {
            const std::size_t bar = path.find('|', start);
            const std::string name =
                path.substr(start, bar == std::string::npos ? bar : bar - start);
            HTREEITEM match = nullptr;
            for (HTREEITEM child = firstChild(parent); child; child = next(child, TVGN_NEXT)) {
                Item item;
                if (read(child, item) && item.text == name) {
                    match = child;
                    break;
                }
            }
            if (!match || bar == std::string::npos) return match;
            parent = match;
            start = bar + 1;
        }
    }

    bool setChecked(HTREEITEM handle, bool checked) const {
        TVITEMA data = {};
        data.mask = TVIF_HANDLE | TVIF_STATE;
        data.hItem = handle;
        data.stateMask = TVIS_STATEIMAGEMASK;
        data.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        return block_.write(0, &data, sizeof data) &&
               sendTo(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(block_.at(0))) != 0;
    }

    // Hit-test flags and item at a point in the tree's client area.
    HTREEITEM hitTest(POINT point, UINT* flags) const {
        TVHITTESTINFO hit = {};
        hit.pt = point;
        if (!block_.write(0, &hit, sizeof hit)) return nullptr;
        auto item = reinterpret_cast<HTREEITEM>(
            sendTo(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(block_.at(0))));
        block_.read(0, &hit, sizeof hit);
        *flags = hit.flags;
        return item;
    }

    // The item's whole row (not only its text) in the tree's client area.
    bool rowRect(HTREEITEM handle, RECT* rect) const {
        RECT data = {};
        std::memcpy(&data, &handle, sizeof handle);
        if (!block_.write(0, &data, sizeof data)) return false;
        if (!sendTo(tree_, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(block_.at(0)))) {
            return false;
        }
        return block_.read(0, rect, sizeof *rect);
    }

  private:
    void collect(HTREEITEM parent, int depth, std::vector<Item>& items) const {
        for (HTREEITEM child = firstChild(parent); child; child = next(child, TVGN_NEXT)) {
            Item item;
            if (!read(child, item)) return;
            item.depth = depth;
            items.push_back(item);
            collect(child, depth + 1, items);
        }
    }

    HWND tree_;
    RemoteBlock block_;
};

}  // namespace ui_driver
