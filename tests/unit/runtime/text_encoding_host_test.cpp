// The rules for texts whose code page is UTF-8, with the host stand-in told which code page the
// process has: cuts never leave part of a character, single-byte texts are cut as before.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/message_text.h"
#include "runtime/run_log_text.h"
#include "runtime/text_encoding.h"
#include "runtime/text_encoding_host.h"

using namespace kelvara;

namespace {

struct Utf8Texts {
    Utf8Texts() { useUtf8Texts(true); }
    ~Utf8Texts() { useUtf8Texts(false); }
};

// "aé日😀": 1, 2, 3 and 4 bytes.
const std::string kMixed = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80";

}  // namespace

TEST(TextEncoding, CutsKeepWholeCharactersInUtf8AndBytesOtherwise) {
    // In a single-byte code page every byte is a character.
    EXPECT_FALSE(textIsUtf8());
    EXPECT_EQ(wholeCharactersLength(kMixed.c_str(), 2), 2u);
    EXPECT_EQ(characterLength(kMixed.c_str() + 1), 1u);
    char text[8];
    EXPECT_EQ(formatMessageText(text, sizeof text, "%s", kMixed.c_str()), 7u);

    Utf8Texts utf8;
    // Every cut of the mixed text, against where its characters end.
    const std::size_t ends[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10};
    for (std::size_t length = 0; length <= kMixed.size(); ++length) {
        EXPECT_EQ(wholeCharactersLength(kMixed.c_str(), length), ends[length]) << length;
    }
    EXPECT_EQ(characterLength(""), 0u);
    EXPECT_EQ(characterLength(kMixed.c_str()), 1u);
    EXPECT_EQ(characterLength(kMixed.c_str() + 1), 2u);
    EXPECT_EQ(characterLength(kMixed.c_str() + 3), 3u);
    EXPECT_EQ(characterLength(kMixed.c_str() + 6), 4u);
    EXPECT_EQ(characterLength("\xE6\x97"), 2u) << "never past the terminator";
    EXPECT_EQ(characterLength("\x97x"), 1u) << "a stray byte is one";
    EXPECT_EQ(wholeCharactersLength("x\x80\x80\x80\x80", 5), 5u) << "no UTF-8: cut as bytes";
    EXPECT_TRUE(isAsciiText("plain") && isAsciiText(nullptr));
    EXPECT_FALSE(isAsciiText(kMixed.c_str()));

    // A message or log line cut to fit ends where a character ends.
    EXPECT_EQ(formatMessageText(text, sizeof text, "%s", kMixed.c_str()), 6u);
    EXPECT_EQ(std::string(text), kMixed.substr(0, 6));
    EXPECT_EQ(formatMessageText(text, 5, "%s", kMixed.c_str()), 3u) << "room for 4 bytes";
    char line[24 + 3 + 7];
    const LogTime time = {2026, 12, 8, 9, 5, 7, 42};
    const std::size_t length = formatRunLogLine(line, sizeof line, time, kMixed.c_str());
    EXPECT_EQ(std::string(line, length), "2026-12-08 09:05:07.042 " + kMixed.substr(0, 6) + "\r\n");
}
