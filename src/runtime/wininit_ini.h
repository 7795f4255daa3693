// Text for replacing files at restart on systems without a delayed move: the rename line of
// wininit.ini's [Rename] section, the RunOnce move command, and the long-name test that picks
// between them. Works on text in memory; reading and writing the files is the caller's.
#pragma once
#include <cstddef>

namespace kelvara {

// True when the file name of path (after its last backslash) is not an 8.3 name: more than 8
// characters before its first dot, more than 3 after it, more than one dot, or more than 8
// characters without a dot. Such targets go to RunOnce instead of wininit.ini.
bool isLongFileName(const char* path);

// The new text of wininit.ini with the line "target=source" added to its [Rename] section
// (found ignoring case): at the end of the section, before the blank lines that precede the
// next section; without a section, "[Rename]" and the line are appended (after a CR LF when the
// old text holds a section or ends without a line break). `oldText` may be null (a missing
// file, length 0). A null target stands for "NUL": delete the source. The paths are the short
// forms. Returns a new heap text (the caller frees it) and its length in *newLength; null when
// out of memory.
char* addWininitRename(const char* oldText, std::size_t oldLength, const char* target,
                       const char* source, std::size_t* newLength);

// The RunOnce command that moves source onto target: command.com /c move "source" "target".
// A new heap string, or null when out of memory.
char* runOnceMoveCommand(const char* source, const char* target);

}  // namespace kelvara
