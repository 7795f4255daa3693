// The uninstaller run of the start-up sequence: its two stages and its finish.
#pragma once

namespace kelvara {

// The uninstaller, after the start-up stages: the running file is no longer needed open. The
// first stage asks and starts a temporary copy of itself; that copy, the second stage, removes
// what the install log names, then the finish decisions: the restart for files in use, or the
// success message when nothing is left over. A silent run asks nothing and shows nothing.
// Returns the exit code: 0 removed, 1 removed with errors, 1602 declined or cancelled, 1603
// could not run, 3010 a restart is needed (1641: it was started).
int runUninstallerMode();

}  // namespace kelvara
