// Restarting the computer when files wait for the restart and the user agreed.
#pragma once

namespace kelvara {

// Enables the shutdown privilege (where the system has one) and asks the system to restart; falls
// back to "shutdown.exe -r -t 00" only when the system refuses the request itself. True when the
// restart was started; false without a message (the caller reports).
bool restartWindows(bool force);

}  // namespace kelvara
