#include "runtime/run_log_win32.h"

#include <windows.h>

#include "runtime/message_box_win32.h"
#include "runtime/message_text.h"
#include "runtime/run_log_text.h"

namespace kelvara {
namespace {

constexpr int kLineLimit = kMessageTextLimit + 64;  // a message, its caption and answer

// Written by the thread that opens and closes the log, before and after the others run.
HANDLE logFile = INVALID_HANDLE_VALUE;
volatile LONG writeFailed = 0;

}  // namespace

bool openRunLog(const char* path) {
    closeRunLog();
    // Appending only: each WriteFile lands at the end, whoever else writes at the same time.
    logFile = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return logFile != INVALID_HANDLE_VALUE;
}

void writeRunLog(const char* format, const char* a1, const char* a2, const char* a3) {
    if (logFile == INVALID_HANDLE_VALUE || writeFailed) return;
    char text[kMessageTextLimit];
    formatMessageText(text, sizeof text, format, a1 ? a1 : "", a2, a3);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const LogTime time = {now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                          now.wMinute, now.wSecond, now.wMilliseconds};
    char line[kLineLimit];
    const std::size_t length = formatRunLogLine(line, sizeof line, time, text);
    DWORD written = 0;
    if (!::WriteFile(logFile, line, static_cast<DWORD>(length), &written, nullptr) ||
        written != length) {
        ::InterlockedExchange(&writeFailed, 1);
    }
}

bool runLogFailed() {
    return writeFailed != 0;
}

void closeRunLog() {
    if (logFile != INVALID_HANDLE_VALUE) ::CloseHandle(logFile);
    logFile = INVALID_HANDLE_VALUE;
}

}  // namespace kelvara
