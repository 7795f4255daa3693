// The uninstaller's own run state: the install log it reads and its entry lines, what the
// uninstall thread could not remove, and the event its end sets. One per process; its storage
// starts as zero bytes, createUninstallState makes it ready and releaseUninstallState gives back
// all it owns.
#pragma once

#include "runtime/heap_string.h"
#include "runtime/run_state_storage.h"
#include "runtime/string_list.h"
#include "runtime/system_objects.h"

namespace kelvara {

struct UninstallState {
    // The log the run reads (NUL-terminated) and, inside it, the entry lines after the settings
    // line, which the uninstall thread undoes from the last to the first.
    HeapString uninstallLogPath;
    HeapString logBuffer;
    char* entryText = nullptr;
    // Files in use, deleted at the restart; folders that were not empty; the user's Yes To All
    // for shared files.
    StringList rebootDeleteFiles;
    StringList leftoverFolders;
    bool removeAllShared = false;
    // The uninstaller and its log, as the log names them, and the lines of the product's entry in
    // the list of installed programs: removed after everything else, so that an uninstall cut
    // off half-way can be started again, from that list too.
    StringList ownFilesLeft;
    StringList entryLinesLeft;
    // Entries the uninstall thread was to remove or put back and could not (a key, a value):
    // the run ends "removed with errors". Files in use are not among them: they go at restart.
    int uninstallErrors = 0;
    // A journal's undo: the file it notes its progress in ("u" lines, after each line undone;
    // null for none) and the lines an earlier undo of it got through, which are passed over.
    HeapString progressPath;
    int linesUndone = 0;
    // Set once the uninstall thread got through every line.
    OwnedKernelObject uninstallDoneEvent;
};

// The uninstaller's state, for the whole process (see RunStateStorage).
extern RunStateStorage<UninstallState> uninstallStateStorage;
inline constexpr UninstallState& uninstallState = uninstallStateStorage.state;

// Makes the lists; false when out of memory.
bool createUninstallState();

// Gives back everything the state owns; its owners (lists, strings, handles, windows) are empty
// afterwards. Called by the clean-up, once, before the process ends.
void releaseUninstallState();

}  // namespace kelvara
