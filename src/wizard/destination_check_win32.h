// The frame's check of the destination page's folder before it moves on (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// True when the folder typed on the destination page (control 1018 of `page`) can take the
// installation: a full path whose nearest existing folder lies on a drive with room for the
// installation, where the user may add files (the folder exists) or folders (an ancestor
// does). Otherwise the reason has been shown, owned by the frame, and the page stays.
bool destinationAccepted(HWND frame, HWND page);

}  // namespace kelvara
