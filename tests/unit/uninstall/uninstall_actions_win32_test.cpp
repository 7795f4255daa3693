// The uninstaller's programs and DLL calls: "d" and "f" lines of an install log, written by the
// install log's own writer, undone by the uninstall thread with the recording fixtures.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "environment/run_environment.h"
#include "formats/install_log.h"
#include "install/action_fixtures.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "uninstall/uninstall_state.h"
#include "uninstall/uninstall_thread_win32.h"
#include "worker/worker_state.h"

using namespace kelvara;
using namespace kelvara_test;

namespace {

class UninstallActions : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fixtures_.ready())
            << "the action fixtures were not copied from " << KELVARA_ACTION_FIXTURES;
        ASSERT_TRUE(uninstallState.rebootDeleteFiles.create(5) &&
                    uninstallState.leftoverFolders.create(5) &&
                    workerState.deferredTargets.create(5));
        workerState.proceedEvent.reset(::CreateEventA(nullptr, TRUE, TRUE, nullptr));
        uninstallState.uninstallDoneEvent.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(workerState.proceedEvent.get() && uninstallState.uninstallDoneEvent.get());
        // The thread makes this its current folder: a program without one of its own runs there.
        runEnvironment.tempDir.reset(strDupExtra(fixtures_.folder().c_str(), 0));
        LogSettings settings;
        ASSERT_TRUE(log_.start("Example Product", "Example", settings, nullptr, nullptr));
    }
    void TearDown() override {
        uninstallState.rebootDeleteFiles.destroy();
        uninstallState.leftoverFolders.destroy();
        workerState.deferredTargets.destroy();
        workerState.proceedEvent.reset();
        uninstallState.uninstallDoneEvent.reset();
        runEnvironment.tempDir.reset();
        uninstallState.entryText = nullptr;
        ::SetCurrentDirectoryA(startFolder_.c_str());
    }

    void add(const char* kind, const std::string& fields) {
        EXPECT_EQ(log_.add(kind, fields.c_str(), 0), LogAddResult::added) << fields;
    }

    // Undoes the log's entry lines on a thread of its own, as the rollback mode does.
    void undo() {
        std::size_t length = 0;
        HeapString text(log_.installLogText(&length));
        ASSERT_TRUE(text);
        LogHeader header;
        ASSERT_TRUE(readLogHeader(text.get(), length, header));
        uninstallState.entryText = text.get() + header.entryOffset;
        HANDLE thread = ::CreateThread(nullptr, 0, uninstallThread, nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        ASSERT_EQ(::WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
        ::CloseHandle(thread);
        uninstallState.entryText = nullptr;
        EXPECT_EQ(::WaitForSingleObject(uninstallState.uninstallDoneEvent.get(), 0), WAIT_OBJECT_0);
    }

    std::string quoted() const { return "\"" + fixtures_.recorder() + "\" "; }

    // The recorder's line with this event and these arguments, or null.
    const ActionLine* find(const std::vector<ActionLine>& lines, const char* event,
                           const std::string& arguments) const {
        for (const ActionLine& line : lines) {
            if (line.event == event && line.value("cmd") == quoted() + arguments) return &line;
        }
        return nullptr;
    }

    ActionFixtures fixtures_;
    InstallLog log_;
    std::string startFolder_ = [] {
        char folder[MAX_PATH] = "";
        ::GetCurrentDirectoryA(MAX_PATH, folder);
        return std::string(folder);
    }();
};

TEST_F(UninstallActions, LoggedProgramsAndDllCallsRunFromTheLastLineToTheFirst) {
    const std::string hold = "--hold=\"" + fixtures_.holdFile() + "\"";
    const std::string work = fixtures_.folder() + "\\work";
    ASSERT_TRUE(::CreateDirectoryA(work.c_str(), nullptr));
    const std::string& program = fixtures_.recorder();
    const std::string& probe = fixtures_.probe();
    // As the install thread writes them: the stored records, variables expanded. The run-once
    // and window fields (1 and 2 here) are not read at uninstall time.
    add("d", program + ",waited --sleep=1000," + work + "\\,,1,2");
    add("d", program + ",held " + hold + ",,0,1,2");
    add("f", probe + ",TakesTwo,first arg,second arg,1");
    add("f", probe + ",TakesNothing,,,1");
    add("f", probe + ",DllUnregisterServer,,,1");
    add("f", probe + ",dllregisterserver,,,1");

    undo();

    // The held program was started first but, not waited for, may record its start after the
    // other program's: the two starts are found by their arguments.
    std::vector<ActionLine> lines = fixtures_.lines();
    ASSERT_EQ(lines.size(), 7u) << describe(lines);
    EXPECT_EQ(lines[0].event, "dllregisterserver");
    EXPECT_EQ(lines[0].value("ole"), "none") << "an ordinary function in another letter case";
    EXPECT_EQ(lines[1].event, "DllUnregisterServer");
    EXPECT_EQ(lines[1].value("ole"), "sta") << "a registration entry point runs inside OLE";
    EXPECT_EQ(lines[2].event, "TakesNothing");
    EXPECT_EQ(lines[3].event, "TakesTwo");
    EXPECT_EQ(lines[3].value("args"), "first arg|second arg");
    const ActionLine* held = find(lines, "start", "held " + hold);
    const ActionLine* waited = find(lines, "start", "waited --sleep=1000");
    ASSERT_TRUE(held && waited) << describe(lines);
    EXPECT_EQ(held->value("cwd"), fixtures_.folder()) << "no folder: the thread's current one";
    EXPECT_EQ(held->value("show"), std::to_string(SW_SHOW)) << "the window field is not read";
    EXPECT_EQ(waited->value("cwd"), work);
    EXPECT_EQ(lines[6].event, "end") << "an empty wait flag waits for the program to end";
    EXPECT_EQ(lines[6].value("cmd"), quoted() + "waited --sleep=1000");
    EXPECT_EQ(find(lines, "end", "held " + hold), nullptr)
        << "wait flag 0: the thread went on while the program was still running";

    fixtures_.release();
    lines = fixtures_.waitForLines(8);
    ASSERT_EQ(lines.size(), 8u) << describe(lines);
    EXPECT_EQ(lines[7].event, "end");
    EXPECT_EQ(lines[7].value("cmd"), quoted() + "held " + hold);
}

TEST_F(UninstallActions, LinesThatCannotRunAreErrorsOfTheRunAndTheRestRuns) {
    // Told quietly: a quiet run's messages go to its log, and the test has no one to answer.
    setQuietMessages(true);
    uninstallState.uninstallErrors = 0;
    add("d", fixtures_.recorder() + ",after the failures");
    add("d", fixtures_.folder() + "\\missing.exe,x");
    add("f", fixtures_.folder() + "\\missing.dll,TakesNothing");
    add("f", fixtures_.probe() + ",NoSuchFunction,a");
    add("d", "");
    add("f", "");

    undo();

    std::vector<ActionLine> lines = fixtures_.lines();
    ASSERT_EQ(lines.size(), 1u) << "the first line still runs, after every failed one"
                                << describe(lines);
    EXPECT_EQ(lines[0].value("cmd"), quoted() + "after the failures");
    EXPECT_EQ(uninstallState.uninstallErrors, 5) << "each line that failed is an error of the run";
    setQuietMessages(false);
    uninstallState.uninstallErrors = 0;
}

}  // namespace
