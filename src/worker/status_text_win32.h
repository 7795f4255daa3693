// Setting a status text or a path of a page or dialog from a worker thread.
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

// Sets the path text shortened with an ellipsis in its middle to the control's width, and
// repaints it over the dialog's background. Callable from a worker thread.
void showRemovalPath(HWND control, const char* path);

}  // namespace kelvara
