// The folders the leftover-files page shows as its top-level items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/string_list.h"
#include "wizard/leftover_folders.h"

using namespace kelvara;

namespace {

std::vector<std::string> outermost(const std::vector<const char*>& folders) {
    StringList list;
    EXPECT_TRUE(list.create(5));
    for (const char* folder : folders) list.append(folder);
    keepOutermostFolders(list);
    std::vector<std::string> result;
    for (int i = 0; i < list.count(); ++i) result.push_back(list.get(i) ? list.get(i) : "<hole>");
    return result;
}

TEST(LeftoverFolders, OnlyTheOutermostFoldersRemainSortedIgnoringCase) {
    // As the uninstall thread lists them: the deepest folder first.
    EXPECT_EQ(outermost({"C:\\App\\data\\deeper", "C:\\App\\data", "C:\\App", "C:\\Other",
                         "c:\\apps", "D:\\x\\y"}),
              (std::vector<std::string>{"C:\\App", "c:\\apps", "C:\\Other", "D:\\x\\y"}))
        << "C:\\App2-like siblings are not inside C:\\App";
    EXPECT_EQ(outermost({"C:\\APP\\Data", "c:\\app"}), (std::vector<std::string>{"c:\\app"}))
        << "inside ignoring case";
    EXPECT_EQ(outermost({"C:\\App\\", "C:\\App", "c:\\APP\\Sub"}).size(), 1u)
        << "a trailing backslash or another case names the same folder once";
    EXPECT_EQ(outermost({"C:\\A\\B", "C:\\A\\B\\C\\D", "C:\\X"}),
              (std::vector<std::string>{"C:\\A\\B", "C:\\X"}))
        << "nested more than one level deep";
    EXPECT_EQ(outermost({"C:\\App\\\\\\\\\\", "C:\\App\\x"}),
              (std::vector<std::string>{"C:\\App\\\\\\\\\\"}))
        << "the outer folder's text may be the longer one";
    EXPECT_EQ(outermost({}), std::vector<std::string>{});
}

TEST(LeftoverFolders, HolesAreDropped) {
    StringList list;
    ASSERT_TRUE(list.create(5));
    list.append("C:\\B");
    list.append(nullptr);
    list.append("C:\\A");
    keepOutermostFolders(list);
    ASSERT_EQ(list.count(), 2);
    EXPECT_STREQ(list.get(0), "C:\\A");
    EXPECT_STREQ(list.get(1), "C:\\B");
}

TEST(LeftoverFolders, InsideMeansBelowAFolderBoundary) {
    EXPECT_TRUE(isInsideFolder("C:\\App\\x.txt", "C:\\App"));
    EXPECT_TRUE(isInsideFolder("C:\\App\\x.txt", "C:\\App\\"));
    EXPECT_TRUE(isInsideFolder("c:\\app\\sub\\x", "C:\\APP"));
    EXPECT_FALSE(isInsideFolder("C:\\App2\\x.txt", "C:\\App"));
    EXPECT_FALSE(isInsideFolder("C:\\App", "C:\\App")) << "a folder is not inside itself";
    EXPECT_FALSE(isInsideFolder("C:\\App\\", "C:\\App"));
    EXPECT_FALSE(isInsideFolder("D:\\C:\\App\\x", "C:\\App")) << "only at the start";
    EXPECT_FALSE(isInsideFolder("C:\\x", "")) << "no folder contains everything";
    EXPECT_FALSE(isInsideFolder(nullptr, "C:\\App"));
}

}  // namespace
