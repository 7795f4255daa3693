#include "runtime/wininit_ini.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/heap.h"

using namespace kelvara;

namespace {

std::string rename(const std::string& old, const char* target, const char* source,
                   bool missingFile = false) {
    std::size_t length = 12345;
    char* text =
        addWininitRename(missingFile ? nullptr : old.data(), old.size(), target, source, &length);
    if (!text) return "<null>";
    std::string result(text, length);
    EXPECT_EQ(std::strlen(text), length) << "terminated right after the new text";
    heapFree(text);
    return result;
}

}  // namespace

TEST(WininitIni, MissingOrEmptyFileGetsTheSectionAndTheLine) {
    const char* expected = "[Rename]\r\nC:\\APP\\TOOL.EXE=C:\\TEMP\\KVR1.TMP";
    EXPECT_EQ(rename("", "C:\\APP\\TOOL.EXE", "C:\\TEMP\\KVR1.TMP", true), expected);
    EXPECT_EQ(rename("", "C:\\APP\\TOOL.EXE", "C:\\TEMP\\KVR1.TMP"), expected);
    EXPECT_EQ(rename("", nullptr, "C:\\TEMP\\KVR2.TMP"), "[Rename]\r\nNUL=C:\\TEMP\\KVR2.TMP")
        << "no target: delete the source";
}

TEST(WininitIni, ExistingSectionGetsTheLineAtItsEnd) {
    // Followed by another section: before the blank lines that precede it.
    EXPECT_EQ(rename("[rename]\r\nA.DLL=B.TMP\r\n\r\n[Other]\r\nx=y\r\n", "C.DLL", "D.TMP"),
              "[rename]\r\nA.DLL=B.TMP\r\nC.DLL=D.TMP\r\n\r\n[Other]\r\nx=y\r\n");
    // Last section of the file, ending in CR LF.
    EXPECT_EQ(rename("[boot]\r\n[Rename]\r\nA.DLL=B.TMP\r\n", "C.DLL", "D.TMP"),
              "[boot]\r\n[Rename]\r\nA.DLL=B.TMP\r\nC.DLL=D.TMP\r\n");
    // Empty section directly followed by another one.
    EXPECT_EQ(rename("[Rename]\r\n[Other]\r\n", "C.DLL", "D.TMP"),
              "[Rename]\r\nC.DLL=D.TMP\r\n[Other]\r\n");
    // Section header as the very last bytes.
    EXPECT_EQ(rename("[x]\r\n[RENAME]", nullptr, "D.TMP"), "[x]\r\n[RENAME]\r\nNUL=D.TMP");
}

TEST(WininitIni, NoSectionAppendsOne) {
    EXPECT_EQ(rename("[boot]\r\nx=y\r\n", "C.DLL", "D.TMP"),
              "[boot]\r\nx=y\r\n\r\n[Rename]\r\nC.DLL=D.TMP");
    EXPECT_EQ(rename("[boot]\r\nx=y", "C.DLL", "D.TMP"),
              "[boot]\r\nx=y\r\n[Rename]\r\nC.DLL=D.TMP");
    // Text without any section and without a final line break: the header starts a new line.
    EXPECT_EQ(rename("junk", "C.DLL", "D.TMP"), "junk\r\n[Rename]\r\nC.DLL=D.TMP");
    EXPECT_EQ(rename("junk\r\n", "C.DLL", "D.TMP"), "junk\r\n[Rename]\r\nC.DLL=D.TMP");
}

TEST(WininitIni, LongAndShortNames) {
    struct Case {
        const char* path;
        bool isLong;
    } cases[] = {
        {"C:\\APP\\README.TXT", false},
        {"C:\\APP\\TOOL", false},
        {"C:\\APP\\ABCDEFGH.ABC", false},
        {"C:\\Long Folder Name\\A.B", false},
        {"C:\\APP\\index.html", true},
        {"C:\\APP\\ABCDEFGHI.A", true},
        {"C:\\APP\\ABCDEFGHI", true},
        {"C:\\APP\\a.b.c", true},
        {"NAME.TXT", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isLongFileName(c.path), c.isLong) << c.path;
    EXPECT_FALSE(isLongFileName(nullptr));

    char* command = runOnceMoveCommand("C:\\Temp\\KVR1.tmp", "C:\\App\\index.html");
    EXPECT_STREQ(command, "command.com /c move \"C:\\Temp\\KVR1.tmp\" \"C:\\App\\index.html\"");
    heapFree(command);
}
