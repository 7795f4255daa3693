#include "process_tree.h"

namespace ui_driver {
namespace {

struct WindowSearch {
    const ProcessTree* tree;
    DWORD mainProcess;
    bool follow;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const bool ours = search->follow ? search->tree->contains(pid) : pid == search->mainProcess;
    if (ours && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> visibleWindowsOf(const ProcessTree& tree, DWORD mainProcess, bool follow) {
    WindowSearch search{&tree, mainProcess, follow, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace ui_driver
