// What an earlier installation had of the components an upgrade leaves out: undone once the
// upgrade has completed (Windows only).
#pragma once
#include "install/install_run_win32.h"

namespace kelvara {

// Undoes, as the uninstaller would, the earlier installation's lines in run.leftOutLines, except
// what this run installed again (the same file, value, INI entry or key, whatever component it
// belongs to now), keys the part did not own whole (a key of registry values, which other values
// may share) and keys this run wrote in; those go at the uninstall. Called only after the run
// completed: a failed or cancelled upgrade keeps those parts as they were. The run log says how
// many lines it undid.
void undoLeftOutParts(InstallRun& run);

}  // namespace kelvara
