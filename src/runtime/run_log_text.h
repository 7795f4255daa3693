// The lines of the run log a deployment asks for, and the answers a quiet run gives to the
// questions it would have asked; portable, so the rules are tested on every build.
#pragma once
#include <cstddef>

namespace kelvara {

struct LogTime {
    unsigned year, month, day, hour, minute, second, millisecond;
};

// Writes into buffer (bufferSize bytes) one line of the run log: the local time as
// "YYYY-MM-DD HH:MM:SS.mmm", a blank, the text with every line break (CR, LF or CR LF) and tab
// written as one blank (line breaks that end it are left out), then CR LF. The text is cut to fit;
// the line break always ends the line. Returns the line's length, 0 when the buffer cannot hold the
// time and the line break.
std::size_t formatRunLogLine(char* buffer, std::size_t bufferSize, const LogTime& time,
                             const char* text);

// The answer a quiet run gives to a message box of this type (the low four bits of its style):
// the one that keeps the machine as it is. A failing step is not skipped but ends the run
// (which is rolled back), a file in use is left to the restart, a shared file is kept, no
// restart is started: No, Cancel or Abort, whichever the box offers; OK for a message.
int quietAnswer(unsigned style);

// The label of a message box answer for the log ("Yes", "No", "OK", ...; "?" when unknown).
const char* answerName(int answer);

}  // namespace kelvara
