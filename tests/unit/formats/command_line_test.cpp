#include <gtest/gtest.h>

#include <cstring>

#include "formats/command_line.h"
#include "runtime/text_case.h"

using namespace kelvara;

namespace {

struct Cut {
    char line[256];
    char* args[kArgTableSize] = {};
    int count = 0;
};

// Cuts a command line the way the engine does: upper-cased first, then split in place.
Cut cut(const char* text) {
    Cut c;
    std::strncpy(c.line, text, sizeof c.line - 1);
    c.line[sizeof c.line - 1] = '\0';
    textUpper(c.line);
    c.count = splitCommandLine(c.line, c.args, kArgTableSize);
    return c;
}

}  // namespace

TEST(CommandLine, ArgumentsAreCutAtBlanksAndQuotes) {
    Cut plain = cut("setup.exe one two");
    ASSERT_EQ(plain.count, 3);
    EXPECT_STREQ(plain.args[0], "SETUP.EXE");
    EXPECT_STREQ(plain.args[1], "ONE");
    EXPECT_STREQ(plain.args[2], "TWO");

    Cut quoted = cut("\"C:\\Program Files\\setup.exe\"   \"with blank\" x");
    ASSERT_EQ(quoted.count, 3);
    EXPECT_STREQ(quoted.args[0], "C:\\PROGRAM FILES\\SETUP.EXE");
    EXPECT_STREQ(quoted.args[1], "WITH BLANK");
    EXPECT_STREQ(quoted.args[2], "X");

    Cut unclosed = cut("a \"b c");
    ASSERT_EQ(unclosed.count, 2);
    EXPECT_STREQ(unclosed.args[1], "B C") << "an unclosed quote runs to the end";

    Cut trailing = cut("setup.exe s   ");
    ASSERT_EQ(trailing.count, 3) << "blanks at the end yield one final empty argument";
    EXPECT_STREQ(trailing.args[1], "S");
    EXPECT_STREQ(trailing.args[2], "");

    Cut empty = cut("");
    EXPECT_EQ(empty.count, 0);
}

TEST(CommandLine, TableHoldsTenArgumentsAndNoMore) {
    Cut many = cut("p 1 2 3 4 5 6 7 8 9 10 11 12");
    ASSERT_EQ(many.count, kArgTableSize);
    EXPECT_STREQ(many.args[9], "9");
}

TEST(CommandLine, SilentOnlyWhenArgumentOneBeginsWithS) {
    struct Case {
        const char* line;
        bool silent;
    } cases[] = {
        {"setup.exe", false},           {"setup.exe S", true},
        {"setup.exe s", true},          {"setup.exe SILENT", true},
        {"setup.exe \"silent\"", true}, {"setup.exe /S", false},
        {"setup.exe x s", false},       {"\"C:\\s p\\setup.exe\"", false},
        {"setup.exe   ", false},
    };
    for (const Case& c : cases) {
        Cut line = cut(c.line);
        EXPECT_EQ(isSilentRequest(line.args, line.count), c.silent) << c.line;
    }
}
