#include <gtest/gtest.h>

#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"

using namespace kelvara;

TEST(PathParts, NamesFoldersAndSeparators) {
    const char* path = "C:\\Apps\\Remove.exe";
    EXPECT_EQ(fileNamePart(path), path + 8);
    const char* bare = "Remove.exe";
    EXPECT_EQ(fileNamePart(bare), bare) << "no backslash: the whole path";

    struct Case {
        const char* path;
        const char* base;
        const char* folder;
    } cases[] = {
        {"C:\\Apps\\Remove.exe", "Remove", "C:\\Apps"},
        {"C:\\Apps\\archive.tar.gz", "archive.tar", "C:\\Apps"},
        {"C:\\my.dir\\README", "README", "C:\\my.dir"},
        {"plain", "plain", "plain"},
        {"C:\\Apps\\", "", "C:\\Apps"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        HeapString base(baseName(c.path));
        HeapString folder(folderPart(c.path));
        ASSERT_TRUE(base && folder) << c.path;
        EXPECT_STREQ(base.get(), c.base) << "baseName of " << c.path;
        EXPECT_STREQ(folder.get(), c.folder) << "folderPart of " << c.path;
    }

    char twice[] = "C:\\a\\\\";
    stripTrailingSeparator(twice);
    EXPECT_STREQ(twice, "C:\\a\\") << "only one separator goes";
    char slash[] = "C:\\a/";
    stripTrailingSeparator(slash);
    EXPECT_STREQ(slash, "C:\\a");
    char empty[] = "";
    stripTrailingSeparator(empty);
    EXPECT_STREQ(empty, "");
}

TEST(PathParts, JoinFolderName) {
    struct Case {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {
        {"C:\\Apps\\", "\\Tool.exe", "C:\\Apps\\Tool.exe"},
        {"C:\\Apps", "Tool.exe", "C:\\Apps\\Tool.exe"},
        {"C:\\Apps", "D:\\Other\\x.txt", "D:\\Other\\x.txt"},
        {"C:\\Apps", "", "C:\\Apps"},
        {"C:\\Apps\\", "\\", "C:\\Apps"},
        {"C:\\", "Tool", "C:\\Tool"},
        {"C:\\Apps", "\\\\twice", "C:\\Apps\\\\twice"},
    };
    for (const Case& c : cases) {
        HeapString joined(joinFolderName(c.folder, c.name));
        ASSERT_TRUE(joined);
        EXPECT_STREQ(joined.get(), c.joined) << "\"" << c.folder << "\" + \"" << c.name << "\"";
    }
}

TEST(PathParts, InstallPathValidity) {
    const char* valid[] = {
        "C:\\Program Files\\Tool", "D:",           "z:\\", "C:\\a b\\c.d",
        "\\\\server\\share\\dir",  "\\\\server\\",
    };
    const char* invalid[] = {
        "",          "C:Tool", "C:\\a\\\\b",     "\\\\server",      "Tool\\x",
        "C:\\a?",    "C:\\a*", "C:/a",           "C:\\<a>",         "C:\\a|b",
        "C:\\a:b",   "1:\\a",  "\\\\\\server\\", "\\\\srv\\a\\\\b", "\\single\\x",
        "C:\\x\\\\",
    };
    for (const char* path : valid) EXPECT_TRUE(isValidInstallPath(path)) << path;
    for (const char* path : invalid) EXPECT_FALSE(isValidInstallPath(path)) << path;
    EXPECT_FALSE(isValidInstallPath(nullptr));
}
