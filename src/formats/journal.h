// The rollback log kept as a journal: written line by line before each change, so that a run
// killed at any moment can still be undone by the next one. Beside the install log's kinds it
// has three of its own, which only the journal holds:
//   "i,image,start,process,folder,keys"
//                                   the run it belongs to: the setup image, the run's start (a
//                                   FILETIME as 16 hex digits), its process id, its private
//                                   temporary folder, where the copies it keeps lie, and the
//                                   registry keys its marks made (see RunMarks), to go with them;
//   "z"                             the run completed: nothing is undone any more, only the
//                                   backups of what it replaced are left to delete;
//   "u,N"                           a recovery has undone the last N entry lines: the next one
//                                   goes on from there (every line is undone once);
//   "w,folder"                      an uninstall ran its second stage from that folder (escaped):
//                                   one that was cut off leaves it, and the next uninstall of the
//                                   product removes it.
// The uninstaller writes "u" and "w" lines into the install log it removes.
// An engine that knows none of them undoes nothing for them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/heap_string.h"
#include "runtime/string_list.h"

namespace kelvara {

constexpr char kLogRunInfo = 'i';
constexpr char kLogRunCompleted = 'z';
constexpr char kLogUndone = 'u';
constexpr char kLogRemovalFolder = 'w';

// What the journal's "i" line says of its run.
struct RunInfo {
    HeapString image;
    std::uint64_t startTime = 0;  // FILETIME, 100 ns since 1601 (UTC)
    std::uint32_t processId = 0;
    HeapString runFolder;
    std::uint32_t markKeys = 0;
};

// The text of the "i" line after its kind and comma (no LF). Null when out of memory.
char* runInfoText(const char* image, std::uint64_t startTime, std::uint32_t processId,
                  const char* runFolder, std::uint32_t markKeys);

// The first "i" line of an entry text (`length` bytes). False when there is none, or out of
// memory.
bool findRunInfo(const char* entryText, std::size_t length, RunInfo& info);

// The end of a journal's entry text: the progress lines an undo appended ("u", "w") and the
// completion line before them. `entryLength` is the text's length without them: what is left to
// undo. The folders of the "w" lines go to `removalFolders` when it is given (created).
struct JournalTail {
    bool completed = false;
    int undoneLines = 0;  // the largest N of the "u" lines
    std::size_t entryLength = 0;
};
void readJournalTail(const char* entryText, std::size_t length, JournalTail& tail,
                     StringList* removalFolders = nullptr);

// "u,N\n" into `buffer` (room for 16); returns its length.
std::size_t undoneLineText(char* buffer, int undoneLines);

}  // namespace kelvara
