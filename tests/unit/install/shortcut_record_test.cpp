// Shortcut records: the wizard's filter on the raw record, expansion order, fields and defaults,
// and which link paths may be written.
#include "install/shortcut_record.h"

#include <gtest/gtest.h>

#include <string>

#include "environment/run_environment.h"
#include "formats/folder_token_names.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap_string.h"

using namespace kelvara;

namespace {

ShortcutChoices choices(bool group, bool desktop, bool quickLaunch) {
    ShortcutChoices c;
    c.group = group;
    c.desktop = desktop;
    c.quickLaunch = quickLaunch;
    return c;
}

std::string str(const char* text) {
    return text ? text : "<null>";
}

}  // namespace

TEST(ShortcutFilter, ARecordIsSkippedWhenItMentionsAKindTheUserTurnedOff) {
    const char* group = "<Programs>\\%ShortcutsGroup%\\App.lnk,%InstallPath%\\app.exe";
    const char* desktop = "<Desktop>\\App.lnk,%InstallPath%\\app.exe";
    const char* common = "<CommonDesktop>\\App.lnk,%InstallPath%\\app.exe";
    const char* quick = "<QuickLaunch>\\App.lnk,%InstallPath%\\app.exe";
    const char* other = "%InstallPath%\\Docs\\Readme.lnk,%InstallPath%\\readme.txt";

    const ShortcutChoices all = choices(true, true, true);
    for (const char* record : {group, desktop, common, quick, other})
        EXPECT_TRUE(shortcutWanted(record, all)) << "every kind chosen keeps " << record;

    const ShortcutChoices none = choices(false, false, false);
    for (const char* record : {group, desktop, common, quick})
        EXPECT_FALSE(shortcutWanted(record, none)) << "nothing chosen skips " << record;
    EXPECT_TRUE(shortcutWanted(other, none)) << "a record of no kind is always kept";

    EXPECT_FALSE(shortcutWanted(group, choices(false, true, true)));
    EXPECT_TRUE(shortcutWanted(desktop, choices(false, true, true)));
    EXPECT_FALSE(shortcutWanted(desktop, choices(true, false, true)));
    EXPECT_FALSE(shortcutWanted(common, choices(true, false, true)))
        << "the common desktop counts as the desktop";
    EXPECT_TRUE(shortcutWanted(quick, choices(true, false, true)));
    EXPECT_FALSE(shortcutWanted(quick, choices(true, true, false)));
    EXPECT_TRUE(shortcutWanted(nullptr, none));
}

TEST(ShortcutFilter, TheWholeRecordIsSearchedInAnyLetterCase) {
    const ShortcutChoices noDesktop = choices(true, false, true);
    EXPECT_FALSE(
        shortcutWanted("<programs>\\App.lnk,<PROGRAMS>\\x.exe,/open <desktop>\\in.txt", noDesktop))
        << "a desktop token in the arguments skips the record too";
    EXPECT_FALSE(shortcutWanted("C:\\x.lnk,C:\\x.exe,,,,,,,<commondesktop>", noDesktop));
    EXPECT_FALSE(
        shortcutWanted("<PROGRAMS>\\%SHORTCUTSGROUP%\\a.lnk,b", choices(false, true, true)));
    EXPECT_FALSE(shortcutWanted("C:\\a.lnk,C:\\b.exe,,<quicklaunch>", choices(true, true, false)))
        << "the working folder field is searched";
    EXPECT_TRUE(shortcutWanted("C:\\Desktop\\a.lnk,C:\\b.exe", noDesktop))
        << "only the token counts, not the word";
}

class ShortcutExpansion : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(runEnvironment.folderPaths.create(5));
        for (int token = 0; token < kFolderTokenCount; ++token) {
            std::string path = "C:\\Folder" + std::to_string(token);
            if (token == kTokenDesktop) path = "C:\\Users\\Ann\\Desktop";
            if (token == kTokenPrograms) path = "C:\\Users\\Ann\\Start Menu\\Programs";
            ASSERT_EQ(runEnvironment.folderPaths.append(path.c_str()), token);
        }
        ASSERT_TRUE(setupState.variableNames.create(5));
        ASSERT_TRUE(setupState.variableValues.create(5));
    }
    void TearDown() override {
        runEnvironment.folderPaths.destroy();
        setupState.variableNames.destroy();
        setupState.variableValues.destroy();
    }
    static std::string expand(const char* record) {
        HeapString expanded(expandShortcutRecord(record));
        return str(expanded.get());
    }
};

TEST_F(ShortcutExpansion, TokensAreExpandedFirstThenVariables) {
    ASSERT_TRUE(defineVariable("%ShortcutsGroup%", "Ann's Tools"));
    ASSERT_TRUE(defineVariable("%InstallPath%", "D:\\Apps\\Tool"));
    EXPECT_EQ(expand("<Programs>\\%ShortcutsGroup%\\Tool.lnk,%InstallPath%\\tool.exe,<desktop>"),
              "C:\\Users\\Ann\\Start Menu\\Programs\\Ann's Tools\\Tool.lnk,"
              "D:\\Apps\\Tool\\tool.exe,C:\\Users\\Ann\\Desktop");

    // A token that only a variable's value brings in is not seen by the token pass.
    ASSERT_TRUE(defineVariable("%Late%", "<Desktop>"));
    EXPECT_EQ(expand("%Late%\\a.lnk"), "<Desktop>\\a.lnk");
    EXPECT_EQ(expand("%Undefined%\\a.lnk"), "%Undefined%\\a.lnk") << "unknown names stay";
}

TEST(ShortcutFields, EveryFieldIsReadWithItsDefault) {
    ShortcutRecord full;
    ASSERT_TRUE(readShortcutRecord(
        "C:\\Menu\\App.lnk,C:\\App\\app.exe,/x -y,C:\\Work\\,C:\\App\\icons.dll,3,7,0x10641,1",
        "C:\\App", full));
    EXPECT_EQ(str(full.linkPath()), "C:\\Menu\\App.lnk");
    EXPECT_EQ(str(full.target()), "C:\\App\\app.exe");
    EXPECT_EQ(str(full.arguments()), "/x -y");
    EXPECT_EQ(str(full.workingFolder.get()), "C:\\Work") << "one trailing backslash goes";
    EXPECT_EQ(str(full.iconFile()), "C:\\App\\icons.dll");
    EXPECT_EQ(full.iconIndex, 3);
    EXPECT_EQ(full.showCommand, 7);
    EXPECT_EQ(full.hotKey, 0x0641) << "only the low 16 bits are the hot key";
    EXPECT_TRUE(full.shared);

    ShortcutRecord bare;
    ASSERT_TRUE(readShortcutRecord("C:\\Menu\\App.lnk,C:\\App\\app.exe", "C:\\App", bare));
    EXPECT_EQ(str(bare.arguments()), "");
    EXPECT_EQ(str(bare.workingFolder.get()), "C:\\App") << "empty: the installation folder";
    EXPECT_EQ(str(bare.iconFile()), "");
    EXPECT_EQ(bare.iconIndex, 0);
    EXPECT_EQ(bare.showCommand, kDefaultShowCommand) << "empty: shown normally";
    EXPECT_EQ(bare.hotKey, 0);
    EXPECT_FALSE(bare.shared);

    ShortcutRecord zero;
    ASSERT_TRUE(readShortcutRecord("C:\\a.lnk,C:\\b.exe,,/,,-1,0,0,0", nullptr, zero));
    EXPECT_EQ(str(zero.workingFolder.get()), "")
        << "a lone slash leaves nothing, and without an install path the folder stays empty";
    EXPECT_EQ(zero.iconIndex, -1);
    EXPECT_EQ(zero.showCommand, 0) << "0 is kept: the link's own default is left";
    EXPECT_FALSE(zero.shared);

    ShortcutRecord twice;
    ASSERT_TRUE(readShortcutRecord("C:\\a.lnk,C:\\b.exe,,C:\\Work\\\\", "C:\\App", twice));
    EXPECT_EQ(str(twice.workingFolder.get()), "C:\\Work\\") << "only one separator goes";

    // The record is read again from scratch: nothing of the previous one stays.
    ASSERT_TRUE(readShortcutRecord("C:\\c.lnk", "C:\\App", full));
    EXPECT_EQ(str(full.target()), "");
    EXPECT_EQ(full.hotKey, 0);
    EXPECT_FALSE(full.shared);
    EXPECT_EQ(str(full.workingFolder.get()), "C:\\App");
}

TEST(ShortcutPaths, OnlyFullPathsWithAFileNameAreWritten) {
    for (const char* good : {"C:\\App.lnk", "c:\\Menu\\Group\\App.lnk", "\\\\server\\share\\a.lnk",
                             "\\\\server\\share\\Menu\\a.lnk"}) {
        EXPECT_TRUE(isFullLinkPath(good)) << good;
    }
    for (const char* bad :
         {"", "App.lnk", "Menu\\App.lnk", "C:App.lnk", "\\App.lnk", "C:\\Menu\\", "C:\\",
          "\\\\server\\a.lnk", "\\\\server\\share\\", "\\\\\\share\\a.lnk", "1:\\a.lnk"}) {
        EXPECT_FALSE(isFullLinkPath(bad)) << "'" << bad << "'";
    }
    EXPECT_FALSE(isFullLinkPath(nullptr));

    HeapString folder(linkFolder("C:\\Menu\\Group\\App.lnk"));
    EXPECT_EQ(str(folder.get()), "C:\\Menu\\Group");
    HeapString root(linkFolder("C:\\App.lnk"));
    EXPECT_EQ(str(root.get()), "") << "a drive's root has no folder to make";
    HeapString share(linkFolder("\\\\server\\share\\a.lnk"));
    EXPECT_EQ(str(share.get()), "\\\\server\\share");
    HeapString none(linkFolder("App.lnk"));
    EXPECT_EQ(none.get(), nullptr) << "no backslash: no folder, not the whole path";
}
