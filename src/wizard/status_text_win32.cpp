#include "wizard/status_text_win32.h"

#include "formats/setup_state.h"
#include "wizard/dialog_helpers_win32.h"

namespace kelvara {

void refreshControl(HWND control, bool onParent) {
    if (!control) return;
    RECT r = rectangleInParent(control);
    HWND parent = ::GetParent(control);
    HWND target = onParent ? parent : ::GetParent(parent);
    // The windows inside the rectangle are drawn again too: the page (for a target that is the
    // frame) and the control itself, over the freshly erased background. Invalidating the target
    // alone would erase the old text and leave the new one undrawn.
    ::RedrawWindow(target, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void setStatusText(HWND page, HWND control, const char* text) {
    if (setupState.silentMode || !control) return;
    ::SetWindowTextA(control, text ? text : "");
    refreshControl(control, false);
    ::UpdateWindow(page);
}

}  // namespace kelvara
