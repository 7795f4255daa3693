#include "wizard/status_text_win32.h"

#include "setup/setup_state.h"
#include "wizard/dialog_helpers_win32.h"

namespace kelvara {

void refreshControl(HWND control, bool onParent) {
    if (!control) return;
    RECT r = rectangleInParent(control);
    HWND parent = ::GetParent(control);
    HWND target = onParent ? parent : ::GetParent(parent);
    ::InvalidateRect(target, &r, TRUE);
}

void setStatusText(HWND page, HWND control, const char* text) {
    if (setupState.silentMode || !control) return;
    ::SetWindowTextA(control, text ? text : "");
    refreshControl(control, false);
    ::UpdateWindow(page);
}

}  // namespace kelvara
