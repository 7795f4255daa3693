// The wizard run: the installation as a person goes through it, then the finish decisions.
#pragma once

namespace kelvara {

// Makes the drawing objects, shows the background window (when the script has one) and the
// wizard, pumps its messages until it closes, runs the action groups after the point it reached,
// reports errors, restarts or opens the programs to run after setup, and returns the installer's
// exit code.
int runWizardInstall();

}  // namespace kelvara
