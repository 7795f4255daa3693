// What the silent run and the wizard run share after the installation: the restart question's
// text and the restart itself (Windows only).
#pragma once
#include <windows.h>

#include "formats/languages.h"

namespace kelvara {

// The setupMessages item that asks for the restart: the files-in-use question when files wait
// for the restart because they were in use, the plain one otherwise.
SetupMessage restartQuestion();

// Restarts the computer; when the system refuses, says so (errorMessages 29, no owner, `style`
// with the error icon). True when the restart was started. A run given /NORESTART never
// restarts: false, and the exit code says that a restart is required.
bool restartComputer(UINT style);

}  // namespace kelvara
