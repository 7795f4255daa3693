#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "environment/folder_expansion.h"
#include "environment/run_environment.h"
#include "formats/folder_token_names.h"
#include "runtime/heap.h"

using namespace kelvara;

namespace {

std::string expandTokens(const char* text) {
    char* expanded = expandFolderTokens(text);
    std::string copy = expanded ? expanded : "<null>";
    heapFree(expanded);
    return copy;
}

std::string lowered(const char* text) {
    std::string s = text;
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string pathOf(int token) {
    return "C:\\Folder" + std::to_string(token);
}

// folderPaths filled the way start-up fills it: one path per token, in table order.
class FolderTokens : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(runEnvironment.folderPaths.create(5));
        for (int token = 0; token < kFolderTokenCount; ++token) {
            ASSERT_EQ(runEnvironment.folderPaths.append(pathOf(token).c_str()), token);
        }
    }
    void TearDown() override { runEnvironment.folderPaths.destroy(); }
};

}  // namespace

TEST(FolderTokenTable, ThirtyNineDistinctTokensInTheirFixedRows) {
    ASSERT_EQ(kFolderTokenCount, 39);
    EXPECT_STREQ(kFolderTokenNames[kTokenAppData], "<AppData>");
    EXPECT_STREQ(kFolderTokenNames[kTokenCommonStartup], "<CommonStartup>");
    EXPECT_STREQ(kFolderTokenNames[kTokenIe], "<IE>");
    EXPECT_STREQ(kFolderTokenNames[kTokenMsAccess], "<MSAccess>");
    EXPECT_STREQ(kFolderTokenNames[kTokenProgramFiles], "<ProgramFiles>");
    EXPECT_STREQ(kFolderTokenNames[kTokenSentTo], "<SentTo>");
    EXPECT_STREQ(kFolderTokenNames[kTokenStartUp], "<StartUp>");
    EXPECT_STREQ(kFolderTokenNames[kTokenTemp], "<Temp>");
    EXPECT_STREQ(kFolderTokenNames[kTokenWindows], "<Windows>");
    EXPECT_STREQ(kFolderTokenNames[kTokenCommonDocuments], "<CommonDocuments>");
    EXPECT_STREQ(kFolderTokenNames[kTokenVideo], "<Video>");
    // The sides of a 64-bit Windows came later, after the rows that stored scripts rely on.
    EXPECT_EQ(kTokenProgramFiles32, 35);
    EXPECT_STREQ(kFolderTokenNames[kTokenProgramFiles32], "<ProgramFiles32>");
    EXPECT_STREQ(kFolderTokenNames[kTokenProgramFiles64], "<ProgramFiles64>");
    EXPECT_STREQ(kFolderTokenNames[kTokenSystem32], "<System32>");
    EXPECT_STREQ(kFolderTokenNames[kTokenSysWow64], "<SysWOW64>");

    // No token occurs inside another (ignoring case), so the order of replacement cannot make
    // one token eat part of another.
    for (int i = 0; i < kFolderTokenCount; ++i) {
        const char* name = kFolderTokenNames[i];
        ASSERT_NE(name, nullptr) << "row " << i;
        std::size_t length = std::strlen(name);
        EXPECT_TRUE(length > 2 && name[0] == '<' && name[length - 1] == '>') << name;
        for (int j = 0; j < kFolderTokenCount; ++j) {
            if (i == j) continue;
            EXPECT_EQ(lowered(kFolderTokenNames[j]).find(lowered(name)), std::string::npos)
                << name << " inside " << kFolderTokenNames[j];
        }
    }
}

TEST_F(FolderTokens, EveryTokenBecomesItsPath) {
    for (int token = 0; token < kFolderTokenCount; ++token) {
        std::string text = std::string("[") + kFolderTokenNames[token] + "\\sub]";
        EXPECT_EQ(expandTokens(text.c_str()), "[" + pathOf(token) + "\\sub]")
            << kFolderTokenNames[token];
    }
}

TEST_F(FolderTokens, AnyCaseEveryOccurrenceSeveralTokens) {
    EXPECT_EQ(expandTokens("<programfiles>\\App"), pathOf(kTokenProgramFiles) + "\\App");
    EXPECT_EQ(expandTokens("<PROGRAMFILES>;<ProgramFiles>"),
              pathOf(kTokenProgramFiles) + ";" + pathOf(kTokenProgramFiles));
    EXPECT_EQ(expandTokens("<Desktop>\\a.lnk|<commonDesktop>\\b.lnk|<Desktop>"),
              pathOf(kTokenDesktop) + "\\a.lnk|" + pathOf(kTokenCommonDesktop) + "\\b.lnk|" +
                  pathOf(kTokenDesktop));
    EXPECT_EQ(expandTokens("<Unknown>\\<Temp"), "<Unknown>\\<Temp") << "not tokens";
    EXPECT_EQ(expandTokens(""), "");
    EXPECT_EQ(expandTokens(nullptr), "");

    const char* text = "no tokens here";
    char* copy = expandFolderTokens(text);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, text) << "an equal new copy";
    EXPECT_STREQ(copy, text);
    heapFree(copy);
}

TEST_F(FolderTokens, ATokenWithoutAPathStaysAsWritten) {
    ASSERT_TRUE(runEnvironment.folderPaths.set(kTokenWindows, nullptr));
    EXPECT_EQ(expandTokens("<Windows>\\<System>"), "<Windows>\\" + pathOf(kTokenSystem));

    // A list shorter than the table: the tokens past its end are kept.
    while (runEnvironment.folderPaths.count() > kTokenTemp) {
        runEnvironment.folderPaths.removeAt(runEnvironment.folderPaths.count() - 1);
    }
    EXPECT_EQ(expandTokens("<Temp>\\<Programs>\\<Video>"),
              "<Temp>\\" + pathOf(kTokenPrograms) + "\\<Video>");
}

TEST_F(FolderTokens, PathsNamingTokensExpandInTableOrderAndEnd) {
    // An earlier row's path naming a later token is expanded further; a path naming its own
    // token is inserted once.
    ASSERT_TRUE(runEnvironment.folderPaths.set(kTokenCommonPrograms, "<Windows>\\Menu"));
    ASSERT_TRUE(runEnvironment.folderPaths.set(kTokenTemp, "<temp>\\x"));
    EXPECT_EQ(expandTokens("<CommonPrograms>"), pathOf(kTokenWindows) + "\\Menu");
    EXPECT_EQ(expandTokens("<Temp>|<TEMP>"), "<temp>\\x|<temp>\\x");
}
