// The silent installation: the install thread without a wizard (a passive run shows a progress
// window), then the finish decisions.
#pragma once

namespace kelvara {

// Runs the action groups and the install thread, reports errors, asks about the restart, and
// returns the installer's exit code.
int runSilentInstall();

}  // namespace kelvara
