// The uninstaller's removal dialog (page type 141 of the page procedure): progress while the
// uninstall thread works, Cancel with its question, and afterwards the leftover-files page
// (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// Shows the removal dialog modally, without owner, in the run's layout (template 141 plus
// dialogSetOffset) for page slot 12, and returns when it has ended. False when it could not be
// shown (nothing was undone then).
bool runRemovalDialog();

// The page type's parts for the page procedure: starting the uninstall thread, and the commands
// and notifications of the dialog. (The page procedure waits for the thread when the dialog
// goes.)
void initialiseRemovalDialog(HWND dialog);
bool handleRemovalDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

}  // namespace kelvara
