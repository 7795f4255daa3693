// The check of an installation folder, wherever it was given: the destination page's folder,
// the command line's /DIR= (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// True when the folder can take the installation: a full path whose nearest existing folder
// lies on a drive with room for the installation, where the user may add files (the folder
// exists) or folders (an ancestor does). Otherwise the reason has been shown, owned by
// `owner` (may be null).
bool installFolderAccepted(HWND owner, const char* path);

}  // namespace kelvara
