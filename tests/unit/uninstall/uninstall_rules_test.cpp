// Which log an uninstaller run reads, the self-removal script, root names and the shared-file
// question.
#include "runtime/registry_roots.h"
#include "uninstall/uninstall_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/heap.h"

using namespace kelvara;

namespace {

constexpr const char* kDir = "C:\\Program Files\\Example";
constexpr const char* kProgram = "C:\\Program Files\\Example\\Remove.exe";
constexpr const char* kOwnLog = "C:\\Program Files\\Example\\Remove.log";

struct Choice {
    std::string path;
    bool secondStage = false;
};

Choice choose(const char* commandLine, const char* dir = kDir, const char* program = kProgram) {
    Choice choice;
    choice.secondStage = true;  // must be cleared for the first stage
    char* path = chooseUninstallLog(commandLine, dir, program, &choice.secondStage);
    choice.path = path ? path : "<null>";
    heapFree(path);
    return choice;
}

std::string take(char* text) {
    std::string result = text ? text : "<null>";
    heapFree(text);
    return result;
}

TEST(UninstallLogChoice, ArgumentEndingInLogStartsTheSecondStageWithThatPath) {
    struct Case {
        const char* commandLine;
        const char* path;
    } cases[] = {
        // The temporary copy is started with a blank and the unquoted path only.
        {" C:\\Program Files\\Example\\Remove.log", "C:\\Program Files\\Example\\Remove.log"},
        {" C:\\APP\\REMOVE.LOG", "C:\\APP\\REMOVE.LOG"},
        {"C:\\App\\Remove.Log  \t", "C:\\App\\Remove.Log"},
        // Blanks inside the path are kept; only the ends are trimmed.
        {"  D:\\My Apps\\Some  Tool\\un install.log ", "D:\\My Apps\\Some  Tool\\un install.log"},
        // After a quoted program path the rest of the line is the argument.
        {"\"C:\\Temp\\KVR1A.tmp\" C:\\App\\x.log", "C:\\App\\x.log"},
        {"\"C:\\Temp\\KVR1A.tmp\"C:\\App\\x.log", "C:\\App\\x.log"},
        {"a.log", "a.log"},  // five characters: the shortest argument that counts
        // A silent second stage: its options first, the log path (here on drive S:) after them.
        {" /S /LOG=\"C:\\My Logs\\run.log\" /NORESTART S:\\Tool\\uninstall.log",
         "S:\\Tool\\uninstall.log"},
        {" /QUIET /LOG=C:\\x.log  C:\\App\\x.log ", "C:\\App\\x.log"},
    };
    for (const Case& c : cases) {
        Choice choice = choose(c.commandLine);
        EXPECT_TRUE(choice.secondStage) << c.commandLine;
        EXPECT_EQ(choice.path, c.path) << c.commandLine;
    }
}

TEST(UninstallLogChoice, AnythingElseIsTheFirstStageReadingTheLogNamedAfterItself) {
    const char* lines[] = {
        "\"C:\\Program Files\\Example\\Remove.exe\"",  // double-clicked: quoted, no argument
        "\"C:\\Program Files\\Example\\Remove.exe\"   ",
        "\"C:\\Program Files\\Example\\Remove.exe\" /S",
        "\"C:\\Program Files\\Example\\Remove.exe\" C:\\other.txt",
        // A quoted log path: the argument ends in a quote, not in ".log".
        "\"C:\\Program Files\\Example\\Remove.exe\" \"C:\\x.log\"",
        ".log",    // four characters only
        " .LOG ",  // still four after trimming
        "C:\\App\\Remove.exe",
        "",
        // A log of the run named by an option is not the install log, wherever it stands; the
        // uninstall entry's command is not quoted.
        "C:\\Program Files\\Example\\Remove.exe /S /LOG=C:\\run.log",
        "\"C:\\Program Files\\Example\\Remove.exe\" /LOG=C:\\run.log",
        "\"C:\\Program Files\\Example\\Remove.exe\" \"/LOG=C:\\my run.log\"",
    };
    for (const char* line : lines) {
        Choice choice = choose(line);
        EXPECT_FALSE(choice.secondStage) << line;
        EXPECT_EQ(choice.path, kOwnLog) << line;
    }
    EXPECT_EQ(choose(nullptr).path, kOwnLog);
    // The base name is cut at the last dot, in the running file's own folder.
    EXPECT_EQ(choose("x", "D:\\Tools\\", "D:\\Tools\\un.install.exe").path,
              "D:\\Tools\\un.install.log");
    EXPECT_EQ(choose("x", "D:\\Tools", "D:\\Tools\\Remove").path, "D:\\Tools\\Remove.log");
}

TEST(UninstallLogChoice, UnclosedQuoteLeavesTheWholeLineAsArgument) {
    // No quoted part: the whole line is the argument, quote and all.
    Choice choice = choose("\"C:\\App\\x.log");
    EXPECT_TRUE(choice.secondStage);
    EXPECT_EQ(choice.path, "\"C:\\App\\x.log");
    choice = choose("\"C:\\App\\Remove.exe");
    EXPECT_FALSE(choice.secondStage);
    EXPECT_EQ(choice.path, kOwnLog);
}

TEST(SelfRemovalScript, DeletesTheProgramUntilItIsGoneThenItself) {
    EXPECT_EQ(
        take(selfRemovalScriptText("C:\\Temp\\KVR1F.tmp", "C:\\Temp\\delself.bat", nullptr)),
        "@echo off\r\n:try\r\ndel \"C:\\Temp\\KVR1F.tmp\"\r\nif exist \"C:\\Temp\\KVR1F.tmp\" "
        "goto try\r\ndel \"C:\\Temp\\delself.bat\"");
    // The folder goes on the script's last line, after the script itself, and where it is still
    // there, a second interpreter in the folder above removes it by its plain name.
    EXPECT_EQ(take(selfRemovalScriptText("C:\\T\\KVR0A\\KVR1.tmp", "C:\\T\\KVR0A\\delself.bat",
                                         "C:\\T\\KVR0A")),
              "@echo off\r\n:try\r\ndel \"C:\\T\\KVR0A\\KVR1.tmp\"\r\nif exist "
              "\"C:\\T\\KVR0A\\KVR1.tmp\" goto try\r\ndel \"C:\\T\\KVR0A\\delself.bat\" & "
              "rmdir \"C:\\T\\KVR0A\" 2>nul & if exist \"C:\\T\\KVR0A\" start \"\" /b cmd /d "
              "/c \"for /l %%i in (1,1,20) do @if exist KVR0A (ping -n 2 127.0.0.1 >nul & rmdir "
              "KVR0A 2>nul )\"");
    // A folder whose name the interpreter would read otherwise gets no second try.
    EXPECT_EQ(
        take(selfRemovalScriptText("C:\\T\\K&R\\K.tmp", "C:\\T\\K&R\\delself.bat", "C:\\T\\K&R"))
            .find("start"),
        std::string::npos);
    // A temporary folder with blanks stays one path on every line, and there is no final
    // line break.
    std::string text =
        take(selfRemovalScriptText("C:\\Documents and Settings\\A B\\KVR2.tmp",
                                   "C:\\Documents and Settings\\A B\\delself.bat", nullptr));
    EXPECT_NE(text.find("\r\ndel \"C:\\Documents and Settings\\A B\\delself.bat\""),
              std::string::npos)
        << text;
    EXPECT_EQ(text.back(), '"');
    EXPECT_STREQ(kSelfRemovalScriptName, "delself.bat");
}

TEST(RootKeyNames, ShortNamesByRootNumberAndNothingOutside) {
    // HKA, after the system's roots, is a record's name for the scope's root.
    const char* expected[] = {"HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HKDD", "HKA"};
    for (int root = 0; root < kRecordRootCount; ++root) {
        EXPECT_STREQ(rootKeyName(root), expected[root]) << root;
    }
    EXPECT_EQ(kRootScoped, kRegistryRootCount);
    EXPECT_STREQ(rootKeyName(-1), "");
    EXPECT_STREQ(rootKeyName(8), "");
    EXPECT_STREQ(rootKeyName(0x7FFFFFFF), "");
}

TEST(SharedFileQuestion, NamesTheFileAndItsFolder) {
    std::string text = take(sharedFileQuestion("C:\\Windows\\System32\\shared,part.dll"));
    EXPECT_EQ(
        text.rfind("The system indicates that the following shared file is no longer used", 0), 0u)
        << text;
    EXPECT_NE(text.find("shared file? \n\nFile name: shared,part.dll\nLocated in: "
                        "C:\\Windows\\System32\n\nLeaving this file will not harm your system."),
              std::string::npos)
        << text;
    const std::string end = "choose to not to remove this shared component.";
    ASSERT_GT(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end) << text;
}

}  // namespace

#include "runtime/string_list.h"
#include "uninstall/protected_folders.h"

namespace {

TEST(ProtectedFolders, DrivesSystemFoldersAndWhatHoldsThemAreNeverTheInstallationsToRemove) {
    StringList system;
    ASSERT_TRUE(system.create(8));
    system.append("C:\\Program Files");
    system.append("C:\\WINDOWS\\system32");
    system.append("C:\\Documents and Settings\\Ann\\Desktop\\");
    system.set(5, "C:\\Temp");  // the list may hold holes
    const char* kept[] = {
        nullptr,
        "",
        "D:",
        "D:\\",
        "d:/",
        "D:\\\\",
        "\\\\server\\share",
        "\\\\server\\share\\",
        "\\\\server",
        "App",
        "\\App",
        "C:App",
        "C:\\App\\..",
        "C:\\App\\.\\x",
        "C:\\App\\..\\..",
        "c:\\program files",
        "C:\\Program Files\\",
        "C:/Program Files",
        "C:\\Windows",
        "C:\\windows\\SYSTEM32",
        "C:\\Documents and Settings",
        "C:\\Documents and Settings\\Ann",
        "C:\\temp",
        // The same folders spelt as the file system reads them too.
        "C:\\Program Files.",
        "C:\\Program Files ",
        "C:\\Program Files. . ",
        "C:\\\\Program Files",
        "C:\\WINDOWS.\\system32",
        "C:/Documents and Settings//Ann",
        "\\\\?\\C:\\Data",
        "\\\\.\\C:\\Data",
        "\\\\localhost\\C$\\Data",
        "\\\\server\\admin$\\App",
        "/C:\\Program Files\\Example",  // no drive after a leading separator
        "\\C:\\App",
        "C:.\\App",  // the drive's current folder: relative
        "C: \\App",
    };
    for (const char* folder : kept) {
        EXPECT_TRUE(isProtectedFolder(folder, system)) << (folder ? folder : "<null>");
    }
    const char* removable[] = {
        "D:\\Data",
        "C:\\Program Files\\Example",
        "C:\\Program Files Extra",
        "C:\\WINDOWS\\system32x",
        "C:\\Windows\\Example",
        "\\\\server\\share\\App",
        "C:\\Documents and Settings\\Ann\\Desktop\\Example",
        "C:\\App\\...",
        "C:\\App..\\x",
        "C:\\Program Files\\Example.",
        "\\\\server\\share$x\\App",
    };
    for (const char* folder : removable) {
        EXPECT_FALSE(isProtectedFolder(folder, system)) << folder;
    }
}

}  // namespace
