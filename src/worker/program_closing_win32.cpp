#include "worker/program_closing_win32.h"

#include <windows.h>

#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "worker/running_programs_win32.h"

namespace kelvara {
namespace {

constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION (Vista)
// How long one window has to answer a message: a program that hangs is not waited for longer.
constexpr UINT kAnswerMilliseconds = 5000;
constexpr int kWindowLimit = 64;

struct ProgramWindows {
    DWORD processId;
    HWND windows[kWindowLimit];
    int count;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<ProgramWindows*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == found->processId && found->count < kWindowLimit)
        found->windows[found->count++] = window;
    return TRUE;
}

// True when the window's program agrees to end its session for the installation.
bool agreesToEnd(HWND window) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                               kAnswerMilliseconds, &answer)) {
        return false;  // hung, or gone
    }
    return answer != 0;
}

// Asks the program to close; false when it has no window or one of them declined. The windows
// that had agreed are then told that the session goes on, as the system tells them.
bool askToClose(DWORD processId) {
    ProgramWindows found = {processId, {}, 0};
    ::EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&found));
    if (found.count == 0) return false;
    for (int i = 0; i < found.count; ++i) {
        if (agreesToEnd(found.windows[i])) continue;
        for (int agreed = 0; agreed < i; ++agreed) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutA(found.windows[agreed], WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP,
                                  SMTO_ABORTIFHUNG, kAnswerMilliseconds, &ignored);
        }
        return false;
    }
    for (int i = 0; i < found.count; ++i) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(found.windows[i], WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP,
                              SMTO_ABORTIFHUNG, kAnswerMilliseconds, &ignored);
        ::PostMessageA(found.windows[i], WM_CLOSE, 0, 0);
    }
    return true;
}

// The program's process, to wait for and to end; null when it is gone (or is another process now
// under the same id).
HANDLE openToClose(const RunningProgram& program) {
    constexpr DWORD kAccess = SYNCHRONIZE | PROCESS_TERMINATE;
    HANDLE process = ::OpenProcess(kAccess | kQueryLimitedInformation, FALSE, program.processId);
    if (!process)
        process = ::OpenProcess(kAccess | PROCESS_QUERY_INFORMATION, FALSE, program.processId);
    UniqueHandle opened(process);
    if (opened && program.startTime && processStartTime(process) != program.startTime)
        return nullptr;
    return opened.release();
}

// Waits until each process is gone or the time is up.
void waitForEnd(HANDLE* processes, int count, DWORD milliseconds) {
    const DWORD started = ::GetTickCount();
    for (int i = 0; i < count; ++i) {
        if (!processes[i]) continue;
        const DWORD spent = ::GetTickCount() - started;
        ::WaitForSingleObject(processes[i], spent < milliseconds ? milliseconds - spent : 0);
    }
}

const char* endText(ClosingEnd end) {
    switch (end) {
        case ClosingEnd::closed:
            return "closed";
        case ClosingEnd::ended:
            return "did not close, ended";
        case ClosingEnd::gone:
            return "had ended already";
        default:
            return "still running: its files are replaced at the restart";
    }
}

}  // namespace

int closePrograms(RunningPrograms& programs, bool force) {
    UniqueHandle processes[kRunningProgramLimit];
    bool asked = false;
    for (int i = 0; i < programs.count; ++i) {
        RunningProgram& program = programs.items[i];
        processes[i].reset(openToClose(program));
        if (!processes[i]) {
            // Ended already (by the person, perhaps: not ours to start again), or out of reach.
            program.end = programRuns(program) ? ClosingEnd::stayed : ClosingEnd::gone;
            continue;
        }
        writeRunLog("in use: asking %s to close", program.name.get());
        asked = askToClose(program.processId) || asked;
    }
    HANDLE waited[kRunningProgramLimit] = {};
    for (int i = 0; i < programs.count; ++i) waited[i] = processes[i].get();
    if (asked) waitForEnd(waited, programs.count, kCloseWaitMilliseconds);
    bool ending = false;
    for (int i = 0; i < programs.count; ++i) {
        if (!waited[i]) continue;
        if (isSignalled(waited[i])) {
            programs.items[i].end = ClosingEnd::closed;
            waited[i] = nullptr;
        } else if (force && ::TerminateProcess(waited[i], 1)) {
            programs.items[i].end = ClosingEnd::ended;
            ending = true;
        } else {
            programs.items[i].end = ClosingEnd::stayed;
            waited[i] = nullptr;
        }
    }
    if (ending) waitForEnd(waited, programs.count, kEndWaitMilliseconds);
    int running = 0;
    for (int i = 0; i < programs.count; ++i) {
        const RunningProgram& program = programs.items[i];
        writeRunLog("in use: %s %s", program.name.get(), endText(program.end));
        if (program.end == ClosingEnd::stayed) ++running;
    }
    return running;
}

void restartPrograms(const RunningPrograms& programs) {
    for (int i = 0; i < programs.count; ++i) {
        const RunningProgram& program = programs.items[i];
        if (program.end != ClosingEnd::closed && program.end != ClosingEnd::ended) continue;
        if (program.restartDeclined) {
            writeRunLog("in use: %s is not started again: it asked not to be after an update",
                        program.name.get());
            continue;
        }
        if (!program.programPath) {
            writeRunLog("in use: %s is not started again: its program is not known",
                        program.name.get());
            continue;
        }
        HeapString command(program.restartCommand
                               ? strDupExtra(program.restartCommand.get(), 0)
                               : strConcat5("\"", program.programPath.get(), "\""));
        HeapString folder(folderPart(program.programPath.get()));
        if (!command || !folder) continue;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (::CreateProcessA(nullptr, command.get(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.get(), &startup, &started)) {
            UniqueHandle thread(started.hThread);
            UniqueHandle process(started.hProcess);
            writeRunLog("in use: %s started again: %s", program.name.get(), command.get());
        } else {
            writeRunLog("in use: %s could not be started again: %s", program.name.get(),
                        systemErrorText(::GetLastError()));
        }
    }
}

}  // namespace kelvara
