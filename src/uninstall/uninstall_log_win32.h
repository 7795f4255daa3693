// Reading an install or rollback log into the run, and the rollback mode that undoes a failed
// or cancelled installation (Windows only).
#pragma once

namespace kelvara {

// Which log is read: an installation's, whose header's names and look become the run's, or the
// run's own rollback log.
enum class LogSource { installation, rollback };

// What reading a log came to.
enum class LogRead {
    read,
    unreadable,  // cannot be opened or read whole, or is no log
    // An installation's log that users other than the administrators may change, found by a
    // run with administrator rights: it could name anything to run or delete, so it is not read.
    untrusted,
};

// Reads the whole log into uninstallState.logBuffer and points entryText at its entry lines; on
// anything but LogRead::read nothing is changed.
LogRead readLog(const char* path, LogSource source);

// Frees the log that readLog read.
void releaseLog();

// Undoes the rollback log named by workerState.rollbackLogPath without any window and returns
// when the undo has finished; the lines come from workerState.rollbackLogText instead when the
// install thread left them there (its file could not take them all). The file is deleted and
// rollbackLogPath freed and cleared, so a second call undoes nothing; a log that cannot be read
// (missing, no header, fewer than four lines) undoes nothing.
void undoRollbackLog();

}  // namespace kelvara
