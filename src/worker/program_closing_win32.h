// Closing the running programs that hold a run's files, and starting them again afterwards.
#pragma once

#include "worker/closing_rules.h"

namespace kelvara {

// How long the programs asked to close have to do so, together; and how long an ended one has
// to be gone.
constexpr unsigned long kCloseWaitMilliseconds = 10000;
constexpr unsigned long kEndWaitMilliseconds = 5000;

// Asks every program found and still running to close, as the system does at the end of a
// session (WM_QUERYENDSESSION and WM_ENDSESSION with ENDSESSION_CLOSEAPP to its top-level
// windows), and then to close its windows (WM_CLOSE); waits for them, and with `force` ends
// those that are still running. A program that declines or has no window stays unless forced.
// Each outcome is kept in the program's `end` and written to the run log. Returns how many still
// run: their files wait for the restart.
int closePrograms(RunningPrograms& programs, bool force);

// Starts every program that was closed or ended again: with the command line it registered for a
// restart or was started with, else its program alone, in its program's folder. Each start is
// written to the run log; one that fails is only logged.
void restartPrograms(const RunningPrograms& programs);

}  // namespace kelvara
