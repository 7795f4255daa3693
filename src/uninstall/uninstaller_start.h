// The uninstaller's start: choosing and reading the install log, the two stages of a normal
// uninstall, and the rollback mode that undoes a failed or cancelled installation.
#pragma once

namespace kelvara {

// rollback = true: undoes the rollback log named by setupState.rollbackLogPath without any
// window and returns when the undo has finished. Once the log is read, the file is deleted and
// rollbackLogPath freed and cleared, so a second call undoes nothing; a log that cannot be read
// (missing, no header, fewer than four lines) undoes nothing and stays as it is.
// rollback = false: the uninstaller run of the start-up sequence. The first stage (the installed
// copy) asks for confirmation and starts a temporary copy of itself with the log's path; the
// second stage (that copy) shows the removal dialog and then starts the self-removal script.
// The settings of the log's header become the run's (product names, look). Nothing is reported
// when the log cannot be read.
void startUninstaller(bool rollback);

// Writes "delself.bat" in tempDir, which deletes installerPath once this process has let go of
// it and then itself, and starts it hidden. Failures are not reported: the file stays behind.
void writeSelfRemovalScript();

}  // namespace kelvara
