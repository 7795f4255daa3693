// Runs code on a thread of its own while the test thread watches for windows: every visible
// window of this process that another thread shows is recorded and answered, so that a question
// or error box can neither block a test nor go unnoticed.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kelvara_test {

struct SeenWindow {
    std::string caption;
    std::string text;  // the texts of its static controls, joined by "|"
};

// Answers a window; the default presses No (message boxes) and then Cancel (dialogs).
using Responder = std::function<void(HWND, const SeenWindow&)>;

inline void pressNo(HWND window, const SeenWindow&) {
    ::PostMessageA(window, WM_COMMAND, IDNO, 0);
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
}

namespace watch_detail {

struct Search {
    DWORD process;
    DWORD ownThread;
    std::vector<HWND> found;
};

inline BOOL CALLBACK collect(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    DWORD thread = ::GetWindowThreadProcessId(window, &process);
    if (process == search->process && thread != search->ownThread && ::IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

inline BOOL CALLBACK collectText(HWND child, LPARAM parameter) {
    char className[32] = {};
    ::GetClassNameA(child, className, sizeof className);
    char text[2048] = {};
    ::GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(className, "Static") == 0 && text[0]) {
        auto* joined = reinterpret_cast<std::string*>(parameter);
        if (!joined->empty()) *joined += "|";
        *joined += text;
    }
    return TRUE;
}

inline DWORD WINAPI runWork(void* work) {
    (*static_cast<std::function<void()>*>(work))();
    return 0;
}

}  // namespace watch_detail

// Waits for the thread while pumping this thread's messages (windows of the test thread get
// what the worker sends them) and answering other threads' windows. Fails the test when the
// thread has not ended within limitMs; the thread is then terminated.
inline std::vector<SeenWindow> watchThread(HANDLE thread, const Responder& respond = pressNo,
                                           DWORD limitMs = 20000) {
    std::vector<SeenWindow> seen;
    std::set<HWND> answered;
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD wait = ::MsgWaitForMultipleObjects(1, &thread, FALSE, 20, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) break;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        watch_detail::Search search{::GetCurrentProcessId(), ::GetCurrentThreadId(), {}};
        ::EnumWindows(watch_detail::collect, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) {
            if (!answered.insert(window).second) continue;
            SeenWindow shown;
            char caption[256] = {};
            ::GetWindowTextA(window, caption, sizeof caption);
            shown.caption = caption;
            ::EnumChildWindows(window, watch_detail::collectText,
                               reinterpret_cast<LPARAM>(&shown.text));
            seen.push_back(shown);
            respond(window, shown);
        }
        if (::GetTickCount() - start > limitMs) {
            ADD_FAILURE() << "the thread did not end within " << limitMs << " ms";
            ::TerminateThread(thread, 99);
            break;
        }
    }
    return seen;
}

// Runs work on a new thread and watches it as watchThread does.
inline std::vector<SeenWindow> runWatched(std::function<void()> work,
                                          const Responder& respond = pressNo,
                                          DWORD limitMs = 20000) {
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, watch_detail::runWork, &work, 0, &id);
    if (!thread) {
        ADD_FAILURE() << "no thread";
        return {};
    }
    std::vector<SeenWindow> seen = watchThread(thread, respond, limitMs);
    ::CloseHandle(thread);
    return seen;
}

inline std::string captions(const std::vector<SeenWindow>& seen) {
    std::string text;
    for (const SeenWindow& window : seen) text += "[" + window.caption + ": " + window.text + "]";
    return text;
}

}  // namespace kelvara_test
