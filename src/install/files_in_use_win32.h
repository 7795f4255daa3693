// Programs that hold files the installation replaces or removes: found after the installation
// folder is settled and before the first file is written, closed as the run's plan says (asking
// first where it asks), and started again when the run is over.
#pragma once

#include "install/install_run_win32.h"

namespace kelvara {

// The plan for programs in use, from the project's setting and the command line; kept in the
// workers' state, where the wizard's answer goes too.
void planClosingPrograms();

// Where the wizard asks: finds, before its Installing page, the programs that hold files of the
// chosen parts, for its page that asks about them. False when it does not ask or finds none.
bool programsInUseBeforeInstalling();

// Finds the programs that hold files the run replaces (those of the chosen groups that exist
// now, and those of the parts it leaves out), and closes them when the plan says so or the
// person answers Yes. What still runs keeps its files for the restart, as before. The run goes
// on whatever the answer.
void closeProgramsInUse(InstallRun& run);

// Starts again the programs the run closed, when the plan says so. Called once the run is over,
// whether it completed or was rolled back.
void restartClosedPrograms();

}  // namespace kelvara
