// Reading an install or rollback log into the run, and the rollback mode that undoes a failed
// or cancelled installation (Windows only).
#pragma once

namespace kelvara {

class StringList;

// Which log is read: an installation's, whose header's names and look become the run's; the
// run's own rollback log; or the journal of another run that was cut off, which is trusted as an
// installation's is, but whose header is left alone.
enum class LogSource { installation, rollback, journal };

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
// install thread left them there (its file could not take them all). The file is kept while the
// undo runs, which notes its progress in it, and deleted then; rollbackLogPath is freed and
// cleared, so a second call undoes nothing. A log that cannot be read (missing, no header, fewer
// than four lines) undoes nothing.
void undoRollbackLog();

// Makes the log that readLog has just read one whose undo can be cut off and run again: what an
// earlier undo of it appended (its progress) is taken off the lines to undo and passed over, and
// the undo notes its own progress in the file at `path` (null: none is noted). True when the
// log says its run had completed (a journal's "z"): there is nothing to undo then.
// The folders of earlier second stages the log's tail names go to `removalFolders` when given.
bool resumeUndo(const char* path, StringList* removalFolders = nullptr);

// Undoes the journal that readLog has just read, its file at `path` (null: the lines came from
// memory, and no progress is noted): the lines an earlier undo of it did not get through, from
// the last to the first, noting each one in the file. A journal whose run had completed has
// nothing undone: only the backups of what it replaced are deleted. Returns when done.
void undoJournal(const char* path);

}  // namespace kelvara
