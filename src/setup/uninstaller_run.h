// The uninstaller run of the start-up sequence.
#pragma once

namespace kelvara {

struct UninstallerResult {
    bool secondStage = false;  // the removal ran here: the caller's finish decisions follow
    int exitCode = 0;          // of a first stage, or of a second stage that could not run
};

// The first stage (the installed copy) asks for confirmation and starts a temporary copy of
// itself with the deployment options and the log's path; the second stage (that copy) shows the
// removal dialog and then starts the self-removal script. The settings of the log's header
// become the run's (product names, look). Nothing is reported when the log cannot be read.
// Silent (setupState.silentMode): nothing is asked and no dialog shown; the first stage waits
// until the second tells its outcome (just before it removes the installed uninstaller, which
// the first runs from) and takes that as its own exit code.
UninstallerResult runUninstaller();

}  // namespace kelvara
