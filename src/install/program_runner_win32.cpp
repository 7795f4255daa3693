// Starting a program of an action list, or opening a document through the shell.
#include <windows.h>
#include <shellapi.h>

#include "install/action_runners_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"

namespace kelvara {
namespace {

constexpr DWORD kCreationFlags =
    CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS;
constexpr DWORD kStartupFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
constexpr DWORD kWaitStepMs = 100;
// Paint messages dispatched per wait step at most: a window that never validates itself keeps
// one waiting for ever, and must not keep the wait from seeing the program end.
constexpr int kPaintsPerStep = 64;
constexpr const char* kOpenVerb = "open";

int showCommand(WindowMode mode) {
    switch (mode) {
        case WindowMode::minimizedNoActivate:
            return SW_SHOWMINNOACTIVE;
        case WindowMode::maximized:
            return SW_SHOWMAXIMIZED;
        case WindowMode::normal:
            break;
    }
    return SW_SHOW;
}

// Lets this thread's windows repaint while it waits, without taking any input.
void dispatchPaintMessages() {
    MSG message;
    for (int i = 0; i < kPaintsPerStep; ++i) {
        if (!::PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) return;
        ::DispatchMessageA(&message);
    }
}

void waitForProcess(HANDLE process) {
    while (::WaitForSingleObject(process, kWaitStepMs) == WAIT_TIMEOUT) dispatchPaintMessages();
}

}  // namespace

void runProgram(const ProgramRecord& record, StringList* list, int* index) {
    const int show = showCommand(record.window);
    HeapString folder(trimmedWorkingFolder(record.workingFolder));
    if (isShellOpen(record.program)) {
        ::ShellExecuteA(::GetDesktopWindow(), kOpenVerb, record.arguments, nullptr, folder.get(),
                        show);
        if (record.runOnce) removeRunOnce(list, index);
        return;
    }

    HeapString commandLine(programCommandLine(record.program, record.arguments));
    if (!commandLine) return;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = kStartupFlags;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessA(nullptr, commandLine.get(), nullptr, nullptr, FALSE, kCreationFlags,
                          nullptr, folder.get(), &startup, &started)) {
        return;  // not reported; the record stays and runs again with its pair
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    thread.reset();
    if (record.wait) waitForProcess(process.get());
    if (record.runOnce) removeRunOnce(list, index);
}

}  // namespace kelvara
