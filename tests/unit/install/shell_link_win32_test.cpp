// Link files written through the system's link object, read back through the same object.
#include "install/shell_link_win32.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <shobjidl.h>

#include <string>

using namespace kelvara;

namespace {

struct LinkContents {
    bool loaded = false;
    std::string target, arguments, workingFolder, iconFile;
    int iconIndex = -99;
    WORD hotKey = 0xFFFF;
};

LinkContents readLink(const std::string& path) {
    LinkContents contents;
    IShellLinkA* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link)))) {
        return contents;
    }
    IPersistFile* file = nullptr;
    WCHAR wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[MAX_PATH] = {};
        contents.loaded = true;
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        contents.target = text;
        link->GetArguments(text, MAX_PATH);
        contents.arguments = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        contents.workingFolder = text;
        link->GetIconLocation(text, MAX_PATH, &contents.iconIndex);
        contents.iconFile = text;
        link->GetHotkey(&contents.hotKey);
    }
    if (file) file->Release();
    link->Release();
    return contents;
}

// The show command in the link file's header (offset 0x3C of the 0x4C-byte header): Wine's link
// object answers SW_SHOWNORMAL after loading any link, so the file itself is read. -1: no header.
long storedShowCommand(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    unsigned char header[0x4C] = {};
    DWORD read = 0;
    ::ReadFile(file, header, sizeof header, &read, nullptr);
    ::CloseHandle(file);
    if (read != sizeof header || header[0] != sizeof header) return -1;
    return header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | header[0x3F] << 24;
}

bool exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class LinkFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "kvr-shell-link-test";
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        target_ = folder_ + "\\tool.exe";
        HANDLE file =
            ::CreateFileA(target_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::CloseHandle(file);
    }
    void TearDown() override {
        for (const char* name : {"\\all.lnk", "\\bare.lnk", "\\tool.exe"})
            ::DeleteFileA((folder_ + name).c_str());
        ::RemoveDirectoryA((folder_ + "\\taken.lnk").c_str());
        ::RemoveDirectoryA(folder_.c_str());
        ::CoUninitialize();
    }
    std::string folder_, target_;
};

}  // namespace

TEST_F(LinkFileTest, EveryFieldIsStoredAndZeroesLeaveTheDefaults) {
    const std::string all = folder_ + "\\all.lnk";
    ShellLinkFields fields;
    fields.linkPath = all.c_str();
    fields.target = target_.c_str();
    fields.arguments = "/open \"a b\" -v";
    fields.workingFolder = "C:\\Work Folder";
    fields.iconFile = "C:\\icons.dll";
    fields.iconIndex = 4;
    fields.showCommand = SW_SHOWMINNOACTIVE;
    fields.hotKey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    ASSERT_TRUE(createShellLink(fields));
    LinkContents read = readLink(all);
    ASSERT_TRUE(read.loaded) << all;
    EXPECT_STREQ(read.target.c_str(), target_.c_str());
    EXPECT_EQ(read.arguments, "/open \"a b\" -v");
    EXPECT_EQ(read.workingFolder, "C:\\Work Folder");
    EXPECT_EQ(read.iconFile, "C:\\icons.dll");
    EXPECT_EQ(read.iconIndex, 4);
    EXPECT_EQ(storedShowCommand(all), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(read.hotKey, MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT));

    // Written again over the same file: the new fields replace the old ones.
    const std::string bare = folder_ + "\\bare.lnk";
    ShellLinkFields plain;
    plain.linkPath = bare.c_str();
    plain.target = target_.c_str();
    ASSERT_TRUE(createShellLink(plain));
    plain.linkPath = all.c_str();
    ASSERT_TRUE(createShellLink(plain)) << "an existing link is replaced";
    for (const std::string& path : {bare, all}) {
        read = readLink(path);
        ASSERT_TRUE(read.loaded) << path;
        EXPECT_EQ(read.arguments, "") << path;
        EXPECT_EQ(read.iconFile, "") << path << ": no icon location";
        EXPECT_EQ(storedShowCommand(path), SW_SHOWNORMAL)
            << path << ": show command 0 keeps the default";
        EXPECT_EQ(read.hotKey, 0) << path << ": no hot key";
    }
}

TEST_F(LinkFileTest, ALinkThatCannotBeSavedIsAFailure) {
    ShellLinkFields fields;
    fields.target = target_.c_str();

    const std::string missingFolder = folder_ + "\\no such folder\\a.lnk";
    fields.linkPath = missingFolder.c_str();
    EXPECT_FALSE(createShellLink(fields)) << "its folder does not exist";
    EXPECT_FALSE(exists(missingFolder));

    const std::string taken = folder_ + "\\taken.lnk";
    ASSERT_TRUE(::CreateDirectoryA(taken.c_str(), nullptr));
    fields.linkPath = taken.c_str();
    EXPECT_FALSE(createShellLink(fields)) << "a folder has the link's name";

    const std::string invalid = folder_ + "\\bad|name?.lnk";
    fields.linkPath = invalid.c_str();
    EXPECT_FALSE(createShellLink(fields)) << "the name is not a valid file name";

    const std::string tooLong = folder_ + "\\" + std::string(kLinkPathWideLimit, 'x') + ".lnk";
    fields.linkPath = tooLong.c_str();
    EXPECT_FALSE(createShellLink(fields)) << "the path does not fit the wide buffer";
}
