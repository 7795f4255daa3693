// An installation of the product that was cut off, met at the start of a run: the setup and
// the uninstaller undo it before they change anything themselves, and the next logon's RunOnce
// entry starts the engine in the recovery mode, which does nothing else.
#pragma once

namespace kelvara {

// For the setup, once it alone may install: an earlier run of its product that was cut off is
// undone first, quietly under /QUIET, else after telling the person. False when the person
// would rather not (the setup then ends as cancelled, nothing changed).
bool earlierRunUndone();

// For the uninstaller's first stage, before it asks: an installation of the product that was
// cut off is undone first (it may have set aside the uninstaller's own log). True when there was
// one (whatever its recovery found): the install log read before must be read again.
bool interruptedRunUndoneBeforeRemoval();

// The engine started with /RECOVER="journal" (the next logon's RunOnce entry): recovers that
// run, quietly, and removes itself when it runs from the run's folder. Returns the exit code:
// 0 recovered (or nothing to recover), 1603 not done (the run log says why), 1618 another
// installation is in progress (left to the next setup).
int runRecoveryMode();

}  // namespace kelvara
