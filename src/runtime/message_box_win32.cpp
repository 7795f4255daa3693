// Formatted message boxes and the system's error texts.
#include "runtime/message_box_win32.h"

#include "runtime/handles_win32.h"
#include "runtime/message_text.h"
#include "runtime/run_log_text.h"
#include "runtime/run_log_win32.h"

namespace kelvara {
namespace {

static_assert(MB_TYPEMASK == 0xF && IDOK == 1 && IDCANCEL == 2 && IDABORT == 3 && IDNO == 7,
              "the quiet answers are the system's message box answers");

// Set by the main thread at start-up, before a second thread exists.
bool quietMessages = false;

}  // namespace

void setQuietMessages(bool quiet) {
    quietMessages = quiet;
}

int messageBoxFormat(HWND owner, const char* caption, const char* format, const char* a1,
                     const char* a2, const char* a3, UINT style) {
    char text[kMessageTextLimit];
    formatMessageText(text, sizeof text, format, a1, a2, a3);
    if (quietMessages) {
        const int answer = quietAnswer(style);
        writeRunLog("message (not shown: quiet) \"%s\": %s -> %s", caption, text,
                    answerName(answer));
        return answer;
    }
    const int answer = ::MessageBoxA(owner, text, caption, style);
    writeRunLog("message \"%s\": %s -> %s", caption, text, answerName(answer));
    return answer;
}

int messageBoxFormat(HWND owner, const char* caption, const char* format, const char* a1,
                     UINT style) {
    return messageBoxFormat(owner, caption, format, a1, nullptr, nullptr, style);
}

int messageBoxFormat(HWND owner, const char* caption, const char* format, const char* a1,
                     const char* a2, UINT style) {
    return messageBoxFormat(owner, caption, format, a1, a2, nullptr, style);
}

namespace {

// One buffer per thread: the wizard's thread and the worker both ask for error texts, and a
// text must not change under a message box that is showing it. A run has at most two threads
// at a time; a thread that finds every slot taken shares the one its id points at.
constexpr int kErrorTextSlots = 4;
struct ErrorTextSlot {
    volatile LONG threadId;
    char text[kMessageTextLimit];
};
ErrorTextSlot errorTextSlots[kErrorTextSlots];

char* errorTextBuffer() {
    const auto self = static_cast<LONG>(::GetCurrentThreadId());
    for (ErrorTextSlot& slot : errorTextSlots) {
        if (slot.threadId == self) return slot.text;
    }
    for (ErrorTextSlot& slot : errorTextSlots) {
        if (::InterlockedCompareExchange(&slot.threadId, self, 0) == 0) return slot.text;
    }
    return errorTextSlots[static_cast<DWORD>(self) % kErrorTextSlots].text;
}

}  // namespace

const char* systemErrorText(DWORD code) {
    char* text = errorTextBuffer();
    text[0] = '\0';
    UniqueLocalMemory systemText;
    // Inserts are left as they are: there are no arguments to put in them, and without this
    // flag a text with %1 would make the system read arguments that do not exist.
    DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<LPSTR>(systemText.put()), 0, nullptr);
    if (length && systemText) {
        // Copied as a message text without arguments: cut to fit, after a whole character.
        formatMessageText(text, kMessageTextLimit, static_cast<const char*>(systemText.get()),
                          nullptr);
    }
    return text;
}

}  // namespace kelvara
