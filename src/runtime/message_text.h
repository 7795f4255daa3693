// Builds the text of a formatted message box; portable, so the rules are tested on every build.
#pragma once
#include <cstddef>

namespace kelvara {

// Writes into buffer (bufferSize bytes, always NUL-terminated when bufferSize > 0) the format
// filled with a1, a2 and a3 in turn, one per %s; %% gives one %. With a1 null the format is
// copied unchanged. A %s beyond the given arguments gives nothing (the format, which comes from
// the setup script, never makes the routine read an argument it was not given), and any other
// % sequence is copied as it is. The text is cut to fit. Returns its length.
std::size_t formatMessageText(char* buffer, std::size_t bufferSize, const char* format,
                              const char* a1, const char* a2 = nullptr, const char* a3 = nullptr);

}  // namespace kelvara
