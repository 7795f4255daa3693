#include <gtest/gtest.h>

#include <string>

#include "formats/deployment_options.h"

using namespace kelvara;

namespace {

std::string textOf(const HeapString& text) {
    return text ? text.get() : "(null)";
}

std::string unknownOf(const DeploymentOptions& options) {
    std::string names;
    for (int i = 0; i < options.unknownOptions.count(); ++i) {
        names += std::string(i ? "|" : "") + options.unknownOptions.get(i);
    }
    return names;
}

}  // namespace

TEST(DeploymentOptions, ReadFromTheOriginalLineInAnyOrderAndCase) {
    DeploymentOptions o;
    ASSERT_TRUE(readDeploymentOptions(
        "\"C:\\Setup Files\\setup.exe\" S /nORestart /Dir=\"C:\\Some Place\\Mixed Case\\\" "
        "/LOG=C:\\Logs\\run.txt /quiet /WHAT=x /Later /QUIET=1 \"/dir=D:\\Tools\\Last One\" "
        "/allusers /CurrentUser /ALLUSERS=1 /elevated",
        o));
    EXPECT_TRUE(o.restartedElevated);
    EXPECT_TRUE(o.currentUser) << "the later of the two scopes wins";
    EXPECT_FALSE(o.allUsers);
    EXPECT_TRUE(o.quiet);
    EXPECT_TRUE(o.silent) << "quiet is silent too";
    EXPECT_TRUE(o.noRestart);
    EXPECT_TRUE(o.folderGiven);
    EXPECT_EQ(textOf(o.folder), "D:\\Tools\\Last One")
        << "the last of a repeated option wins; a quote around the whole argument is removed";
    EXPECT_TRUE(o.logGiven);
    EXPECT_EQ(textOf(o.logFile), "C:\\Logs\\run.txt");
    EXPECT_EQ(unknownOf(o), "/WHAT|/Later|/QUIET|/ALLUSERS")
        << "unknown options as written, a flag given a value among them";

    DeploymentOptions first;
    ASSERT_TRUE(
        readDeploymentOptions("setup.exe /DIR=\"C:\\Some Place\\Mixed Case\\\" /LOG=\"\"", first));
    EXPECT_EQ(textOf(first.folder), "C:\\Some Place\\Mixed Case\\")
        << "case kept; a backslash before the closing quote is an ordinary character";
    EXPECT_TRUE(first.logGiven);
    EXPECT_EQ(textOf(first.logFile), "") << "given but empty: for the reader to refuse";
    EXPECT_FALSE(first.silent);
    EXPECT_EQ(unknownOf(first), "");

    // The names other installers use: /SILENT is /S, /VERYSILENT is /QUIET; with a value,
    // neither is the switch.
    DeploymentOptions silent, verySilent;
    ASSERT_TRUE(readDeploymentOptions("setup.exe /silent /VerySilent=1", silent));
    EXPECT_TRUE(silent.silent);
    EXPECT_FALSE(silent.quiet);
    EXPECT_EQ(unknownOf(silent), "/VerySilent");
    ASSERT_TRUE(readDeploymentOptions("setup.exe /VERYSILENT", verySilent));
    EXPECT_TRUE(verySilent.quiet && verySilent.silent);
    EXPECT_FALSE(verySilent.passive);

    // /PASSIVE answers as /QUIET does, with a window; with a value it is no switch.
    DeploymentOptions passive, notPassive;
    ASSERT_TRUE(readDeploymentOptions("setup.exe /passive", passive));
    EXPECT_TRUE(passive.passive && passive.quiet && passive.silent);
    ASSERT_TRUE(readDeploymentOptions("setup.exe /PASSIVE=0", notPassive));
    EXPECT_FALSE(notPassive.passive || notPassive.quiet);
    EXPECT_EQ(unknownOf(notPassive), "/PASSIVE");
}

TEST(DeploymentOptions, OnlyArgumentsAfterTheProgramThatBeginWithASlashAreOptions) {
    DeploymentOptions o;
    ASSERT_TRUE(
        readDeploymentOptions("/DIR=C:\\program-named-like-an-option.exe S SILENT "
                              "C:\\not\\/DIR=X a/QUIET",
                              o));
    EXPECT_FALSE(o.folderGiven) << "the program name is never an option";
    EXPECT_FALSE(o.quiet);
    EXPECT_FALSE(o.silent) << "S is the silent switch of the first argument, read elsewhere";
    EXPECT_EQ(unknownOf(o), "");

    // The elevated restart passes on what follows the program name, exactly as written.
    EXPECT_STREQ(skipProgramName("\"C:\\Setup Files\\setup.exe\"  S /DIR=\"C:\\A B\""),
                 "S /DIR=\"C:\\A B\"");
    EXPECT_STREQ(skipProgramName("setup.exe"), "");
    EXPECT_STREQ(skipProgramName(nullptr), "");

    DeploymentOptions none;
    ASSERT_TRUE(readDeploymentOptions(nullptr, none));
    ASSERT_TRUE(readDeploymentOptions("", none));
    ASSERT_TRUE(readDeploymentOptions("   \t ", none));
    ASSERT_TRUE(readDeploymentOptions("\"unclosed /DIR=x", none));
    EXPECT_FALSE(none.folderGiven) << "an unclosed quote runs to the end of the line";
    ASSERT_TRUE(readDeploymentOptions("setup.exe / /DIR", none));
    EXPECT_TRUE(none.folderGiven) << "an option that takes a value, given none";
    EXPECT_EQ(textOf(none.folder), "");
    EXPECT_EQ(unknownOf(none), "/");
}

TEST(DeploymentOptions, TheSecondStageReadsBackWhatTheFirstWasGiven) {
    DeploymentOptions given;
    ASSERT_TRUE(readDeploymentOptions(
        "uninst.exe /s /NoRestart /LOG=\"S:\\My Logs\\remove.txt\" /DIR=E:\\", given));
    HeapString text(deploymentOptionsText(given));
    ASSERT_TRUE(text);
    EXPECT_EQ(textOf(text), "/S /NORESTART /DIR=\"E:\\\" /LOG=\"S:\\My Logs\\remove.txt\" ");

    // The second stage's line: its options, then the log path, which may lie on drive S: or
    // hold blanks and is never taken for an option.
    const std::string secondStage = " " + textOf(text) + "S:\\Program Files\\Tool\\uninstall.log";
    DeploymentOptions read;
    ASSERT_TRUE(readDeploymentOptions(("\"C:\\Temp\\~u.exe\"" + secondStage).c_str(), read));
    EXPECT_TRUE(read.silent);
    EXPECT_FALSE(read.quiet);
    EXPECT_TRUE(read.noRestart);
    EXPECT_EQ(textOf(read.folder), "E:\\");
    EXPECT_EQ(textOf(read.logFile), "S:\\My Logs\\remove.txt");
    EXPECT_STREQ(skipDeploymentOptions(secondStage.c_str()),
                 "S:\\Program Files\\Tool\\uninstall.log");
    EXPECT_STREQ(skipDeploymentOptions(" C:\\old\\uninstall.log"), "C:\\old\\uninstall.log")
        << "a line without options is left as it was";
    EXPECT_STREQ(skipDeploymentOptions(nullptr), "");
    EXPECT_STREQ(skipDeploymentOptions("/QUIET \"/LOG=a b\"  "), "");

    DeploymentOptions quiet;
    ASSERT_TRUE(readDeploymentOptions("x /QUIET", quiet));
    HeapString quietText(deploymentOptionsText(quiet));
    EXPECT_EQ(textOf(quietText), "/QUIET ") << "quiet says silent by itself";
    HeapString noneText(deploymentOptionsText(DeploymentOptions{}));
    EXPECT_EQ(textOf(noneText), "");
}
