// Reading an install or rollback log into the run, and the rollback mode that undoes a failed
// or cancelled installation (Windows only).
#pragma once

namespace kelvara {

// Reads the whole log into setupState.logBuffer and points entryText at its entry lines. With
// applySettings the header's names and look become the run's. False, with nothing changed, when
// the file cannot be opened or read whole, or is no log.
bool readLog(const char* path, bool applySettings);

// Frees the log that readLog read.
void releaseLog();

// Undoes the rollback log named by setupState.rollbackLogPath without any window and returns
// when the undo has finished. Once the log is read, the file is deleted and rollbackLogPath
// freed and cleared, so a second call undoes nothing; a log that cannot be read (missing, no
// header, fewer than four lines) undoes nothing and stays as it is.
void undoRollbackLog();

}  // namespace kelvara
