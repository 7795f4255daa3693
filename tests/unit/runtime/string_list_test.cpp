#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "runtime/heap.h"
#include "runtime/string_list.h"
#include "runtime/text_case.h"

using namespace kelvara;

namespace {

// Items of a list as "a|b||c" (a hole shows as nothing), for readable failure messages.
std::string joined(const StringList& list) {
    std::string text;
    for (int i = 0; i < list.count(); ++i) {
        if (i) text += '|';
        if (list.get(i)) text += list.get(i);
    }
    return text;
}

void fill(StringList& list, std::initializer_list<const char*> items) {
    list.clear();
    for (const char* item : items) ASSERT_GE(list.append(item), 0) << item;
}

}  // namespace

TEST(StringList, AListNeverCreatedRefusesEveryOperation) {
    StringList list;
    EXPECT_FALSE(list.isCreated());
    EXPECT_EQ(list.get(0), nullptr);
    EXPECT_EQ(list.append("x"), -1);
    EXPECT_FALSE(list.set(0, "x"));
    EXPECT_FALSE(list.removeAt(0));
    EXPECT_EQ(list.find("x", 0, 0), -1);
    EXPECT_EQ(list.count(), 0);
    list.sort(kSortAlphabetical);
    list.destroy();
    EXPECT_FALSE(list.isCreated());
}

TEST(StringList, SetGrowsWithHolesAndItemsAreOwnedCopies) {
    StringList list;
    ASSERT_TRUE(list.create(5));
    EXPECT_EQ(list.get(0), nullptr) << "a new list has no item 0";

    ASSERT_TRUE(list.set(97, "last"));
    EXPECT_EQ(list.count(), 98);
    for (int i = 0; i < 97; ++i) ASSERT_EQ(list.get(i), nullptr) << "item " << i << " is a hole";
    EXPECT_STREQ(list.get(97), "last");
    EXPECT_EQ(list.get(98), nullptr);
    EXPECT_EQ(list.get(-1), nullptr);
    EXPECT_FALSE(list.set(-1, "x"));

    EXPECT_EQ(list.append(nullptr), 98) << "appending null stores a hole";
    EXPECT_EQ(list.count(), 99);
    EXPECT_EQ(list.get(98), nullptr);

    char source[] = "original";
    int index = list.append(source);
    std::strcpy(source, "changed!");
    EXPECT_STREQ(list.get(index), "original") << "the list stores a copy";

    ASSERT_TRUE(list.set(97, "replaced"));
    EXPECT_STREQ(list.get(97), "replaced");
    ASSERT_TRUE(list.set(97, nullptr));
    EXPECT_EQ(list.get(97), nullptr) << "setting null makes a hole";
    EXPECT_EQ(list.count(), 100);
}

TEST(StringList, RemoveClearAndRecreate) {
    StringList list;
    ASSERT_TRUE(list.create(2));
    fill(list, {"a", "b", nullptr, "d"});
    EXPECT_TRUE(list.removeAt(1));
    EXPECT_EQ(joined(list), "a||d") << "later items move down";
    EXPECT_FALSE(list.removeAt(1)) << "removing a hole removes no text";
    EXPECT_EQ(joined(list), "a|d");
    EXPECT_FALSE(list.removeAt(2));
    EXPECT_FALSE(list.removeAt(-1));
    EXPECT_EQ(list.count(), 2);

    // The slot freed at the end must read as a hole when the list grows over it again.
    ASSERT_TRUE(list.set(3, "z"));
    EXPECT_EQ(joined(list), "a|d||z");

    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.get(0), nullptr);
    EXPECT_EQ(list.append("again"), 0);

    list.destroy();
    EXPECT_FALSE(list.isCreated());
    EXPECT_EQ(list.append("x"), -1);
    ASSERT_TRUE(list.create(5));
    EXPECT_EQ(list.count(), 0);
    fill(list, {"kept"});
    ASSERT_TRUE(list.create(5)) << "making a list again empties it";
    EXPECT_EQ(list.count(), 0);
}

TEST(StringList, SortModes) {
    StringList list;
    ASSERT_TRUE(list.create(5));

    fill(list, {"a\\b\\c", "a", "a\\b"});
    list.sort(kSortByLength);
    EXPECT_EQ(joined(list), "a|a\\b|a\\b\\c");
    list.sort(kSortByLength | kListDescending);
    EXPECT_EQ(joined(list), "a\\b\\c|a\\b|a");

    fill(list, {"gamma", "Beta", "alpha", "delta"});
    list.sort(kSortAlphabetical);
    EXPECT_EQ(joined(list), "alpha|Beta|delta|gamma") << "as text, ignoring case";
    list.sort(kSortAlphabetical | kListDescending);
    EXPECT_EQ(joined(list), "gamma|delta|Beta|alpha");

    // Exact case: the system's order of capitals and small letters differs by platform, so the
    // result is checked against the system's own comparison.
    fill(list, {"b", "B", "a", "A", "b"});
    list.sort(kSortAlphabetical | kListCaseSensitive);
    for (int i = 1; i < list.count(); ++i) {
        EXPECT_LE(compareText(list.get(i - 1), list.get(i)), 0) << joined(list);
    }
    EXPECT_NE(compareText(list.get(0), list.get(1)), 0) << "a and A are different texts";

    fill(list, {"b", nullptr, "a"});
    list.sort(kSortAlphabetical);
    EXPECT_EQ(joined(list), "|a|b") << "a hole sorts as an empty text";

    // Enough items that every branch of the sort runs; each must not sort before the previous.
    list.clear();
    for (int i = 0; i < 200; ++i) {
        char item[16];
        std::snprintf(item, sizeof item, "%0*d", 1 + (i * 37) % 11, (i * 7919) % 1000);
        ASSERT_EQ(list.append(item), i);
    }
    list.sort(kSortByLength);
    ASSERT_EQ(list.count(), 200);
    for (int i = 1; i < 200; ++i) {
        ASSERT_LE(std::strlen(list.get(i - 1)), std::strlen(list.get(i))) << "at " << i;
    }
    list.sort(kSortAlphabetical);
    for (int i = 1; i < 200; ++i) {
        ASSERT_LE(std::strcmp(list.get(i - 1), list.get(i)), 0) << "at " << i;
    }
}

TEST(StringList, FindAndJoinPath) {
    StringList list;
    ASSERT_TRUE(list.create(5));
    fill(list, {"C:", nullptr, "Program Files", "Y", "program files"});

    EXPECT_EQ(list.find("PROGRAM FILES", 0, 0), 2) << "ignoring case by default";
    EXPECT_EQ(list.find("PROGRAM FILES", 0, kListCaseSensitive), -1);
    EXPECT_EQ(list.find("program files", 0, kListCaseSensitive), 4);
    EXPECT_EQ(list.find("program files", 3, 0), 4) << "the search starts at `start`";
    EXPECT_EQ(list.find("Y", 10, 0), -1);
    EXPECT_EQ(list.find("", 0, 0), -1) << "a hole is not an empty text";
    EXPECT_EQ(list.find(nullptr, 0, 0), -1);

    char* path = list.joinPath(2, "Tool.exe");
    ASSERT_NE(path, nullptr);
    EXPECT_STREQ(path, "C:\\Program Files\\Tool.exe") << "holes are skipped, item 3 unused";
    heapFree(path);

    path = list.joinPath(-1, "tail");
    EXPECT_STREQ(path, "tail");
    heapFree(path);
    path = list.joinPath(100, nullptr);
    EXPECT_STREQ(path, "C:\\Program Files\\Y\\program files\\") << "last is bounded by the count";
    heapFree(path);
}
