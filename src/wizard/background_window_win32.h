// The background window: a full-screen window behind the wizard frame with a vertical colour
// gradient and up to two lines of text, whose title follows the page shown and whose close
// counts as the wizard's Cancel (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// Registers the window class "KelvaraBGWindow" and shows the window over the whole screen,
// with a caption when the settings ask for one. Null when it cannot be made (nothing is said:
// the wizard then runs without it).
HWND createBackgroundWindow();

}  // namespace kelvara
