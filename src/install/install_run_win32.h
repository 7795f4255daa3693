// The install thread's own state for one run, shared by its phases (files, and the record
// phases that follow), and the few operations every phase uses: checkpoints, logging and
// asking the user.
#pragma once
#include <windows.h>

#include <cstdint>

#include "formats/install_log.h"
#include "formats/languages.h"
#include "install/block_reader_win32.h"
#include "install/image_window_win32.h"
#include "install/inflate_ahead_win32.h"
#include "install/install_display_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"

namespace kelvara {

// The rollback log's open file, kept as a journal: each line is written to the file the moment
// it is added, before the change it tells of is made, so that a run killed at any moment leaves
// the system a record of what it changed (see formats/journal.h). A write is a call to the
// system; what must also outlast a power cut is flushed to the disk (makeDurable).
class RollbackLogFile : public LogSink {
  public:
    // Creates (truncates) the file for writing with read sharing, temporary and sequential.
    bool create(const char* path);
    void close();
    void write(const char* text, std::size_t length) override;
    // Asks the system to put what was written on the disk itself: before a change that would
    // lose what a person had (a file set aside), and where the run changes phase. False when
    // the file could not take it (error() says why).
    bool makeDurable();
    // The system error of the first write that failed (the disk full, the drive gone), or 0.
    // Nothing is written after it: the run has to stop, and its rollback takes the lines from
    // the install log's record of them, which the file no longer has whole.
    DWORD error() const { return error_; }
    bool isOpen() const { return file_.valid(); }

  private:
    UniqueFile file_;
    DWORD error_ = 0;
};

struct InstallRun {
    InstallDisplay display;
    InstallLog log;
    // The components of the file group being written, as its lines in the log name them.
    HeapString groupPart;
    // The lines of an earlier installation's parts that this one leaves out: undone once the
    // run has completed (an upgrade that fails or is cancelled keeps them as they are).
    StringList leftOutLines;
    RollbackLogFile rollbackFile;
    HeapString rollbackLogPath;
    // The marks of the run in progress (worker/run_marks_win32.h), set before its first change
    // and cleared when it is over; the keys setting them made; the engine copy the next logon
    // runs to recover the run when it was cut off.
    bool marked = false;
    std::uint32_t markKeys = 0;
    HeapString recoveryCopy;
    // The uninstaller and install log written beside their paths, until they are put in place.
    HeapString uninstallerBeside;
    HeapString installLogBeside;
    HeapString uninstallerPath;
    HeapString installLogPath;

    // The setup image and the file groups in its package (package offsets E to S): the walk of
    // the groups and the file content the install thread reads itself go through windows of
    // their own, so that the names of an entry stay readable while its content is read; the
    // helper that inflates ahead has its own.
    ImageFile image;
    ImageWindow headers;
    ImageWindow content;
    InflateAhead ahead;
    // The content of the files that lie in blocks, decoded ahead on helpers of its own.
    BlockReader blocks;
    std::uint32_t groupsStart = 0;   // E
    std::uint32_t groupsEnd = 0;     // S
    std::uint32_t largestBlock = 0;  // the most content of one block (0: no blocks)
    std::uint32_t groupNumber = 0;   // of the group being installed, from 0

    StringList folderStack;
    // The old contents of the files this run replaced, each next to its target: a rollback puts
    // them back, a completed run deletes them.
    StringList replacedBackups;
    StringList replacedTargets;  // in step with replacedBackups: where each one belongs
    StringList backedUpFiles;    // the targets of replacedBackups that were copied, not moved
    HeapOwned<unsigned char> inflateBuffer;  // one piece of an inflated file at a time
    // Where freeNameBeside tries its next name.
    std::uint32_t nextName = 0;
    // A checkpoint took the wizard's quit message: every later checkpoint answers cancelled.
    bool quitTaken = false;
    bool rollbackLogReported = false;  // its failed write has been told

    HWND owner() const { return display.page(); }
};

// How a phase of the run ends: the run goes on; it stops (a failure or the user's answer to
// one ends it, and it is rolled back); or the wizard cancelled it at a checkpoint (rolled back
// too, and the run ends as cancelled).
enum class PhaseOutcome { proceed, stop, cancelled };

// A new, empty temporary file in the run's private temporary folder with the prefix "KVR"; its
// path as a heap string (the caller frees it), or null when the system gives none (the last
// error says why).
char* newTempName();

// A temporary name in the folder of `path` (so that moving a file between the two is a rename on
// one volume) that no file has now, "KVR", four hexadecimal digits and ".tmp", written to
// `name`. Nothing is made: the journal names a file before the run makes it. False when the
// folder has no name free or cannot be looked into (the last error says why).
bool freeNameBeside(InstallRun& run, const char* path, char (&name)[MAX_PATH + 1]);

// Tells the journal of a file the run has just made that is none of its installed files (a new
// file beside its target, a file waiting for the restart) or that it is about to make (a folder,
// a key, a link), so that a run killed before its end leaves nothing of it behind: the rollback
// deletes it when it is there. A file that was there before the run is never named here. False
// when the journal could not take the line (its failure told): the item is not to be made.
bool journalNewItem(InstallRun& run, char kind, const char* path);

// True only when the system says that nothing is at `path` (not found): a path it cannot look at
// (no right to list its folder) is not taken for missing, so that the journal never names a
// person's file as one the run is about to make.
bool surelyMissing(const char* path);

// Tells the rollback that `backup` holds the old content of `target` ("k", rollback only) and
// keeps both names for the end of the run, which deletes the backup on success and puts it back
// otherwise. The line is on the disk when this returns true: only then may the target be set
// aside. False when the journal could not take it: there is then no backup.
bool noteBackup(InstallRun& run, const char* backup, const char* target);

// A write to the journal failed: told once (the run then stops, and is rolled back from the
// lines it kept in memory). False when the journal is whole.
bool journalFailed(InstallRun& run);

// The backup noteBackup noted last was never made (the target could not be moved): the end of
// the run must not delete whatever has that name.
void forgetBackup(InstallRun& run);

// Waits while the wizard holds the run, takes a quit message posted to the thread, and tells
// whether the run goes on: proceed, or cancelled once a quit message was taken now or earlier
// (the run then goes straight to its end).
PhaseOutcome checkpoint(InstallRun& run);

// Adds a path line ("a", "b", "g", "h") to the install log, and to the rollback log when
// toRollback; with excludeSystemFolder a system folder gets no line.
void logPath(InstallRun& run, char kind, const char* path, bool toRollback,
             bool excludeSystemFolder = false);

// Keeps an existing file that the run is about to change in place (an INI file) for the
// rollback: the file is set aside next to it and a copy takes its place; logged for the rollback
// only ("k"), deleted when the run completes. Once per file and run. False when it could not be
// kept (the change then goes ahead without it).
bool keepCopyForRollback(InstallRun& run, const char* path);

// Damage the start-up checks could not see (it lies outside the checksum, or the file was cut
// short since): the message the start-up gives for a damaged image, with its caption, and the
// run ends as not installed.
void reportDamagedImage(InstallRun& run);

// The image could not be read (`error` says why): the message with the setup caption, or the
// damaged image's when the file ended early (ERROR_HANDLE_EOF); the run ends as not installed.
void reportUnreadableImage(InstallRun& run, DWORD error);

// A step failed that the run can go on without (a file, a value, a shortcut, a program): the
// run is no longer a success, and the message `item` (filled with a1 to a3, setup caption,
// owner the Installing page or none) asks whether to go on. True for Yes; No, and a quiet run,
// end the run.
bool askToGoOn(InstallRun& run, ErrorMessage item, const char* a1, const char* a2 = nullptr,
               const char* a3 = nullptr);

// Shows the message `item` with the setup caption, owner the Installing page or none, filled
// with a1 and a2. Returns the button.
int askUser(InstallRun& run, ErrorMessage item, const char* a1, const char* a2, UINT style);
int askUser(InstallRun& run, SetupMessage item, const char* a1, const char* a2, UINT style);

}  // namespace kelvara
