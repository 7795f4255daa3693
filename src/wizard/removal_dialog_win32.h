// The uninstaller's removal dialog (page type 141 of the page procedure): progress while the
// uninstall thread works, Cancel with its question, and afterwards the leftover-files page
// (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// Sent by the uninstall thread to the dialog when it has finished and folders are left over:
// the dialog turns into the leftover-files page on its own thread. wParam, lParam 0.
constexpr UINT kMsgShowLeftoverPage = WM_APP + 1;

// Shows the removal dialog modally, without owner, in the run's layout (template 141 plus
// dialogSetOffset) for page slot 12, and returns when it has ended. False when it could not be
// shown (nothing was undone then).
bool runRemovalDialog();

// The page type's parts for the page procedure: starting the uninstall thread, and the commands
// and notifications of the dialog. (The page procedure waits for the thread when the dialog
// goes.)
void initialiseRemovalDialog(HWND dialog);
bool handleRemovalDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

// Sets the path text shortened with an ellipsis in its middle to the control's width, and
// repaints it over the dialog's background. Callable from the uninstall thread.
void showRemovalPath(HWND control, const char* path);

}  // namespace kelvara
