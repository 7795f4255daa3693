#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"

using namespace kelvara;

namespace {

// A folder of this test's own under the system temporary folder, removed afterwards.
class ScratchFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        HeapString temp(tempFolder());
        ASSERT_TRUE(temp);
        char name[64];
        std::snprintf(name, sizeof name, "\\kvr_paths_%lu", ::GetCurrentProcessId());
        root_ = std::string(temp.get()) + name;
        ASSERT_TRUE(::CreateDirectoryA(root_.c_str(), nullptr)) << root_;
    }
    void TearDown() override {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            if (!::DeleteFileA(it->c_str())) ::RemoveDirectoryA(it->c_str());
        }
        ::RemoveDirectoryA(root_.c_str());
    }
    std::string makeFolder(const std::string& name) {
        std::string path = root_ + "\\" + name;
        EXPECT_TRUE(::CreateDirectoryA(path.c_str(), nullptr)) << path;
        made_.push_back(path);
        return path;
    }
    std::string makeFile(const std::string& name) {
        std::string path = root_ + "\\" + name;
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
        ::CloseHandle(file);
        made_.push_back(path);
        return path;
    }

    std::string root_;
    std::vector<std::string> made_;
};

char missingDrive() {
    DWORD drives = ::GetLogicalDrives();
    for (int letter = 25; letter >= 3; --letter) {
        if (!(drives & (1u << letter))) return static_cast<char>('A' + letter);
    }
    return 0;
}

}  // namespace

TEST(TempFolder, IsAnExistingFolderWithoutTrailingSeparator) {
    HeapString temp(tempFolder());
    ASSERT_TRUE(temp);
    std::string text = temp.get();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\\');
    DWORD attributes = ::GetFileAttributesA(text.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << text;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ScratchFolder, PathExists) {
    EXPECT_TRUE(pathExists("C:")) << "a bare drive looks at its root";
    EXPECT_TRUE(pathExists("C:\\"));
    EXPECT_TRUE(pathExists("C:\\."));
    EXPECT_TRUE(pathExists(root_.c_str()));
    EXPECT_TRUE(pathExists((root_ + "\\").c_str())) << "one trailing separator is ignored";
    EXPECT_TRUE(pathExists(makeFile("present.txt").c_str()));

    ::SetLastError(0);
    EXPECT_FALSE(pathExists((root_ + "\\absent").c_str()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND))
        << "the look-up's error is left as the last error";
    ::SetLastError(0);
    EXPECT_FALSE(pathExists((root_ + "\\absent\\deeper").c_str()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    if (char drive = missingDrive()) {
        char bare[3] = {drive, ':', '\0'};
        EXPECT_FALSE(pathExists(bare)) << "no drive " << bare;
        EXPECT_NE(::GetLastError(), 0u);
    }
}

TEST_F(ScratchFolder, FolderIsEmptyCountsFoldersAndOptionallyFiles) {
    std::string folder = makeFolder("box");
    EXPECT_TRUE(folderIsEmpty(folder.c_str(), true));
    EXPECT_TRUE(folderIsEmpty(folder.c_str(), false));

    makeFile("box\\only.txt");
    EXPECT_TRUE(folderIsEmpty(folder.c_str(), false)) << "files do not count without countFiles";
    EXPECT_FALSE(folderIsEmpty(folder.c_str(), true));
    EXPECT_FALSE(folderIsEmpty((folder + "\\").c_str(), true));

    makeFolder("box\\sub");
    EXPECT_FALSE(folderIsEmpty(folder.c_str(), false)) << "a sub-folder always counts";
    EXPECT_TRUE(folderIsEmpty((root_ + "\\nowhere").c_str(), true)) << "unlistable: empty";
}

TEST_F(ScratchFolder, NearestExistingAncestor) {
    char* found = nullptr;
    EXPECT_EQ(nearestExistingAncestor((root_ + "\\New\\Deeper\\Deepest").c_str(), &found), 0u);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, root_.c_str());
    HeapString owned(found);

    std::string file = makeFile("file.txt");
    EXPECT_EQ(nearestExistingAncestor(file.c_str(), &found), 0u);
    HeapString same(found);
    EXPECT_STREQ(same.get(), file.c_str()) << "an existing path is its own ancestor";

    EXPECT_EQ(nearestExistingAncestor("C:\\kvr_missing_folder\\Deeper", &found), 0u);
    HeapString root(found);
    EXPECT_STREQ(root.get(), "C:\\") << "the bare drive gets its backslash back";

    if (char drive = missingDrive()) {
        char path[] = "?:\\New\\Deeper";
        path[0] = drive;
        found = reinterpret_cast<char*>(1);
        EXPECT_NE(nearestExistingAncestor(path, &found), 0u) << path;
        EXPECT_EQ(found, nullptr);
    }
    found = reinterpret_cast<char*>(1);
    EXPECT_NE(nearestExistingAncestor("relative_kvr_missing", &found), 0u);
    EXPECT_EQ(found, nullptr);
}
