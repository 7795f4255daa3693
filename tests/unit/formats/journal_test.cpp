#include "formats/journal.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/install_log.h"
#include "runtime/heap.h"
#include "runtime/string_list.h"

using namespace kelvara;

namespace {

JournalTail tailOf(const std::string& text) {
    JournalTail tail;
    readJournalTail(text.data(), text.size(), tail);
    return tail;
}

}  // namespace

// What a recovery appends to a journal, and what a run that completed writes, read back from its
// end: the largest progress count wins, the completion line ends the lines to undo, and anything
// that is not a whole line of those kinds ends the tail (a cut-off last write included).
TEST(Journal, TailSaysWhatIsLeftToUndo) {
    const std::string entries = "a,C:\\App\nb,C:\\App\\x.dll\nc,2,Software\\Co,Name\n";
    JournalTail tail = tailOf(entries);
    EXPECT_FALSE(tail.completed);
    EXPECT_EQ(tail.undoneLines, 0);
    EXPECT_EQ(tail.entryLength, entries.size());

    tail = tailOf(entries + "u,1\nu,2\n");
    EXPECT_EQ(tail.undoneLines, 2);
    EXPECT_EQ(tail.entryLength, entries.size());

    // A progress line cut off mid-write is no line: the count before it stands.
    tail = tailOf(entries + "u,1\nu,");
    EXPECT_EQ(tail.undoneLines, 1);
    EXPECT_EQ(tail.entryLength, entries.size());

    // Each uninstall run notes the folder its second stage runs from; a run again after one cut
    // off sees them all, with every count it made.
    StringList folders;
    ASSERT_TRUE(folders.create(2));
    const std::string stages = entries + "w,C:\\Temp\\KVR1%2Cx\nu,3\nw,C:\\Temp\\KVR2\nu,4\n";
    readJournalTail(stages.data(), stages.size(), tail, &folders);
    EXPECT_EQ(tail.undoneLines, 4);
    EXPECT_EQ(tail.entryLength, entries.size());
    ASSERT_EQ(folders.count(), 2);
    EXPECT_STREQ(folders.get(0), "C:\\Temp\\KVR2");
    EXPECT_STREQ(folders.get(1), "C:\\Temp\\KVR1,x");

    tail = tailOf(entries + "z\n");
    EXPECT_TRUE(tail.completed);
    EXPECT_EQ(tail.entryLength, entries.size());

    // "u" with no count, or a path line that merely starts with the letter, is an entry line.
    const std::string odd = entries + "u,\nu,C:\\Users\n";
    tail = tailOf(odd);
    EXPECT_EQ(tail.undoneLines, 0);
    EXPECT_EQ(tail.entryLength, odd.size());
    EXPECT_EQ(tailOf("").entryLength, 0u);

    char line[16];
    EXPECT_EQ(undoneLineText(line, 1234), 7u);
    EXPECT_STREQ(line, "u,1234\n");
}

// The line that names the run goes through the log's own escaping: a folder or image path with
// commas and percent signs comes back whole, and the first such line is the one found.
TEST(Journal, RunInfoRoundTrip) {
    char* text = runInfoText("C:\\Down,loads\\setup 100%.exe", 0x01DD894ECC36AEFDull, 4242,
                             "C:\\Temp\\KVR1A", 7);
    ASSERT_NE(text, nullptr);
    const std::string entries = "a,C:\\App\ni," + std::string(text) + "\ni,other,0,1,x,0\n";
    heapFree(text);
    RunInfo info;
    ASSERT_TRUE(findRunInfo(entries.data(), entries.size(), info));
    EXPECT_STREQ(info.image.get(), "C:\\Down,loads\\setup 100%.exe");
    EXPECT_EQ(info.startTime, 0x01DD894ECC36AEFDull);
    EXPECT_EQ(info.processId, 4242u);
    EXPECT_STREQ(info.runFolder.get(), "C:\\Temp\\KVR1A");
    EXPECT_EQ(info.markKeys, 7u);

    // The undo passes over it: a kind it does not know.
    LogEntry entry;
    const std::size_t at = entries.find("\ni,") + 1;
    ASSERT_TRUE(parseLogLine(entries.data() + at, entries.find('\n', at) - at, entry));
    EXPECT_EQ(entry.kind, kLogRunInfo);

    RunInfo none;
    EXPECT_FALSE(findRunInfo("a,C:\\App\n", 9, none));
}
