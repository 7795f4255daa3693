// Formatted message boxes and the system's error texts (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

constexpr int kMessageTextLimit = 1024;  // characters of formatted message text

// Shows MessageBoxA(owner, text, caption, style) and returns its result. With a1 null the format
// is shown as it is (no % processing); otherwise it is filled with a1, a2 and a3 (each a %s),
// cut at kMessageTextLimit characters. Every message goes to the run log with its answer; in a
// quiet run it is not shown and takes the answer that keeps the machine as it is (quietAnswer).
int messageBoxFormat(HWND owner, const char* caption, const char* format, const char* a1,
                     const char* a2, const char* a3, UINT style);
int messageBoxFormat(HWND owner, const char* caption, const char* format, const char* a1,
                     UINT style);
int messageBoxFormat(HWND owner, const char* caption, const char* format, const char* a1,
                     const char* a2, UINT style);

// From now on message boxes are not shown (a quiet run: no window may wait for a person who is
// not there), or shown again.
void setQuietMessages(bool quiet);

// The system's message text for an error code, with its trailing line break, in a buffer of the
// calling thread's own that its next call overwrites (another thread's calls leave it alone).
// Empty when the system has no text.
const char* systemErrorText(DWORD code);

}  // namespace kelvara
