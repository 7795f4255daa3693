// Starting a program of an action list, or opening a document through the shell.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "environment/run_environment.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_view_win32.h"
#include "worker/action_runners_win32.h"

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

// The program's path. One named without a folder ("msiexec.exe") is looked for in the system
// folder, the Windows folder and the folders of PATH, as the system would after the two it
// searches first: the setup's own folder and the current one, where anyone who can write to a
// Downloads folder may have put a program of that name. A new heap string; null when out of
// memory or not found (the program is then not started).
char* programPath(const char* program) {
    if (std::strpbrk(program, "\\/:")) return strDupExtra(program, 0);
    char system[MAX_PATH];
    char windows[MAX_PATH];
    const UINT systemLength = ::GetSystemDirectoryA(system, MAX_PATH);
    const UINT windowsLength = ::GetWindowsDirectoryA(windows, MAX_PATH);
    if (!systemLength || systemLength >= MAX_PATH || !windowsLength || windowsLength >= MAX_PATH)
        return nullptr;
    const DWORD pathSize = ::GetEnvironmentVariableA("PATH", nullptr, 0);
    HeapString path(static_cast<char*>(heapAlloc(pathSize + 1)));
    if (!path) return nullptr;
    if (pathSize) ::GetEnvironmentVariableA("PATH", path.get(), pathSize);
    HeapString folders(strConcat5(system, ";", windows, ";", path.get()));
    char found[MAX_PATH];
    char* name = nullptr;
    const DWORD length =
        folders ? ::SearchPathA(folders.get(), program, ".exe", MAX_PATH, found, &name) : 0;
    if (length >= MAX_PATH) ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return length && length < MAX_PATH ? strDupExtra(found, 0) : nullptr;
}

}  // namespace

ActionResult runProgram(const ProgramRecord& record, StringList* list, int* index) {
    const int show = showCommand(record.window);
    HeapString folder(trimmedWorkingFolder(record.workingFolder));
    if (isShellOpen(record.program)) {
        // The shell loads libraries of its own for the document: with the redirection on.
        FileRedirectionPause shellLoads;
        // The shell's answer is logged, not judged: a document that opens in no program is not
        // a step of the installation.
        const auto opened = reinterpret_cast<INT_PTR>(::ShellExecuteA(
            ::GetDesktopWindow(), kOpenVerb, record.arguments, nullptr, folder.get(), show));
        writeRunLog(opened > 32 ? "action: opened %s" : "action: could not open %s",
                    record.arguments);
        if (record.runOnce) removeRunOnce(list, index);
        return {};
    }

    // A 64-bit product's programs have native paths: found and started without the redirection
    // (starting a program loads no library into this one).
    NativeFileView nativeFiles(runEnvironment.nativeSide);
    HeapString program(programPath(record.program));
    if (!program) {
        const DWORD error = ::GetLastError();
        writeRunLog("action: no program %s: %s", record.program, systemErrorText(error));
        return failedAction(ActionFailure::notStarted, error ? error : ERROR_FILE_NOT_FOUND);
    }
    HeapString commandLine(programCommandLine(program.get(), record.arguments));
    if (!commandLine) return failedAction(ActionFailure::notStarted, ERROR_NOT_ENOUGH_MEMORY);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = kStartupFlags;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessA(nullptr, commandLine.get(), nullptr, nullptr, FALSE, kCreationFlags,
                          nullptr, folder.get(), &startup, &started)) {
        // The record stays, and runs again with its pair.
        const DWORD error = ::GetLastError();
        writeRunLog("action: could not start %s: %s", commandLine.get(), systemErrorText(error));
        return failedAction(ActionFailure::notStarted, error);
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    thread.reset();
    if (record.runOnce) removeRunOnce(list, index);
    if (!record.wait) {
        writeRunLog("action: started %s", commandLine.get());
        return {};
    }
    waitForProcess(process.get());
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    char number[12];
    ::wsprintfA(number, "%lu", code);
    writeRunLog("action: ran %s: exit code %s", commandLine.get(), number);
    ActionResult result;
    result.exitCode = code;
    // Without success codes the code is the program's own business, as it always was.
    if (!*record.successCodes) return result;
    if (!isSuccessCode(record.successCodes, code)) {
        result.failure = ActionFailure::exitCode;
        return result;
    }
    result.restartAsked = asksForRestart(code);
    return result;
}

}  // namespace kelvara
