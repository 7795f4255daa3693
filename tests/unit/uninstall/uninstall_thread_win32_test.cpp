// The rollback mode and the uninstall thread on real files, folders and registry keys in the
// Wine prefix. Logs are written with the install log's own writer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "environment/run_environment.h"
#include "formats/install_log.h"
#include "formats/languages.h"
#include "formats/setup_state.h"
#include "runtime/file_deletion_win32.h"
#include "runtime/file_version_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "system_fixtures.h"
#include "uninstall/file_removal_win32.h"
#include "uninstall/uninstall_log_win32.h"
#include "uninstall/uninstall_state.h"
#include "uninstall/uninstall_thread_win32.h"
#include "window_watch.h"
#include "worker/worker_state.h"

using namespace kelvara;
using namespace kelvara_test;

namespace {

constexpr int kCurrentUser = 1;
constexpr char kSharedDllsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The processor time this process has used so far, in milliseconds.
ULONGLONG processorMilliseconds() {
    FILETIME created, ended, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 10000;
}

std::vector<std::string> items(const StringList& list) {
    std::vector<std::string> result;
    for (int i = 0; i < list.count(); ++i) result.push_back(list.get(i) ? list.get(i) : "<hole>");
    return result;
}

// The system's list of renames and deletions for the next restart, as raw bytes.
std::string pendingRenames() {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                        0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "";
    }
    DWORD size = 0;
    std::string data;
    if (::RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) ==
        ERROR_SUCCESS) {
        data.assign(size, '\0');
        ::RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(data.data()), &size);
    }
    ::RegCloseKey(key);
    return data;
}

DWORD attributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

// A rollback log made by the install log's writer: every line goes to the rollback text.
class RollbackLog {
  public:
    RollbackLog() {
        LogSettings settings;
        std::strcpy(settings.normalFontFace, "MS Sans Serif");
        log_.start("Example Product", "Example", settings, nullptr, nullptr);
    }
    void path(char kind, const std::string& path) {
        EXPECT_EQ(log_.addPath(kind, path.c_str(), kLogToRollback), LogAddResult::added) << path;
    }
    void value(int root, const std::string& key, const char* name) {
        EXPECT_EQ(
            log_.addRegistryValue(std::to_string(root).c_str(), key.c_str(), name, kLogToRollback),
            LogAddResult::added);
    }
    void key(int root, const std::string& key, bool withSubkeys) {
        EXPECT_EQ(log_.addRegistryKey(static_cast<unsigned>(root), key.c_str(), withSubkeys,
                                      kLogToRollback),
                  LogAddResult::added);
    }
    std::string text() const {
        std::size_t length = 0;
        char* bytes = log_.rollbackLogText(&length);
        std::string result(bytes ? bytes : "", length);
        heapFree(bytes);
        return result;
    }

  private:
    InstallLog log_;
};

// The shared count of a path, removed when the test ends.
class SharedCount {
  public:
    explicit SharedCount(std::string path) : path_(std::move(path)) { remove(); }
    ~SharedCount() { remove(); }
    void raiseTo(std::uint32_t count) {
        while (sharedCount(path_.c_str()) < count) changeSharedCount(path_.c_str(), false);
    }
    std::uint32_t count() const { return sharedCount(path_.c_str()); }

  private:
    void remove() const {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            ::RegDeleteValueA(key, path_.c_str());
            ::RegCloseKey(key);
        }
    }
    std::string path_;
};

class Uninstall : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(uninstallState.rebootDeleteFiles.create(5));
        ASSERT_TRUE(uninstallState.leftoverFolders.create(5));
        ASSERT_TRUE(workerState.deferredTargets.create(5));
        workerState.proceedEvent.reset(::CreateEventA(nullptr, TRUE, TRUE, nullptr));
        uninstallState.uninstallDoneEvent.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(workerState.proceedEvent.get() && uninstallState.uninstallDoneEvent.get());
        // The thread makes this the current folder: the system's, never the test's own.
        runEnvironment.tempDir.reset(strDupExtra(systemTempFolder().c_str(), 0));
        uninstallState.removeAllShared = false;
    }
    void TearDown() override {
        uninstallState.rebootDeleteFiles.destroy();
        uninstallState.leftoverFolders.destroy();
        workerState.deferredTargets.destroy();
        workerState.proceedEvent.reset();
        uninstallState.uninstallDoneEvent.reset();
        for (HeapString* text :
             {&runEnvironment.tempDir, &workerState.rollbackLogPath, &uninstallState.logBuffer})
            text->reset();
        uninstallState.entryText = nullptr;
        uninstallState.removeAllShared = false;
    }

    // Writes the log into the test folder and names it as the rollback log.
    std::string useRollbackLog(const std::string& text) {
        std::string path = temp_ / "rollback.log";
        writeFile(path, text);
        workerState.rollbackLogPath.reset(strDupExtra(path.c_str(), 0));
        return path;
    }

    std::vector<SeenWindow> rollBack(const Responder& respond = pressNo) {
        return runWatched([] { undoRollbackLog(); }, respond);
    }

    static bool finished() {
        return ::WaitForSingleObject(uninstallState.uninstallDoneEvent.get(), 0) == WAIT_OBJECT_0;
    }

    TempFolder temp_;
};

TEST_F(Uninstall, RollbackUndoesTheRunFromItsLastLineToItsFirst) {
    TestKey key;
    const std::string app = temp_ / "App";
    const std::string sub = app + "\\Sub";
    const std::string kept = temp_ / "Kept";
    const std::string deferred = app + "\\deferred.dll";
    const std::string shared = temp_ / "shared.dll";
    for (const std::string& folder : {app, sub, kept}) ::CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"one.txt", "a,b.txt", "Start.lnk", "deferred.dll"}) {
        writeFile(app + "\\" + name);
    }
    writeFile(sub + "\\two.txt");
    writeFile(kept + "\\foreign.txt");  // not the installation's
    writeFile(shared);
    ::SetFileAttributesA(deferred.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    workerState.deferredTargets.append(deferred.c_str());
    SharedCount count(shared);
    count.raiseTo(2);  // another product counts it too
    key.setValue("", "Path");
    key.setValue("", "Foreign");
    key.setValue("Tree\\Deep", "Value");
    key.setValue("Grown", "Added later");
    key.create("Empty");

    RollbackLog log;
    log.path(kLogFolder, app);
    log.path(kLogFolder, sub);
    log.path(kLogFolder, kept);
    log.path(kLogFile, app + "\\one.txt");
    log.path(kLogFile, app + "\\a,b.txt");
    log.path(kLogFile, sub + "\\two.txt");
    log.path(kLogShortcut, app + "\\Start.lnk");
    log.path(kLogFile, deferred);
    log.path(kLogSharedFile, shared);
    log.key(kCurrentUser, key.sub("Tree"), true);
    log.key(kCurrentUser, key.sub("Grown"), false);
    log.key(kCurrentUser, key.sub("Empty"), false);
    log.value(kCurrentUser, key.path(), "Path");
    const std::string logPath = useRollbackLog(log.text());

    std::vector<SeenWindow> seen = rollBack();

    EXPECT_TRUE(seen.empty()) << captions(seen);
    EXPECT_FALSE(exists(app + "\\one.txt"));
    EXPECT_FALSE(exists(app + "\\a,b.txt")) << "a path with a comma is one path";
    EXPECT_FALSE(exists(app + "\\Start.lnk"));
    EXPECT_FALSE(exists(sub)) << "emptied first, then removed";
    EXPECT_TRUE(exists(deferred)) << "a target waiting for the restart stays";
    EXPECT_EQ(attributes(deferred) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))
        << "and keeps its attributes";
    EXPECT_TRUE(exists(kept + "\\foreign.txt"));
    EXPECT_EQ(items(uninstallState.leftoverFolders), (std::vector<std::string>{kept, app}))
        << "folders that are not empty, in the order undone";
    EXPECT_TRUE(exists(shared)) << "another product still counts the shared file";
    EXPECT_EQ(count.count(), 1u);
    EXPECT_FALSE(key.hasValue("", "Path"));
    EXPECT_TRUE(key.hasValue("", "Foreign"));
    EXPECT_FALSE(key.has("Tree")) << "\"1\": with everything below it";
    EXPECT_TRUE(key.hasValue("Grown", "Added later")) << "a key that gained a value stays";
    EXPECT_FALSE(key.has("Empty"));
    EXPECT_TRUE(items(uninstallState.rebootDeleteFiles).empty());
    EXPECT_TRUE(finished());
    EXPECT_FALSE(exists(logPath)) << "the rollback log is deleted once read";
    EXPECT_EQ(workerState.rollbackLogPath.get(), nullptr);

    // A second rollback finds nothing to undo, named or not.
    writeFile(app + "\\one.txt");
    seen = rollBack();
    workerState.rollbackLogPath.reset(strDupExtra(logPath.c_str(), 0));
    std::vector<SeenWindow> again = rollBack();
    EXPECT_TRUE(seen.empty() && again.empty()) << captions(seen) << captions(again);
    EXPECT_TRUE(exists(app + "\\one.txt"));
    EXPECT_EQ(count.count(), 1u) << "no second decrement";
}

TEST_F(Uninstall, FileInUseGoesToTheRestartListWithoutAQuestion) {
    const std::string busy = temp_ / "busy.dll";
    writeFile(busy);
    RollbackLog log;
    log.path(kLogFile, busy);
    useRollbackLog(log.text());
    HANDLE open = ::CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);

    const ULONGLONG processorBefore = processorMilliseconds();
    const DWORD start = ::GetTickCount();
    std::vector<SeenWindow> seen = rollBack();
    const DWORD elapsed = ::GetTickCount() - start;
    const ULONGLONG processor = processorMilliseconds() - processorBefore;
    ::CloseHandle(open);

    EXPECT_TRUE(seen.empty()) << "no in-use question without a window: " << captions(seen);
    // The rollback itself schedules what it could not delete: nothing after it would.
    EXPECT_TRUE(uninstallState.rebootDeleteFiles.count() == 0) << "scheduled, so no longer listed";
    EXPECT_NE(pendingRenames().find(busy), std::string::npos)
        << "deleted at the next restart: " << pendingRenames();
    EXPECT_TRUE(exists(busy));
    // It kept trying for the whole time allowed (the clock ticks in up to 16 ms steps), and
    // paused between the attempts: a loop without pauses keeps a processor busy all along. A
    // loaded machine only makes the wait longer and the share smaller.
    EXPECT_GE(elapsed, kDeleteAttemptMs - 50) << "gave up early";
    EXPECT_LT(processor, elapsed / 4)
        << processor << " ms of processor time in " << elapsed << " ms of trying";
    EXPECT_TRUE(finished());
}

TEST_F(Uninstall, LogsThatAreNoLogsUndoNothing) {
    const std::string file = temp_ / "file.txt";
    writeFile(file);
    const std::string entry = "b," + file + "\n";
    const std::string settings = "0,0x0,0x0,0x0,0x0,Arial,0x0,Arial,0x0\n";
    const std::string cases[] = {
        "=== KELVARA log file ===\nP\nS\n" + settings + entry,  // the header's case differs
        "=== Kelvara log file ===\nP\nS\n",                     // three lines
        "=== Kelvara log file ===\nP\nS\n" + settings.substr(0, settings.size() - 1),
        "",
    };
    for (const std::string& text : cases) {
        const std::string logPath = useRollbackLog(text);
        std::vector<SeenWindow> seen = rollBack();
        EXPECT_TRUE(seen.empty()) << captions(seen);
        EXPECT_TRUE(exists(file)) << text;
        EXPECT_FALSE(exists(logPath)) << "a rollback log goes even when it is no log: " << text;
        EXPECT_FALSE(finished()) << text;
    }
    workerState.rollbackLogPath.reset(strDupExtra((temp_ / "missing.log").c_str(), 0));
    EXPECT_TRUE(rollBack().empty());
    EXPECT_FALSE(finished());
}

TEST_F(Uninstall, OnlyLinesEndingInALineFeedCount) {
    const std::string first = temp_ / "first.txt";
    const std::string cut = temp_ / "cut.txt";
    writeFile(first);
    writeFile(cut);
    RollbackLog log;
    log.path(kLogFile, first);
    useRollbackLog(log.text() + "b," + cut);  // the last line has no LF
    rollBack();
    EXPECT_FALSE(exists(first));
    EXPECT_TRUE(exists(cut));
    EXPECT_TRUE(finished());
}

// The texts an installation carried for its uninstaller: taken when their item is one a script
// could give, passed over otherwise (a log that lies in the installation's folder may have been
// edited), and the corner's text says the installer hid the engine's name.
TEST_F(Uninstall, CarriedTextsAreTakenAndNonsenseItemsPassedOver) {
    // A script configuration of its own, as the uninstaller starts with: none read yet.
    const auto freshTexts = [] {
        releaseSetupState();
        new (&setupState) SetupState();
        setRunDefaults(setupState);
        return createSetupState();
    };
    ASSERT_TRUE(freshTexts());
    RollbackLog log;
    const std::string path = temp_ / "install.log";
    writeFile(path, log.text() +
                        "t,3,Wirklich entfernen?\nt,9,Not the product\nt,300,x\n"
                        "t,-1,y\nt,42,Polyglot Labs\nt,7\n");
    ASSERT_TRUE(setText(kUninstallTextsSlot, setupState.currentLanguage, 9, "Example Product"));
    ASSERT_EQ(readLog(path.c_str(), LogSource::installation), LogRead::read);
    EXPECT_STREQ(text(kUninstallTextsSlot, 3), "Wirklich entfernen?");
    EXPECT_STREQ(text(kUninstallTextsSlot, 9), "Example Product") << "the product name is its own";
    EXPECT_STREQ(text(kUninstallTextsSlot, 42), "Polyglot Labs");
    EXPECT_TRUE(setupState.hideMakerLink);
    releaseLog();
    ASSERT_TRUE(freshTexts());
}

TEST_F(Uninstall, EntryTextWithoutLinesEndsAtOnceWithoutTheSignal) {
    std::string text = "b,C:\\no line feed";
    for (char* entry : {static_cast<char*>(nullptr), text.data()}) {
        uninstallState.entryText = entry;
        EXPECT_EQ(uninstallThread(nullptr), 1u);
        EXPECT_FALSE(finished());
    }
    uninstallState.entryText = nullptr;
}

TEST_F(Uninstall, RegistryErrorsAreShownAndMissingItemsAreNot) {
    TestKey key;
    RollbackLog log;
    log.value(kCurrentUser, key.sub("Missing"), "Value");  // missing: silent
    log.key(kCurrentUser, key.sub("Missing"), true);
    log.value(7, key.path(), "Value");  // no such root: an error
    log.key(9, key.path(), false);
    useRollbackLog(log.text());

    std::vector<SeenWindow> seen = rollBack();

    ASSERT_EQ(seen.size(), 2u) << captions(seen);
    EXPECT_EQ(seen[0].caption, "Deleting Registry Key");
    EXPECT_EQ(seen[0].text.rfind("Error deleting registry key '\\" + key.path() + "'.\n", 0), 0u)
        << seen[0].text;
    EXPECT_EQ(seen[1].caption, "Deleting Registry Value");
    EXPECT_EQ(seen[1].text.rfind(
                  "Error deleting registry value 'Value' in the key '\\" + key.path() + "'.\n", 0),
              0u)
        << seen[1].text;
    EXPECT_TRUE(finished()) << "errors do not stop the undo";
    EXPECT_TRUE(key.has(""));
}

TEST_F(Uninstall, SharedFileAtZeroIsOfferedAndNoKeepsIt) {
    const std::string shared = temp_ / "shared.dll";
    writeFile(shared);
    SharedCount count(shared);
    count.raiseTo(1);
    RollbackLog log;
    log.path(kLogSharedFile, shared);
    useRollbackLog(log.text());

    std::vector<SeenWindow> seen = rollBack();

    ASSERT_EQ(seen.size(), 1u) << captions(seen);
    EXPECT_EQ(seen[0].caption, "Shared File Detected");
    EXPECT_NE(seen[0].text.find("File name: shared.dll\nLocated in: " + temp_.path() + "\n"),
              std::string::npos)
        << seen[0].text;
    EXPECT_TRUE(exists(shared)) << "No keeps the file";
    EXPECT_EQ(count.count(), 0u);
    EXPECT_FALSE(uninstallState.removeAllShared);
}

TEST_F(Uninstall, YesToAllRemovesTheFileAndAsksNoMoreOnceConfirmed) {
    const std::string first = temp_ / "first.dll";
    const std::string second = temp_ / "second.dll";
    writeFile(first);
    writeFile(second);
    SharedCount firstCount(first);
    SharedCount secondCount(second);
    firstCount.raiseTo(1);
    secondCount.raiseTo(1);
    RollbackLog log;
    log.path(kLogSharedFile, first);
    log.path(kLogSharedFile, second);
    useRollbackLog(log.text());

    std::vector<SeenWindow> seen = rollBack([](HWND window, const SeenWindow& shown) {
        WPARAM button = shown.caption == "Shared File Detected" ? 1011 : IDYES;
        ::PostMessageA(window, WM_COMMAND, button, 0);
    });

    ASSERT_EQ(seen.size(), 2u) << captions(seen);
    EXPECT_EQ(seen[0].caption, "Shared File Detected");
    EXPECT_NE(seen[0].text.find("File name: second.dll"), std::string::npos);
    EXPECT_EQ(seen[1].caption, "Confirm Operation");
    EXPECT_TRUE(uninstallState.removeAllShared);
    EXPECT_FALSE(exists(first));
    EXPECT_FALSE(exists(second));
}

// A stand-in for the removal dialog: the three controls the thread drives. The progress bar
// records every position it is given.
class RemovalWindow {
  public:
    RemovalWindow() {
        ::InitCommonControls();
        window_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                    nullptr, nullptr);
        progress_ = child(PROGRESS_CLASSA, kRemovalProgressBar);
        child("STATIC", kRemovalStatusText);
        child("STATIC", kRemovalPathText);
        positions_ = &positions;
        original_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            progress_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordPosition)));
    }
    ~RemovalWindow() {
        ::DestroyWindow(window_);
        positions_ = nullptr;
    }
    HWND get() const { return window_; }
    std::string text(int id) const {
        char text[512] = {};
        ::GetDlgItemTextA(window_, id, text, sizeof text);
        return text;
    }
    std::vector<int> positions;

  private:
    HWND child(const char* className, int id) {
        return ::CreateWindowExA(0, className, "", WS_CHILD, 0, 0, 300, 20, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                 nullptr);
    }
    static LRESULT CALLBACK recordPosition(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
        if (message == PBM_SETPOS && positions_) positions_->push_back(static_cast<int>(wParam));
        return ::CallWindowProcA(original_, window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
    HWND progress_ = nullptr;
    static inline std::vector<int>* positions_ = nullptr;
    static inline WNDPROC original_ = nullptr;
};

struct WindowRun {
    HANDLE thread = nullptr;
    DWORD id = 0;
};

WindowRun startWithWindow(HWND window) {
    WindowRun run;
    run.thread = ::CreateThread(nullptr, 0, uninstallThread, window, 0, &run.id);
    return run;
}

TEST_F(Uninstall, WithAWindowTheProgressMovesByQuartersAndTheTextsFollow) {
    TestKey key;
    const std::string folder = temp_ / "Shown";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    writeFile(folder + "\\one.txt");
    writeFile(folder + "\\two.txt");
    key.setValue("", "Value");
    RollbackLog log;
    log.path(kLogFolder, folder);
    log.path(kLogFile, folder + "\\one.txt");
    log.path(kLogFile, folder + "\\two.txt");
    log.value(kCurrentUser, key.path(), "Value");
    std::string text = log.text();
    LogHeader header;
    ASSERT_TRUE(readLogHeader(text.data(), text.size(), header));
    uninstallState.entryText = text.data() + header.entryOffset;

    RemovalWindow window;
    WindowRun run = startWithWindow(window.get());
    ASSERT_TRUE(run.thread);
    std::vector<SeenWindow> seen = watchThread(run.thread);
    DWORD exitCode = 99;
    ::GetExitCodeThread(run.thread, &exitCode);
    ::CloseHandle(run.thread);

    EXPECT_TRUE(seen.empty()) << captions(seen);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(window.positions, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(window.text(kRemovalStatusText), "Deleting files...") << "the first line's";
    EXPECT_EQ(window.text(kRemovalPathText), folder);
    EXPECT_FALSE(exists(folder));
    EXPECT_FALSE(key.hasValue("", "Value"));
    EXPECT_TRUE(finished());
}

TEST_F(Uninstall, QuitMessageAtACheckpointEndsTheThreadBeforeItUndoesAnything) {
    const std::string file = temp_ / "stays.txt";
    writeFile(file);
    RollbackLog log;
    log.path(kLogFile, file);
    std::string text = log.text();
    LogHeader header;
    ASSERT_TRUE(readLogHeader(text.data(), text.size(), header));
    uninstallState.entryText = text.data() + header.entryOffset;

    RemovalWindow window;
    ::ResetEvent(workerState.proceedEvent.get());  // the user interface holds the worker
    WindowRun run = startWithWindow(window.get());
    ASSERT_TRUE(run.thread);
    const DWORD start = ::GetTickCount();
    while (!::PostThreadMessageA(run.id, WM_QUIT, 0, 0) && ::GetTickCount() - start < 5000) {
        ::Sleep(1);  // until the thread has its message queue
    }
    ::SetEvent(workerState.proceedEvent.get());
    std::vector<SeenWindow> seen = watchThread(run.thread);
    DWORD exitCode = 99;
    ::GetExitCodeThread(run.thread, &exitCode);
    ::CloseHandle(run.thread);

    EXPECT_TRUE(seen.empty()) << captions(seen);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(exists(file));
    EXPECT_TRUE(window.positions.empty());
    EXPECT_FALSE(finished());
}

}  // namespace
