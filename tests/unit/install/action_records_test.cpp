// Action records as data: field defaults, the command line and working folder, the lists of a
// group, and the walk over a list with its run-once removal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"
#include "worker/action_records.h"

using namespace kelvara;

namespace {

std::string take(char* text) {
    std::string copy = text ? text : "<null>";
    heapFree(text);
    return copy;
}

// The fields of a stored record, split as the walk splits them.
class Fields {
  public:
    explicit Fields(const char* stored) {
        list.create(kFieldCount);
        splitFields(stored, false, list);
    }
    StringList list;
};

std::vector<std::string> items(const StringList& list) {
    std::vector<std::string> result;
    for (int i = 0; i < list.count(); ++i) result.push_back(list.get(i) ? list.get(i) : "<hole>");
    return result;
}

TEST(ActionRecords, ProgramFieldsAndTheirDefaults) {
    Fields empty("C:\\App\\tool.exe");
    ProgramRecord record = readProgramRecord(empty.list);
    EXPECT_STREQ(record.program, "C:\\App\\tool.exe");
    EXPECT_STREQ(record.arguments, "");
    EXPECT_STREQ(record.workingFolder, "");
    EXPECT_TRUE(record.wait) << "an empty wait field waits";
    EXPECT_TRUE(record.runOnce) << "an empty run-once field runs once";
    EXPECT_EQ(record.window, WindowMode::normal);

    Fields full("tool.exe,/a /b,C:\\Work\\,0,0,1");
    record = readProgramRecord(full.list);
    EXPECT_STREQ(record.arguments, "/a /b");
    EXPECT_STREQ(record.workingFolder, "C:\\Work\\") << "kept as written; trimmed when run";
    EXPECT_FALSE(record.wait);
    EXPECT_FALSE(record.runOnce);
    EXPECT_EQ(record.window, WindowMode::minimizedNoActivate);

    struct {
        const char* stored;
        bool wait;
        WindowMode window;
    } numbers[] = {
        {"p,,,0x10,,2", true, WindowMode::maximized},  // any nonzero number, hexadecimal too
        {"p,,,00,,3", false, WindowMode::normal},      // octal zero; modes past 2 are normal
        {"p,,,-1,,0", true, WindowMode::normal},
        {"p,,,x,,0x2", false, WindowMode::maximized},  // no digits: 0
    };
    for (const auto& c : numbers) {
        Fields fields(c.stored);
        record = readProgramRecord(fields.list);
        EXPECT_EQ(record.wait, c.wait) << c.stored;
        EXPECT_EQ(record.window, c.window) << c.stored;
    }
}

TEST(ActionRecords, LoggedProgramsRunOnceWithoutAListAndShowNormally) {
    Fields stored("C:\\App\\undo.exe,/quiet,C:\\App,,1,2");
    ProgramRecord record = readLoggedProgram(stored.list);
    EXPECT_STREQ(record.program, "C:\\App\\undo.exe");
    EXPECT_STREQ(record.arguments, "/quiet");
    EXPECT_STREQ(record.workingFolder, "C:\\App");
    EXPECT_TRUE(record.wait) << "field 3 empty: wait";
    EXPECT_FALSE(record.runOnce);
    EXPECT_EQ(record.window, WindowMode::normal) << "a logged program's window mode is not read";

    Fields noWait("undo.exe,,,0");
    EXPECT_FALSE(readLoggedProgram(noWait.list).wait);
}

TEST(ActionRecords, DllCallArgumentsAndRunOnce) {
    struct {
        const char* stored;
        int count;
        bool runOnce;
    } cases[] = {
        {"a.dll,Fn", 0, true},             // run once when the field is empty
        {"a.dll,Fn,one", 1, true},         // the first argument only
        {"a.dll,Fn,one,two,0", 2, false},  // both
        {"a.dll,Fn,,two,1", 0, true},      // no first argument: none at all, the second is ignored
        {"a.dll,Fn,one,,7", 1, true},
    };
    for (const auto& c : cases) {
        Fields fields(c.stored);
        DllCallRecord record = readDllCallRecord(fields.list);
        EXPECT_STREQ(record.dll, "a.dll") << c.stored;
        EXPECT_STREQ(record.function, "Fn") << c.stored;
        EXPECT_EQ(record.argumentCount, c.count) << c.stored;
        EXPECT_EQ(record.runOnce, c.runOnce) << c.stored;
        EXPECT_FALSE(readLoggedDllCall(fields.list).runOnce) << c.stored;
    }
    Fields two("a.dll,Fn,one,two");
    DllCallRecord record = readLoggedDllCall(two.list);
    EXPECT_STREQ(record.first, "one");
    EXPECT_STREQ(record.second, "two");
    EXPECT_EQ(record.argumentCount, 2);
}

TEST(ActionRecords, OpenInAnyCaseRegistrationNamesInExactCase) {
    for (const char* word : {"open", "OPEN", "Open", "oPeN"})
        EXPECT_TRUE(isShellOpen(word)) << word;
    for (const char* word : {"", "opener", "open ", " open", "C:\\open", "run"}) {
        EXPECT_FALSE(isShellOpen(word)) << word;
    }
    EXPECT_FALSE(isShellOpen(nullptr));

    for (const char* name :
         {"DllRegisterServer", "DllUnregisterServer", "TLBRegister", "TLBUnregister"}) {
        EXPECT_TRUE(isRegistrationEntryPoint(name)) << name;
    }
    for (const char* name : {"dllregisterserver", "DLLREGISTERSERVER", "DllRegisterServerEx",
                             "DllRegister", "tlbregister", "DllInstall", ""}) {
        EXPECT_FALSE(isRegistrationEntryPoint(name)) << name << " is an ordinary function";
    }
}

TEST(ActionRecords, CommandLineQuotesTheProgramOnly) {
    EXPECT_EQ(take(programCommandLine("C:\\Program Files\\App\\tool.exe", "/a \"b c\" d")),
              "\"C:\\Program Files\\App\\tool.exe\" /a \"b c\" d");
    EXPECT_EQ(take(programCommandLine("tool.exe", "")), "\"tool.exe\" ");
}

TEST(ActionRecords, WorkingFolderLosesOneTrailingSlashButARootStays) {
    struct {
        const char* folder;
        const char* trimmed;
    } cases[] = {
        {"C:\\App\\", "C:\\App"},
        {"C:/App/", "C:/App"},
        {"C:\\App", "C:\\App"},
        {"C:\\App\\\\", "C:\\App\\"},  // only one
        {"\\\\server\\share\\", "\\\\server\\share"},
        {"C:\\", "C:\\"},  // "C:" would be the drive's current folder
        {"d:/", "d:/"},
        {"\\", "\\"},  // the current drive's root, not "no folder"
        {"", "<null>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(take(trimmedWorkingFolder(c.folder)), c.trimmed) << c.folder;
    }
    EXPECT_EQ(take(trimmedWorkingFolder(nullptr)), "<null>");
}

TEST(ActionRecords, GroupsZeroToTwelveHaveLists) {
    StringList* programs;
    StringList* dllCalls;
    ASSERT_TRUE(actionGroupLists(0, &programs, &dllCalls));
    EXPECT_EQ(programs, &setupState.groupZeroPrograms);
    EXPECT_EQ(dllCalls, &setupState.groupZeroDllCalls);
    for (int group = 1; group <= 12; ++group) {
        ASSERT_TRUE(actionGroupLists(group, &programs, &dllCalls)) << group;
        EXPECT_EQ(programs, &setupState.pageSlots[group - 1].runPrograms) << group;
        EXPECT_EQ(dllCalls, &setupState.pageSlots[group - 1].dllCalls) << group;
    }
    for (int group : {-1, 13, -2, 100}) {
        EXPECT_FALSE(actionGroupLists(group, &programs, &dllCalls)) << group;
        EXPECT_EQ(programs, nullptr) << group;
        EXPECT_EQ(dllCalls, nullptr) << group;
    }
}

// What a walk's runner saw, and which records it removed: field 1 "once" removes the record,
// "stop" fails the step and ends the walk.
std::vector<std::string> seen;
bool recordingRunner(const StringList& fields, StringList* list, int* index) {
    seen.push_back(std::string(fields.get(0)) + "(" + fields.get(1) + ")");
    if (std::string(fields.get(1)) == "once") removeRunOnce(list, index);
    return std::string(fields.get(1)) != "stop";
}

class ActionWalk : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(setupState.variableNames.create(5));
        ASSERT_TRUE(setupState.variableValues.create(5));
        ASSERT_TRUE(list.create(5));
        seen.clear();
    }
    void TearDown() override {
        setupState.variableNames.destroy();
        setupState.variableValues.destroy();
    }
    StringList list;
};

TEST_F(ActionWalk, RunOnceRecordsLeaveTheListAndTheOthersStay) {
    for (const char* record : {"a,once", "b,keep", "c,once", "d,once", "e,keep"}) {
        list.append(record);
    }
    runActionList(list, recordingRunner);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"a(once)", "b(keep)", "c(once)", "d(once)", "e(keep)"}))
        << "every record runs once, in list order, none skipped by a removal";
    EXPECT_EQ(items(list), (std::vector<std::string>{"b,keep", "e,keep"}));

    seen.clear();
    runActionList(list, recordingRunner);
    EXPECT_EQ(seen, (std::vector<std::string>{"b(keep)", "e(keep)"}))
        << "a second run of the list no longer sees the removed records";
}

TEST_F(ActionWalk, TwoRunOnceRecordsLeaveTheListEmpty) {
    list.append("a,once");
    list.append("b,once");
    EXPECT_TRUE(runActionList(list, recordingRunner));
    EXPECT_EQ(seen, (std::vector<std::string>{"a(once)", "b(once)"}));
    EXPECT_EQ(list.count(), 0);
}

TEST_F(ActionWalk, AStepNotGoneOnFromEndsTheWalkThere) {
    for (const char* record : {"a,once", "b,stop", "c,keep"}) list.append(record);
    EXPECT_FALSE(runActionList(list, recordingRunner));
    EXPECT_EQ(seen, (std::vector<std::string>{"a(once)", "b(stop)"})) << "c is never run";
    EXPECT_EQ(items(list), (std::vector<std::string>{"b,stop", "c,keep"}));
}

TEST(ActionRecords, SuccessCodesJudgeAnExitCodeAndTwoOfThemAskForARestart) {
    StringList fields;
    ASSERT_TRUE(fields.create(8));
    splitFields("setup.exe,/q,,1,1,0,0|3010|0xC0000005", false, fields);
    const ProgramRecord record = readProgramRecord(fields);
    EXPECT_STREQ(record.successCodes, "0|3010|0xC0000005");
    for (std::uint32_t code : {0u, 3010u, 0xC0000005u}) {
        EXPECT_TRUE(isSuccessCode(record.successCodes, code)) << code;
    }
    for (std::uint32_t code : {1u, 30u, 301u, 30100u, 1641u}) {
        EXPECT_FALSE(isSuccessCode(record.successCodes, code)) << code;
    }
    EXPECT_FALSE(isSuccessCode("", 0)) << "no codes: nothing is one";
    EXPECT_TRUE(asksForRestart(3010) && asksForRestart(1641) && !asksForRestart(0));
    splitFields("setup.exe,/q", false, fields);
    EXPECT_STREQ(readProgramRecord(fields).successCodes, "") << "an older record: not judged";
}

TEST_F(ActionWalk, VariablesAreExpandedForEachRunAndTheRecordKeepsThem) {
    ASSERT_TRUE(defineVariable("%InstallPath%", "C:\\First"));
    list.append("%INSTALLPATH%\\tool.exe,keep");
    list.append(nullptr);  // a hole reads as an empty record
    runActionList(list, recordingRunner);
    ASSERT_TRUE(setVariable("%InstallPath%", "D:\\Second"));
    runActionList(list, recordingRunner);
    EXPECT_EQ(seen, (std::vector<std::string>{"C:\\First\\tool.exe(keep)", "()",
                                              "D:\\Second\\tool.exe(keep)", "()"}));
    EXPECT_EQ(items(list), (std::vector<std::string>{"%INSTALLPATH%\\tool.exe,keep", "<hole>"}));
}

TEST_F(ActionWalk, RemovalNeedsAListAndAnIndexInsideIt) {
    list.append("a");
    list.append("b");
    int index = 1;
    removeRunOnce(nullptr, &index);
    EXPECT_EQ(index, 1);
    removeRunOnce(&list, nullptr);
    EXPECT_EQ(list.count(), 2);
    index = 2;
    removeRunOnce(&list, &index);
    EXPECT_EQ(index, 2) << "an index past the end removes nothing";
    EXPECT_EQ(list.count(), 2);
    index = 0;
    removeRunOnce(&list, &index);
    EXPECT_EQ(index, -1) << "stepped back so that the walk's increment lands on the next record";
    EXPECT_EQ(items(list), std::vector<std::string>{"b"});
}

}  // namespace
