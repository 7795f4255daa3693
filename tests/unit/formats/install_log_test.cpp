#include "formats/install_log.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"

using namespace kelvara;

namespace {

// Collects what the install thread would write to the rollback file.
class CapturingSink : public LogSink {
  public:
    void write(const char* text, std::size_t length) override { bytes.append(text, length); }
    std::string bytes;
};

std::string take(char* text, std::size_t length) {
    std::string result = text ? std::string(text, length) : std::string("<null>");
    heapFree(text);
    return result;
}

std::string installText(const InstallLog& log) {
    std::size_t length = 0;
    char* text = log.installLogText(&length);
    return take(text, length);
}

std::string rollbackText(const InstallLog& log) {
    std::size_t length = 0;
    char* text = log.rollbackLogText(&length);
    return take(text, length);
}

LogSettings sampleSettings() {
    LogSettings s;
    s.dialogSetOffset = 20;
    s.accentColor = 0x00C88C00;
    s.headerColor = 0;
    s.pageColor = 0x00FFFFFF;
    s.frameColor = 0x02000000;  // the system window colour flag stays as it is
    std::strcpy(s.titleFontFace, "Tahoma");
    s.titleColor = 0x01ABCDEF;
    std::strcpy(s.normalFontFace, "MS Sans Serif");
    s.textColor = 0x12;
    return s;
}

// Fields 0..2 of a parsed line as "kind|f0|f1|f2".
std::string parsed(const char* line) {
    LogEntry entry;
    parseLogLine(line, entry);
    std::string text(1, entry.kind ? entry.kind : '?');
    for (int i = 0; i < 3; ++i) {
        text += '|';
        text += entry.fields.get(i) ? entry.fields.get(i) : "<hole>";
    }
    return text;
}

}  // namespace

TEST(InstallLog, SmallRunGivesExactInstallAndRollbackBytes) {
    StringList systemFolders;
    ASSERT_TRUE(systemFolders.create(4));
    systemFolders.append("C:\\Windows");
    systemFolders.append("C:\\Program Files");
    CapturingSink sink;
    InstallLog log;
    ASSERT_TRUE(
        log.start("Example Tool 1.0", "ExampleTool", sampleSettings(), &systemFolders, &sink));

    const unsigned both = kLogToRollback | kLogExcludeSystemFolder;
    EXPECT_EQ(log.addPath(kLogFolder, "c:\\program files", both), LogAddResult::excluded);
    EXPECT_EQ(log.addPath(kLogFolder, "C:\\Program Files\\Example", kLogToRollback),
              LogAddResult::added);
    EXPECT_EQ(log.addPath(kLogFolder, "C:\\PROGRAM FILES\\example", both), LogAddResult::duplicate);
    EXPECT_EQ(log.addPath(kLogFile, "C:\\Program Files\\Example\\tool.exe", kLogToRollback),
              LogAddResult::added);
    // An existing file the run overwrote: install log only.
    EXPECT_EQ(log.addPath(kLogFile, "C:\\Program Files\\Example\\readme.txt", 0),
              LogAddResult::added);
    EXPECT_EQ(log.addPath(kLogFile, "C:\\Program Files\\EXAMPLE\\TOOL.EXE", 0),
              LogAddResult::duplicate)
        << "the first line added wins, with its rollback flag";
    EXPECT_EQ(log.addRegistryValue("1", "Software\\Example", "Path", 0), LogAddResult::added);
    EXPECT_EQ(log.addRegistryKey(0, ".xyz", true, kLogToRollback), LogAddResult::added);
    EXPECT_EQ(log.addRegistryKey(2, "Software\\Example", false, kLogToRollback),
              LogAddResult::added);
    EXPECT_EQ(log.addPath(kLogSharedFile, "C:\\Windows\\System\\shared.dll", kLogToRollback),
              LogAddResult::added);
    EXPECT_EQ(log.addPath(kLogShortcut, "C:\\Menu\\Example.lnk", 0), LogAddResult::added);
    // Without the exclude flag a system folder is logged like any other.
    EXPECT_EQ(log.addPath(kLogFolder, "C:\\Windows", 0), LogAddResult::added);

    const std::string header =
        "=== Kelvara log file ===\n"
        "Example Tool 1.0\n"
        "ExampleTool\n"
        "1,0xC88C00,0x0,0xFFFFFF,0x2000000,Tahoma,0x1ABCDEF,MS Sans Serif,0x12\n";
    EXPECT_EQ(installText(log), header +
                                    "a,C:\\Program Files\\Example\n"
                                    "b,C:\\Program Files\\Example\\tool.exe\n"
                                    "b,C:\\Program Files\\Example\\readme.txt\n"
                                    "c,1,Software\\Example,Path\n"
                                    "e,0,.xyz,1\n"
                                    "e,2,Software\\Example\n"
                                    "g,C:\\Windows\\System\\shared.dll\n"
                                    "h,C:\\Menu\\Example.lnk\n"
                                    "a,C:\\Windows\n");
    const std::string rollback = header +
                                 "a,C:\\Program Files\\Example\n"
                                 "b,C:\\Program Files\\Example\\tool.exe\n"
                                 "e,0,.xyz,1\n"
                                 "e,2,Software\\Example\n"
                                 "g,C:\\Windows\\System\\shared.dll\n";
    EXPECT_EQ(rollbackText(log), rollback);
    EXPECT_EQ(sink.bytes, rollback) << "flagged lines reach the sink at once, in order";
    EXPECT_EQ(log.lineCount(), 13);
    EXPECT_TRUE(log.lineGoesToRollback(5));
    EXPECT_FALSE(log.lineGoesToRollback(6));
    EXPECT_FALSE(log.lineGoesToRollback(13));
    EXPECT_STREQ(log.line(4), "a,C:\\Program Files\\Example\n");
}

TEST(InstallLog, HeaderLinesFollowTheirOwnDuplicateRules) {
    CapturingSink sink;
    InstallLog log;
    LogSettings plain;
    std::strcpy(plain.titleFontFace, "Arial");
    std::strcpy(plain.normalFontFace, "Arial");
    ASSERT_TRUE(log.start("Same", "SAME", plain, nullptr, &sink));
    EXPECT_EQ(installText(log),
              "=== Kelvara log file ===\nSame\nSAME\n0,0x0,0x0,0x0,0x0,Arial,0x0,Arial,0x0\n")
        << "the product names skip the duplicate test";
    EXPECT_EQ(sink.bytes, installText(log));
    EXPECT_EQ(log.add(kLogHeader, nullptr, kLogToRollback), LogAddResult::duplicate);
    EXPECT_EQ(log.add("=== KELVARA LOG FILE ===", nullptr, 0), LogAddResult::duplicate);
    EXPECT_EQ(log.addPath(kLogFolder, "C:\\Windows", kLogExcludeSystemFolder), LogAddResult::added)
        << "without a folder list nothing is excluded";

    InstallLog unstarted;
    std::size_t length = 99;
    EXPECT_EQ(unstarted.installLogText(&length), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(unstarted.addPath(kLogFile, "x", 0), LogAddResult::outOfMemory);
}

TEST(InstallLog, SettingsLineRoundTripsAndReadsLikeTheUninstaller) {
    char line[200];
    LogSettings written = sampleSettings();
    std::size_t length = formatSettingsLine(line, sizeof line, written);
    EXPECT_EQ(length, std::strlen(line));
    LogSettings read;
    parseSettingsLine(line, read);
    EXPECT_EQ(read.dialogSetOffset, 20);
    EXPECT_EQ(read.accentColor, written.accentColor);
    EXPECT_EQ(read.headerColor, written.headerColor);
    EXPECT_EQ(read.pageColor, written.pageColor);
    EXPECT_EQ(read.frameColor, written.frameColor);
    EXPECT_STREQ(read.titleFontFace, "Tahoma");
    EXPECT_EQ(read.titleColor, written.titleColor);
    EXPECT_STREQ(read.normalFontFace, "MS Sans Serif");
    EXPECT_EQ(read.textColor, written.textColor);

    written.dialogSetOffset = 0;
    written.textColor = 0xFFFFFFFF;
    formatSettingsLine(line, sizeof line, written);
    parseSettingsLine(line, read);
    EXPECT_EQ(read.dialogSetOffset, 0);
    EXPECT_EQ(read.textColor, 0xFFFFFFFFu);
    EXPECT_FALSE(read.forUser);
    EXPECT_EQ(std::string(line).find(",1", std::strlen(line) - 2), std::string::npos)
        << "a machine-wide installation's line is as logs always were";

    // A user's installation says so in a tenth field, which older readers never look at.
    written.forUser = true;
    const std::size_t machineLength = std::strlen(line);
    EXPECT_EQ(formatSettingsLine(line, sizeof line, written), machineLength + 2);
    parseSettingsLine(line, read);
    EXPECT_TRUE(read.forUser);
    EXPECT_EQ(read.textColor, 0xFFFFFFFFu);
    written.forUser = false;

    parseSettingsLine("7,12,0x10", read);
    EXPECT_EQ(read.dialogSetOffset, 20) << "anything but 0 selects the compact layout";
    EXPECT_EQ(read.accentColor, 12u);
    EXPECT_EQ(read.headerColor, 16u);
    EXPECT_EQ(read.textColor, 0u) << "a missing field reads as 0";
    EXPECT_STREQ(read.titleFontFace, "");

    parseSettingsLine("0,0,0,0,0,ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,0,B,0", read);
    EXPECT_STREQ(read.titleFontFace, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234") << "cut to 31 characters";

    char tiny[6];
    EXPECT_EQ(formatSettingsLine(tiny, sizeof tiny, written), 5u);
    EXPECT_STREQ(tiny, "0,0xC");
}

TEST(InstallLog, CommasInPathsAndKeysRoundTrip) {
    InstallLog log;
    ASSERT_TRUE(log.start("P", "p", LogSettings(), nullptr, nullptr));
    const char* path = "C:\\Program Files\\Acme, Inc\\Tool, Pro\\a,b.txt";
    for (char kind : {kLogFolder, kLogFile, kLogSharedFile, kLogShortcut}) {
        ASSERT_EQ(log.addPath(kind, path, 0), LogAddResult::added) << kind;
        std::string line = log.line(log.lineCount() - 1);
        EXPECT_EQ(parsed(line.c_str()), std::string(1, kind) + "|" + path + "||");
    }
    EXPECT_EQ(log.addPath('c', path, 0), LogAddResult::refused) << "not a path kind";

    struct ValueCase {
        const char* root;
        const char* key;
        const char* value;
        const char* line;
    } values[] = {
        {"1", "Software\\Acme, Inc\\Tool", "Path", "c,1,Software\\Acme, Inc\\Tool,Path\n"},
        {"2", "Software\\Acme, Inc", "", "c,2,Software\\Acme, Inc,\n"},
        {"0", ".xyz", "Content Type", "c,0,.xyz,Content Type\n"},
    };
    for (const auto& c : values) {
        ASSERT_EQ(log.addRegistryValue(c.root, c.key, c.value, 0), LogAddResult::added) << c.line;
        EXPECT_STREQ(log.line(log.lineCount() - 1), c.line);
        EXPECT_EQ(parsed(c.line), std::string("c|") + c.root + "|" + c.key + "|" + c.value);
    }
    EXPECT_EQ(log.addRegistryValue("1", "Software\\Tool", "a,b", 0), LogAddResult::refused)
        << "a value name with a comma cannot be told from the key path";

    struct KeyCase {
        unsigned root;
        const char* key;
        bool withSubkeys;
        const char* line;
        const char* flag;
    } keys[] = {
        {2, "Software\\Acme, Inc", false, "e,2,Software\\Acme, Inc,0\n", "0"},
        {2, "Software\\Acme, Inc\\Tool", true, "e,2,Software\\Acme, Inc\\Tool,1\n", "1"},
        {1, "Software\\Odd,1", false, "e,1,Software\\Odd,1,0\n", "0"},
        {1, "Software\\Odd,0", true, "e,1,Software\\Odd,0,1\n", "1"},
        {0, "Plain", false, "e,0,Plain\n", ""},
    };
    for (const auto& c : keys) {
        ASSERT_EQ(log.addRegistryKey(c.root, c.key, c.withSubkeys, 0), LogAddResult::added)
            << c.line;
        EXPECT_STREQ(log.line(log.lineCount() - 1), c.line);
        EXPECT_EQ(parsed(c.line), "e|" + std::to_string(c.root) + "|" + c.key + "|" + c.flag);
    }
}

TEST(InstallLog, LinesWithoutCommasInValuesReadAsTheirFields) {
    struct Case {
        const char* line;
        std::vector<std::string> fields;  // the rest of the fifteen are empty
    } cases[] = {
        {"c,1,Software\\Example,Path\n", {"1", "Software\\Example", "Path"}},
        {"e,0,.xyz,1", {"0", ".xyz", "1"}},
        {"e,2,Software\\Example", {"2", "Software\\Example"}},
        {"d,C:\\App\\clean.exe,/quiet,C:\\App,1,1,0",
         {"C:\\App\\clean.exe", "/quiet", "C:\\App", "1", "1", "0"}},
        {"f,C:\\App\\x.dll,DllUnregisterServer,,,1",
         {"C:\\App\\x.dll", "DllUnregisterServer", "", "", "1"}},
        {"b,C:\\App\\table.dat", {"C:\\App\\table.dat"}},
        {"z,whatever,else", {"whatever", "else"}},
        // Fifteen fields are kept; what follows the fifteenth is dropped.
        {"f,a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p",
         {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o"}},
    };
    for (const Case& c : cases) {
        LogEntry entry;
        ASSERT_TRUE(parseLogLine(c.line, entry)) << c.line;
        EXPECT_EQ(entry.kind, c.line[0]);
        ASSERT_EQ(entry.fields.count(), kFieldCount) << c.line;
        for (int i = 0; i < kFieldCount; ++i) {
            const std::string want = i < static_cast<int>(c.fields.size()) ? c.fields[i] : "";
            EXPECT_STREQ(entry.fields.get(i), want.c_str()) << c.line << " field " << i;
        }
    }
    LogEntry entry;
    EXPECT_FALSE(parseLogLine("", entry));
    EXPECT_FALSE(parseLogLine("\n", entry));
    EXPECT_TRUE(parseLogLine("a", entry));
    EXPECT_STREQ(entry.fields.get(0), "");
    EXPECT_EQ(parsed("c,1"), "c|1||");
    EXPECT_EQ(parsed("c,1,Key"), "c|1|Key|");
    EXPECT_EQ(parsed("e,3"), "e|3||");
    EXPECT_EQ(parsed("e,2,Software\\Acme, Inc"), "e|2|Software\\Acme, Inc|")
        << "a last piece other than 0 or 1 belongs to the key path";
}

TEST(InstallLog, LinesThatWouldBreakTheFormatAreRefused) {
    CapturingSink sink;
    InstallLog log;
    ASSERT_TRUE(log.start("P", "p", LogSettings(), nullptr, &sink));
    std::string before = installText(log);
    EXPECT_EQ(log.addPath(kLogFile, "C:\\a\nb,C:\\Windows\\win.ini", kLogToRollback),
              LogAddResult::refused);
    EXPECT_EQ(log.addRegistryValue("1", "Key", "line\nbreak", kLogToRollback),
              LogAddResult::refused);
    EXPECT_EQ(log.add("d\n", "x", kLogToRollback), LogAddResult::refused);
    EXPECT_EQ(installText(log), before);
    EXPECT_EQ(sink.bytes, before);
}

TEST(InstallLog, ManyLinesKeepTheirOrderAndStayUnique) {
    InstallLog log;
    ASSERT_TRUE(log.start("P", "p", LogSettings(), nullptr, nullptr));
    const int kFiles = 3000;
    for (int i = 0; i < kFiles; ++i) {
        std::string path = "C:\\App\\file" + std::to_string(i) + ".dat";
        ASSERT_EQ(log.addPath(kLogFile, path.c_str(), i % 2 ? kLogToRollback : 0),
                  LogAddResult::added)
            << path;
    }
    for (int i = 0; i < kFiles; i += 7) {
        std::string path = "c:\\APP\\FILE" + std::to_string(i) + ".DAT";
        ASSERT_EQ(log.addPath(kLogFile, path.c_str(), kLogToRollback), LogAddResult::duplicate)
            << path;
    }
    ASSERT_EQ(log.lineCount(), kLogHeaderLines + kFiles);
    for (int i = 0; i < kFiles; ++i) {
        std::string expected = "b,C:\\App\\file" + std::to_string(i) + ".dat\n";
        ASSERT_STREQ(log.line(kLogHeaderLines + i), expected.c_str());
        ASSERT_EQ(log.lineGoesToRollback(kLogHeaderLines + i), i % 2 == 1);
    }
    std::string rollback = rollbackText(log);
    EXPECT_NE(rollback.find("b,C:\\App\\file2999.dat\n"), std::string::npos);
    EXPECT_EQ(rollback.find("b,C:\\App\\file2998.dat\n"), std::string::npos);
}

TEST(InstallLog, LogPathSitsBesideTheUninstaller) {
    struct Case {
        const char* folder;
        const char* uninstaller;
        const char* expected;
    } cases[] = {
        {"C:\\Apps\\Tool", "Remove.exe", "C:\\Apps\\Tool\\Remove.log"},
        {"C:\\Apps\\Tool\\", "sub\\un.inst.exe", "C:\\Apps\\Tool\\un.inst.log"},
        {"C:\\Apps\\Tool", "uninstall", "C:\\Apps\\Tool\\uninstall.log"},
    };
    for (const auto& c : cases) {
        char* path = installLogPath(c.folder, c.uninstaller);
        EXPECT_STREQ(path, c.expected) << c.folder << " + " << c.uninstaller;
        heapFree(path);
    }
}

TEST(InstallLogReader, HeaderAndEntryLinesReadBackWhatTheWriterMade) {
    InstallLog log;
    ASSERT_TRUE(log.start("Acme Tool, Deluxe", "AcmeTool", sampleSettings(), nullptr, nullptr));
    log.addPath(kLogFolder, "C:\\Acme, Inc", kLogToRollback);
    log.addPath(kLogFile, "C:\\Acme, Inc\\tool.exe", kLogToRollback);
    log.addRegistryKey(1, "Software\\Acme, Inc", true, kLogToRollback);
    std::string text = installText(log);

    LogHeader header;
    ASSERT_TRUE(readLogHeader(text.data(), text.size(), header));
    EXPECT_STREQ(header.productName.get(), "Acme Tool, Deluxe");
    EXPECT_STREQ(header.productShortName.get(), "AcmeTool");
    EXPECT_EQ(header.settings.dialogSetOffset, 20);
    EXPECT_EQ(header.settings.frameColor, 0x02000000u);
    EXPECT_STREQ(header.settings.normalFontFace, "MS Sans Serif");
    ASSERT_LT(header.entryOffset, text.size());
    EXPECT_EQ(text.substr(header.entryOffset, 2), "a,");

    LogLinesBackward lines(text.data() + header.entryOffset, text.size() - header.entryOffset);
    EXPECT_EQ(lines.count(), 3);
    const char* expected[] = {"e|1|Software\\Acme, Inc|1", "b|C:\\Acme, Inc\\tool.exe||",
                              "a|C:\\Acme, Inc||"};
    const char* line = nullptr;
    std::size_t length = 0;
    for (const char* want : expected) {
        ASSERT_TRUE(lines.next(&line, &length)) << want;
        LogEntry entry;
        ASSERT_TRUE(parseLogLine(line, length, entry));
        std::string got(1, entry.kind);
        for (int i = 0; i < 3; ++i) got += std::string("|") + entry.fields.get(i);
        EXPECT_EQ(got, want);
    }
    EXPECT_FALSE(lines.next(&line, &length));
}

TEST(InstallLogReader, DamagedLogsAreRejectedOrCutAtTheirLastLine) {
    struct Case {
        const char* text;
        const char* why;
    } bad[] = {
        {"=== kelvara log file ===\nP\np\n0\n", "the header compares with case"},
        {"=== Kelvara log file === \nP\np\n0\n", "the header must match exactly"},
        {"=== Kelvara log file ===\nP\np\n0", "line 4 needs its LF"},
        {"=== Kelvara log file ===\nP\n", "lines 3 and 4 missing"},
        {"", "empty"},
    };
    for (const auto& c : bad) {
        LogHeader header;
        EXPECT_FALSE(readLogHeader(c.text, std::strlen(c.text), header)) << c.why;
    }
    LogHeader header;
    EXPECT_FALSE(readLogHeader(nullptr, 0, header));

    const std::string entries = "a,C:\\A\n\nb,C:\\A\\x\nb,C:\\A\\partial";
    LogLinesBackward lines(entries.data(), entries.size());
    EXPECT_EQ(lines.count(), 3) << "the bytes after the last LF are no line";
    const char* line = nullptr;
    std::size_t length = 0;
    ASSERT_TRUE(lines.next(&line, &length));
    EXPECT_EQ(std::string(line, length), "b,C:\\A\\x");
    ASSERT_TRUE(lines.next(&line, &length));
    EXPECT_EQ(length, 0u);
    LogEntry entry;
    EXPECT_FALSE(parseLogLine(line, length, entry)) << "an empty line has no kind";
    ASSERT_TRUE(lines.next(&line, &length));
    EXPECT_EQ(std::string(line, length), "a,C:\\A");
    EXPECT_FALSE(lines.next(&line, &length));

    LogLinesBackward none("no line", 7);
    EXPECT_EQ(none.count(), 0);
    EXPECT_FALSE(none.next(&line, &length));
}

namespace {

// Every field of a parsed line, up to the last non-empty one, as "kind|f0|f1|...".
std::string allFields(const std::string& line) {
    LogEntry entry;
    parseLogLine(line.c_str(), entry);
    int last = -1;
    for (int i = 0; i < kFieldCount; ++i) {
        if (entry.fields.get(i) && *entry.fields.get(i)) last = i;
    }
    std::string text(1, entry.kind ? entry.kind : '?');
    for (int i = 0; i <= last; ++i) text += std::string("|") + entry.fields.get(i);
    return text;
}

TEST(InstallLog, WhatWasThereBeforeIsWrittenEscapedAndReadBackWhole) {
    CapturingSink rollback;
    InstallLog log;
    ASSERT_TRUE(log.start("P", "S", sampleSettings(), nullptr, &rollback));
    const unsigned char data[] = {'o', 'l', 'd', 0, 0xFF, ',', '\n'};
    EXPECT_EQ(
        log.addPreviousValue(1, "Software\\A,B", "Na%me", 3, data, sizeof data, kLogToRollback),
        LogAddResult::added);
    EXPECT_EQ(log.addPreviousIniEntry("C:\\x,y.ini", "Sec,tion", "Key", "a,b\r\n%41", 0),
              LogAddResult::added);
    EXPECT_EQ(log.addPreviousIniEntry("C:\\x.ini", "S", "K", nullptr, 0), LogAddResult::added);
    EXPECT_EQ(log.addPreviousIniEntry("C:\\x.ini", "S", "E", "", 0), LogAddResult::added);
    // Backups are the rollback's alone: the install log never names them.
    EXPECT_EQ(log.addEscaped(kLogReplacedFile, "C:\\App\\KVR1.tmp", "C:\\App\\a,b.dll",
                             kLogToRollback | kLogRollbackOnly),
              LogAddResult::added);
    EXPECT_EQ(log.addEscaped(kLogExistingShared, "C:\\Common\\s.dll", nullptr,
                             kLogToRollback | kLogRollbackOnly),
              LogAddResult::added);
    EXPECT_EQ(log.addEscaped(kLogFile, "C:\\x", nullptr, 0), LogAddResult::refused);

    const std::string install = installText(log);
    const std::string entries = install.substr(install.find("r,"));
    EXPECT_EQ(entries,
              "r,1,3,6F6C6400FF2C0A,Software\\A%2CB,Na%25me\n"
              "j,1,C:\\x%2Cy.ini,Sec%2Ction,Key,a%2Cb%0D%0A%2541\n"
              "j,0,C:\\x.ini,S,K,\n"
              "j,1,C:\\x.ini,S,E,\n");
    EXPECT_NE(rollback.bytes.find("r,1,3,"), std::string::npos) << rollback.bytes;
    EXPECT_EQ(rollback.bytes.find("j,"), std::string::npos) << "not flagged for the rollback";
    EXPECT_NE(rollback.bytes.find("k,C:\\App\\KVR1.tmp,C:\\App\\a%2Cb.dll\nl,C:\\Common\\s.dll\n"),
              std::string::npos)
        << rollback.bytes;

    EXPECT_EQ(allFields("r,1,3,6F6C6400FF2C0A,Software\\A%2CB,Na%25me"),
              "r|1|3|6F6C6400FF2C0A|Software\\A,B|Na%me");
    EXPECT_EQ(allFields("j,1,C:\\x%2Cy.ini,Sec%2Ction,Key,a%2Cb%0D%0A%2541"),
              "j|1|C:\\x,y.ini|Sec,tion|Key|a,b\r\n%41");
    EXPECT_EQ(allFields("k,C:\\App\\KVR1.tmp,C:\\App\\a%2Cb.dll"),
              "k|C:\\App\\KVR1.tmp|C:\\App\\a,b.dll");
    EXPECT_EQ(allFields("l,50%,%zz%4"), "l|50%|%zz%4") << "a stray percent stays as written";

    unsigned char bytes[8] = {};
    EXPECT_EQ(hexToBytes("6F6C6400FF2C0A", bytes, sizeof bytes), 7);
    EXPECT_EQ(std::memcmp(bytes, data, sizeof data), 0);
    EXPECT_EQ(hexToBytes("6F6", bytes, sizeof bytes), -1) << "half a byte";
    EXPECT_EQ(hexToBytes("6G", bytes, sizeof bytes), -1);
    EXPECT_EQ(hexToBytes("000000000000000000", bytes, sizeof bytes), -1) << "more than the room";
    EXPECT_EQ(hexToBytes("", bytes, sizeof bytes), 0);
}

}  // namespace

// A 64-bit product's lines carry their view in front; the reader gives back the line it wraps,
// and what it cannot read as a view stays a kind that undoes nothing.
TEST(InstallLog, LinesWithAViewWrapTheirLineAndReadBackAsIt) {
    CapturingSink sink;
    InstallLog log;
    ASSERT_TRUE(log.start("P", "p", LogSettings(), nullptr, &sink));
    log.setView(64);
    ASSERT_EQ(log.addPath(kLogFile, "C:\\Windows\\System32\\tool.dll", kLogToRollback),
              LogAddResult::added);
    ASSERT_EQ(log.addRegistryKey(2, "Software\\Acme, Inc", false, kLogToRollback),
              LogAddResult::added);
    const unsigned char data[] = {'o', 'l', 'd', 0};
    ASSERT_EQ(log.addPreviousValue(2, "Software\\Acme", "Path", 1, data, 4, kLogRollbackOnly),
              LogAddResult::added);
    log.setView(32);
    ASSERT_EQ(log.addRegistryValue("2", "Software\\Acme", "Name", 0), LogAddResult::added);
    // A line carried over with its view keeps it, and is not wrapped a second time.
    ASSERT_EQ(log.add("v", "64,a,C:\\Program Files\\Acme", kLogCarriedOver), LogAddResult::added);
    log.setView(0);
    ASSERT_EQ(log.addPath(kLogFolder, "C:\\Program Files (x86)\\Acme", 0), LogAddResult::added);
    // The same line in another view is another line, not a duplicate.
    log.setView(64);
    EXPECT_EQ(log.addRegistryValue("2", "Software\\Acme", "Name", 0), LogAddResult::added);
    // A part's lines name it ahead of the view, to the rollback log too; a carried-over part
    // line is not named again.
    log.setPart("docs+samples");
    EXPECT_EQ(log.addPath(kLogFile, "C:\\Acme\\guide.txt", kLogToRollback), LogAddResult::added);
    EXPECT_EQ(log.add("p", "docs,b,C:\\Acme\\old.txt", kLogCarriedOver), LogAddResult::added);
    log.setPart(nullptr);
    log.setView(0);

    const std::string entries = installText(log).substr(installText(log).find("v,64,b"));
    EXPECT_EQ(entries,
              "v,64,b,C:\\Windows\\System32\\tool.dll\n"
              "v,64,e,2,Software\\Acme, Inc,0\n"
              "v,32,c,2,Software\\Acme,Name\n"
              "v,64,a,C:\\Program Files\\Acme\n"
              "a,C:\\Program Files (x86)\\Acme\n"
              "v,64,c,2,Software\\Acme,Name\n"
              "p,docs+samples,v,64,b,C:\\Acme\\guide.txt\n"
              "p,docs,b,C:\\Acme\\old.txt\n");
    EXPECT_NE(sink.bytes.find("p,docs+samples,v,64,b,C:\\Acme\\guide.txt\n"), std::string::npos);
    EXPECT_NE(sink.bytes.find("v,64,r,2,1,6F6C6400,Software\\Acme,Path\n"), std::string::npos)
        << sink.bytes;

    struct Case {
        const char* line;
        char kind;
        int view;
        const char* fields;  // fields 0..2 as "f0|f1|f2"
    } cases[] = {
        {"v,64,b,C:\\Windows\\System32\\tool.dll\n", 'b', 64, "C:\\Windows\\System32\\tool.dll||"},
        {"v,64,e,2,Software\\Acme, Inc,0", 'e', 64, "2|Software\\Acme, Inc|0"},
        {"v,32,c,2,Software\\Acme,Name", 'c', 32, "2|Software\\Acme|Name"},
        {"v,64,r,2,1,6F6C6400,Software\\Acme,Path", 'r', 64, "2|1|6F6C6400"},
        {"c,2,Software\\Acme,Name", 'c', 0, "2|Software\\Acme|Name"},
        {"p,docs+samples,v,64,b,C:\\Acme\\guide.txt", 'b', 64, "C:\\Acme\\guide.txt||"},
        {"p,docs,c,2,Software\\Acme,Name", 'c', 0, "2|Software\\Acme|Name"},
        // A part without its line, or of a part: kind "p", which undoes nothing.
        {"p,docs", 'p', 0, nullptr},
        {"p,docs,p,x,b,C:\\x", 'p', 0, nullptr},
        // A view holds no part: a part names its line's view inside it.
        {"v,64,p,docs,b,C:\\x", 'v', 0, nullptr},
        // Not a view this engine knows, a view without a line, a view of a view: kind "v".
        {"v,16,b,C:\\x", 'v', 0, nullptr},
        {"v,64,", 'v', 0, nullptr},
        {"v,64,v,64,b,C:\\x", 'v', 0, nullptr},
    };
    for (const Case& c : cases) {
        LogEntry entry;
        parseLogLine(c.line, entry);
        EXPECT_EQ(entry.kind, c.kind) << c.line;
        EXPECT_EQ(entry.view, c.view) << c.line;
        if (!c.fields) continue;
        std::string fields = std::string(entry.fields.get(0)) + "|" + entry.fields.get(1) + "|" +
                             entry.fields.get(2);
        EXPECT_EQ(fields, c.fields) << c.line;
    }
}
