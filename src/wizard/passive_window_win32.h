// The window of a passive run (/PASSIVE): the Installing page's title, step, path and progress
// bar in a small window without buttons, so that a person sees the installation and nothing
// waits for an answer.
#pragma once
#include <windows.h>

namespace kelvara {

// Opens the window, centred and shown; null when it cannot be made (the run then goes on
// without it). Its controls carry the Installing page's ids, so the install thread drives it as
// it drives the page. The caller closes it with DestroyWindow.
HWND openPassiveWindow();

}  // namespace kelvara
