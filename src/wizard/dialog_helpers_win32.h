// Small operations the wizard pages and the frame share: where a control lies, the text of a
// drive's free space, and the shell's folder picker (Windows only).
#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/drive_space_win32.h"
#include "runtime/window_geometry_win32.h"

namespace kelvara {

// The control's text (at most 0x7FFF characters) as a new heap string, empty when there is no
// control; null when the heap is exhausted. The caller frees it.
char* controlText(HWND control);

// True when the check box `id` of the dialog is checked.
bool isChecked(HWND dialog, int id);

// Sets the control's text to the drive's free space as the destination page shows it.
void showFreeSpace(const char* drive, HWND control);

// The lower left corner of a window whose script hides the engine's name: `label` shows `text`
// in `font` at its width (hidden when `text` is empty), and the etched `band` line that follows
// it begins after it (at the window's edge without it).
void showCornerText(HWND label, HWND band, const char* text, HFONT font);

// The shell's folder picker over My Computer, owned by `owner`, with `title` above the tree and
// `initial` (may be null) selected. True when the user chose a folder with a file-system path,
// written to `result` (MAX_PATH characters); false, with `result` untouched, otherwise.
bool browseForFolder(HWND owner, const char* title, const char* initial, char* result);

}  // namespace kelvara
