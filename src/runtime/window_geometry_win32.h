// Where a window lies in its parent.
#pragma once
#include <windows.h>

namespace kelvara {

// The window's rectangle in its parent's client coordinates (empty when there is no window).
RECT rectangleInParent(HWND window);

}  // namespace kelvara
