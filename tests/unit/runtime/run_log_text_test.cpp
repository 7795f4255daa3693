#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/run_log_text.h"

using namespace kelvara;

TEST(RunLogText, OneLineWithItsTimeWhateverTheTextHolds) {
    const LogTime time = {2026, 12, 8, 9, 5, 7, 42};
    char line[128];
    const std::size_t length =
        formatRunLogLine(line, sizeof line, time, "message \"Setup\": A\r\nB\nC\rD\tE -> No");
    EXPECT_EQ(length, std::strlen(line));
    EXPECT_STREQ(line, "2026-12-08 09:05:07.042 message \"Setup\": A B C D E -> No\r\n")
        << "every line break and tab is one blank: one event, one line";
    formatRunLogLine(line, sizeof line, time, "not removed: Access denied.\r\n");
    EXPECT_STREQ(line, "2026-12-08 09:05:07.042 not removed: Access denied.\r\n")
        << "the line break that ends a system's error text ends nothing";
    formatRunLogLine(line, sizeof line, time, nullptr);
    EXPECT_STREQ(line, "2026-12-08 09:05:07.042 \r\n");

    // Cut to fit, the line break kept; a buffer without room for time and break gets nothing.
    char small[30];
    EXPECT_EQ(formatRunLogLine(small, sizeof small, time, "abcdefghij"), 29u);
    EXPECT_STREQ(small, "2026-12-08 09:05:07.042 abc\r\n");
    char tiny[26] = "untouched";
    EXPECT_EQ(formatRunLogLine(tiny, sizeof tiny, time, "x"), 0u);
    EXPECT_STREQ(tiny, "untouched");
    EXPECT_EQ(formatRunLogLine(nullptr, 100, time, "x"), 0u);
}

TEST(RunLogText, AQuietRunAnswersWhatKeepsTheMachineAsItIs) {
    // The system's message box types (low four bits) and answers, by number.
    constexpr unsigned kOk = 0, kOkCancel = 1, kAbortRetryIgnore = 2, kYesNoCancel = 3, kYesNo = 4,
                       kRetryCancel = 5, kIconError = 0x10, kSystemModal = 0x1000;
    EXPECT_STREQ(answerName(quietAnswer(kOk | kIconError)), "OK");
    EXPECT_STREQ(answerName(quietAnswer(kOkCancel)), "Cancel") << "the disk-full retry ends";
    EXPECT_STREQ(answerName(quietAnswer(kAbortRetryIgnore)), "Abort");
    EXPECT_STREQ(answerName(quietAnswer(kYesNoCancel)), "Cancel");
    EXPECT_STREQ(answerName(quietAnswer(kYesNo | kSystemModal)), "No")
        << "a failing step is not skipped, a file in use waits for the restart";
    EXPECT_STREQ(answerName(quietAnswer(kRetryCancel)), "Cancel");
    EXPECT_STREQ(answerName(0), "?");
    EXPECT_STREQ(answerName(99), "?");
    EXPECT_STREQ(answerName(6), "Yes");
}
