#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/message_text.h"

using namespace kelvara;

TEST(MessageText, FillsStringsInOrderAndNeverReadsMissingArguments) {
    char text[1024];
    formatMessageText(text, sizeof text, "Cannot open %s (100%% sure).", nullptr);
    EXPECT_STREQ(text, "Cannot open %s (100%% sure).") << "no first argument: shown as it is";

    EXPECT_EQ(formatMessageText(text, sizeof text, "Copy %s to %s? %s", "a", "b", "c"), 14u);
    EXPECT_STREQ(text, "Copy a to b? c");
    formatMessageText(text, sizeof text, "%s%%", "50");
    EXPECT_STREQ(text, "50%");
    formatMessageText(text, sizeof text, "%s and %s and %s", "one");
    EXPECT_STREQ(text, "one and  and ") << "a %s without argument stays empty";
    formatMessageText(text, sizeof text, "%d%s%", "x");
    EXPECT_STREQ(text, "%dx%") << "other sequences are copied";
    formatMessageText(text, sizeof text, nullptr, "x");
    EXPECT_STREQ(text, "");
}

TEST(MessageText, CutsAtTheBufferWithoutOverflow) {
    constexpr std::size_t kLimit = 1024;
    char guarded[kLimit + 16];
    std::memset(guarded, '#', sizeof guarded);
    std::string longText(3000, 'x');

    std::size_t length = formatMessageText(guarded, kLimit, "<%s>", longText.c_str());
    EXPECT_EQ(length, kLimit - 1);
    EXPECT_EQ(guarded[0], '<');
    EXPECT_EQ(guarded[kLimit - 2], 'x');
    EXPECT_EQ(guarded[kLimit - 1], '\0');
    EXPECT_EQ(std::string(guarded + kLimit, 16), std::string(16, '#')) << "written past the end";

    std::memset(guarded, '#', sizeof guarded);
    formatMessageText(guarded, kLimit, longText.c_str(), nullptr);
    EXPECT_EQ(std::strlen(guarded), kLimit - 1) << "the unformatted copy is cut too";
    EXPECT_EQ(guarded[kLimit], '#');

    char one[1] = {'#'};
    EXPECT_EQ(formatMessageText(one, 1, "%s", "abc"), 0u);
    EXPECT_EQ(one[0], '\0');
}
