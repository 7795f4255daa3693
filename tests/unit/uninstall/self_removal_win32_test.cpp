// The self-removal script, run for real by the prefix's command interpreter.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "setup/setup_state.h"
#include "system_fixtures.h"
#include "uninstall/uninstaller_start.h"

using namespace kelvara;
using namespace kelvara_test;

namespace {

bool waitUntilGone(const std::string& a, const std::string& b, DWORD limitMs) {
    const DWORD start = ::GetTickCount();
    while (exists(a) || exists(b)) {
        if (::GetTickCount() - start > limitMs) return false;
        ::Sleep(50);
    }
    return true;
}

TEST(SelfRemovalScript, WaitsForTheProgramThenDeletesItAndItselfFromAFolderWithBlanks) {
    TempFolder temp;  // its name has a blank and a comma
    const std::string program = temp / "KVR1A.tmp";
    const std::string script = temp / "delself.bat";
    const std::string neighbour = temp / "Kelvara";  // what an unquoted path's first word names
    writeFile(program);
    writeFile(neighbour);
    SetupState& s = setupState;
    s.tempDir = strDupExtra(temp.path().c_str(), 0);
    s.installerPath = strDupExtra(program.c_str(), 0);

    // The program is still running (its file open) when the script starts.
    HANDLE running = ::CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    writeSelfRemovalScript();
    ::Sleep(300);
    EXPECT_TRUE(exists(program)) << "deleted while still in use?";
    ::CloseHandle(running);

    EXPECT_TRUE(waitUntilGone(program, script, 15000))
        << "program " << exists(program) << ", script " << exists(script);
    EXPECT_TRUE(exists(neighbour));

    heapFree(s.tempDir);
    heapFree(s.installerPath);
    s.tempDir = s.installerPath = nullptr;
}

}  // namespace
