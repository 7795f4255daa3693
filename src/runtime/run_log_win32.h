// The run log a deployment names on the command line (/LOG=file): plain text, one line per
// event, each beginning with the local time, appended to what the file already holds. One per
// process, like the heap: every thread and layer writes to it, and writing when no log is open
// does nothing. Each line is a single append, so lines of two threads never mix.
#pragma once

namespace kelvara {

// Opens (or creates) the file for appending. False when it cannot be opened for writing; the
// caller reports that once, and the run goes on without a log.
bool openRunLog(const char* path);

// The format filled with a1, a2 and a3 in turn (one per %s), as one line. When a line cannot be
// written the log is closed, and runLogFailed() tells the caller to report it.
void writeRunLog(const char* format, const char* a1 = nullptr, const char* a2 = nullptr,
                 const char* a3 = nullptr);

// True once a line could not be written (and the log has been closed for it).
bool runLogFailed();

void closeRunLog();

}  // namespace kelvara
