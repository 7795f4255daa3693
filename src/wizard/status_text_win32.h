// Setting a status text of a page from a worker thread.
#pragma once
#include <windows.h>

namespace kelvara {

// Invalidates, with erasing, the control's rectangle in its parent (onParent) or its
// grandparent, windows inside it included, so that a transparent text is drawn anew over the
// background behind it.
void refreshControl(HWND control, bool onParent);

// Sets the control's text, repaints it on the page's parent and updates the page. Does nothing
// in a silent run or without a control.
void setStatusText(HWND page, HWND control, const char* text);

}  // namespace kelvara
