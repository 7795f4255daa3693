// The self-removal script, run for real by the prefix's command interpreter, against a program
// that is really running from the file the script must delete.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <set>

#include "environment/run_environment.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "system_fixtures.h"
#include "uninstall/self_removal_win32.h"
#include "worker/temp_folder_win32.h"

#ifndef KELVARA_ACTION_FIXTURES
#error "KELVARA_ACTION_FIXTURES names the folder of the built action fixtures"
#endif

using namespace kelvara;
using namespace kelvara_test;

namespace {

constexpr DWORD kPatienceMs = 30000;  // only ever reached when the behaviour is broken

bool waitUntilGone(const std::string& a, const std::string& b) {
    const DWORD start = ::GetTickCount();
    while (exists(a) || exists(b)) {
        if (::GetTickCount() - start > kPatienceMs) return false;
        ::Sleep(50);
    }
    return true;
}

// The recorder that the action tests use: a GUI program without a window that, started with
// --hold=PATH, runs until PATH exists.
std::string recorderProgram() {
    std::string path = std::string("Z:") + KELVARA_ACTION_FIXTURES + "/action-recorder.exe";
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

// The processes this one has started (the prefix's desktop among them, under Wine).
std::set<DWORD> childProcesses() {
    std::set<DWORD> children;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return children;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more;
         more = ::Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == ::GetCurrentProcessId()) {
            children.insert(entry.th32ProcessID);
        }
    }
    ::CloseHandle(snapshot);
    return children;
}

// A process started since `before` was taken, opened for waiting, or null.
HANDLE newChildProcess(const std::set<DWORD>& before) {
    for (DWORD id : childProcesses()) {
        if (before.count(id)) continue;
        if (HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, id)) {
            return process;
        }
    }
    return nullptr;
}

ULONGLONG cpuMilliseconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!::GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 10000;
}

TEST(SelfRemovalScript, WaitsForTheRunningProgramThenDeletesItItselfAndItsFolder) {
    TempFolder temp;  // its name has a blank and a comma
    runEnvironment.tempDir.reset(strDupExtra(temp.path().c_str(), 0));
    // The second stage runs from the run's own folder, which its first stage made.
    const char* made = runTempFolder();
    ASSERT_TRUE(made);
    const std::string folder = made;
    ASSERT_TRUE(adoptRunTempFolder(folder.c_str()));
    const std::string program = folder + "\\KVR1A.tmp";
    const std::string script = folder + "\\delself.bat";
    const std::string neighbour = temp / "Kelvara";  // what an unquoted path's first word names
    const std::string release = temp / "release";
    // Someone else's script of the same name in the shared temporary folder.
    const std::string otherScript = temp / "delself.bat";
    ASSERT_TRUE(::CopyFileA(recorderProgram().c_str(), program.c_str(), FALSE))
        << recorderProgram();
    writeFile(neighbour);
    writeFile(otherScript, "someone else's");

    // The recorder keeps its log outside the folder, which the script removes only when empty.
    ::SetEnvironmentVariableA("KELVARA_ACTION_LOG", (temp / "actions.log").c_str());
    // The uninstaller's copy is running when the script starts: its image is mapped, so no
    // deletion can succeed until it has ended.
    std::string commandLine = "\"" + program + "\" --hold=\"" + release + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION running = {};
    ASSERT_TRUE(::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, temp.path().c_str(), &startup, &running));
    ::CloseHandle(running.hThread);
    ASSERT_FALSE(::DeleteFileA(program.c_str())) << "a running program's file was deletable";

    runEnvironment.installerPath.reset(strDupExtra(program.c_str(), 0));
    const std::set<DWORD> before = childProcesses();
    writeSelfRemovalScript();

    // The script's interpreter keeps trying: once it has spent a quarter of a second of
    // processor time, or run for two seconds (where the system's side of each attempt is not
    // counted to it: 32-bit Wine), it has run its delete many times, and must still be there.
    const DWORD start = ::GetTickCount();
    HANDLE interpreter = nullptr;
    while (!(interpreter = newChildProcess(before)) && ::GetTickCount() - start < kPatienceMs) {
        ::Sleep(20);
    }
    ASSERT_TRUE(interpreter) << "the script was never started";
    const DWORD found = ::GetTickCount();
    while (cpuMilliseconds(interpreter) < 250 &&
           ::WaitForSingleObject(interpreter, 0) == WAIT_TIMEOUT &&
           ::GetTickCount() - found < 2000) {
        ::Sleep(20);
    }
    EXPECT_GT(cpuMilliseconds(interpreter), 0u) << "the script's interpreter never ran";
    EXPECT_EQ(::WaitForSingleObject(interpreter, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the script gave up while the program was still running";
    EXPECT_TRUE(exists(program));
    EXPECT_TRUE(exists(script));

    // The program ends: the script deletes it, then itself and the folder, and nothing else.
    writeFile(release);
    EXPECT_EQ(::WaitForSingleObject(running.hProcess, kPatienceMs),
              static_cast<DWORD>(WAIT_OBJECT_0));
    ::CloseHandle(running.hProcess);
    EXPECT_TRUE(waitUntilGone(program, script))
        << "program " << exists(program) << ", script " << exists(script);
    EXPECT_EQ(::WaitForSingleObject(interpreter, kPatienceMs), static_cast<DWORD>(WAIT_OBJECT_0));
    ::CloseHandle(interpreter);
    EXPECT_TRUE(waitUntilGone(folder, folder)) << "the run's folder " << folder;
    EXPECT_TRUE(exists(neighbour));
    EXPECT_EQ(readFile(otherScript), "someone else's");

    ::SetEnvironmentVariableA("KELVARA_ACTION_LOG", nullptr);
    removeRunTempFolder();  // the script removed it: nothing left to do
    runEnvironment.tempDir.reset();
    runEnvironment.installerPath.reset();
}

}  // namespace
