#include "runtime/run_log_text.h"

#include <cstring>

#include "runtime/text_encoding.h"

namespace kelvara {
namespace {

// The message box types and answers of the system, by their numbers (MB_*, ID*).
constexpr unsigned kTypeOk = 0, kTypeOkCancel = 1, kTypeAbortRetryIgnore = 2, kTypeYesNoCancel = 3,
                   kTypeYesNo = 4, kTypeRetryCancel = 5, kTypeCancelTryContinue = 6;
constexpr int kAnswerOk = 1, kAnswerCancel = 2, kAnswerAbort = 3, kAnswerNo = 7;

constexpr const char* kAnswerNames[] = {"?",   "OK", "Cancel", "Abort", "Retry",     "Ignore",
                                        "Yes", "No", "Close",  "Help",  "Try Again", "Continue"};

// Writes the number with `digits` digits (leading zeros; higher digits dropped).
char* putNumber(char* out, unsigned value, int digits) {
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + digits;
}

}  // namespace

std::size_t formatRunLogLine(char* buffer, std::size_t bufferSize, const LogTime& time,
                             const char* text) {
    constexpr std::size_t kTimeLength = 24;  // "YYYY-MM-DD HH:MM:SS.mmm "
    constexpr std::size_t kEnd = 3;          // CR LF and the terminator
    if (!buffer || bufferSize < kTimeLength + kEnd) return 0;
    char* out = putNumber(buffer, time.year, 4);
    *out++ = '-';
    out = putNumber(out, time.month, 2);
    *out++ = '-';
    out = putNumber(out, time.day, 2);
    *out++ = ' ';
    out = putNumber(out, time.hour, 2);
    *out++ = ':';
    out = putNumber(out, time.minute, 2);
    *out++ = ':';
    out = putNumber(out, time.second, 2);
    *out++ = '.';
    out = putNumber(out, time.millisecond, 3);
    *out++ = ' ';
    char* const last = buffer + bufferSize - kEnd;
    char* const textStart = out;
    const char* p = text ? text : "";
    // Line breaks that end the text (the system's error texts have one) end nothing in a line.
    const char* end = p + std::strlen(p);
    while (end > p && (end[-1] == '\r' || end[-1] == '\n')) --end;
    for (; p < end && out < last; ++p) {
        if (*p == '\r' && p[1] == '\n') ++p;
        *out++ = *p == '\r' || *p == '\n' || *p == '\t' ? ' ' : *p;
    }
    // A text cut to fit ends with whole characters.
    if (p < end) {
        const auto written = static_cast<std::size_t>(out - textStart);
        out = textStart + wholeCharactersLength(textStart, written);
    }
    *out++ = '\r';
    *out++ = '\n';
    *out = '\0';
    return static_cast<std::size_t>(out - buffer);
}

int quietAnswer(unsigned style) {
    switch (style & 0xF) {
        case kTypeOk:
            return kAnswerOk;
        case kTypeAbortRetryIgnore:
            return kAnswerAbort;
        case kTypeYesNo:
            return kAnswerNo;
        case kTypeOkCancel:
        case kTypeYesNoCancel:
        case kTypeRetryCancel:
        case kTypeCancelTryContinue:
        default:
            return kAnswerCancel;
    }
}

const char* answerName(int answer) {
    constexpr int count = sizeof kAnswerNames / sizeof kAnswerNames[0];
    return answer > 0 && answer < count ? kAnswerNames[answer] : kAnswerNames[0];
}

}  // namespace kelvara
