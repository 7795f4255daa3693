#include "worker/status_text_win32.h"

#include <cstring>

#include "environment/run_environment.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/window_geometry_win32.h"

namespace kelvara {
namespace {

constexpr int kPathTextRoom = 5;  // DrawTextEx may lengthen the text by an ellipsis

}  // namespace

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
    if (runEnvironment.silentMode || !control) return;
    ::SetWindowTextA(control, text ? text : "");
    refreshControl(control, false);
    ::UpdateWindow(page);
}

void showRemovalPath(HWND control, const char* path) {
    if (!control) return;
    const std::size_t length = std::strlen(path ? path : "");
    HeapString shown(strDupExtra(path, kPathTextRoom));
    if (!shown) return;
    RECT area = {};
    ::GetClientRect(control, &area);
    // Measured on a memory device context with the control's font: nothing is drawn there.
    if (UniqueMemoryDc dc{::CreateCompatibleDC(nullptr)}) {
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0));
        HGDIOBJ oldFont = font ? ::SelectObject(dc.get(), font) : nullptr;
        ::DrawTextExA(dc.get(), shown.get(), static_cast<int>(length), &area,
                      DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE | DT_NOPREFIX, nullptr);
        if (oldFont) ::SelectObject(dc.get(), oldFont);
    }
    ::SetWindowTextA(control, shown.get());
    refreshControl(control, true);
}

}  // namespace kelvara
