#include "runtime/window_geometry_win32.h"

namespace kelvara {

RECT rectangleInParent(HWND window) {
    RECT r = {};
    if (!window || !::GetWindowRect(window, &r)) return RECT{};
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace kelvara
