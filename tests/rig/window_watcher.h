// The interactive mode's watcher of the program's windows and processes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "process_tree.h"
#include "window_report.h"

namespace ui_driver {

// Watches the program's windows from its own thread, so that none is missed between commands.
class Watcher {
  public:
    explicit Watcher(const PROCESS_INFORMATION& process)
        : tree_(process), mainId_(process.dwProcessId) {
        InitializeCriticalSection(&lock_);
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        look();
        thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    }
    ~Watcher() {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
        DeleteCriticalSection(&lock_);
    }

    // Visible top-level windows of the program now; those not seen before are recorded.
    std::vector<HWND> look() {
        Locked locked(lock_);
        tree_.refresh();
        std::vector<HWND> found = visibleWindowsOf(tree_, mainId_, true);
        for (HWND window : found) {
            bool known = false;
            for (HWND k : known_) known = known || k == window;
            if (known) continue;
            known_.push_back(window);
            seenLines_.push_back(reportLine(describe(window, true), true));
        }
        return found;
    }
    std::vector<std::string> seen() {
        Locked locked(lock_);
        return seenLines_;
    }
    HANDLE processOf(HWND window) {
        Locked locked(lock_);
        tree_.refresh();
        return tree_.processOf(window);
    }
    bool allEnded() {
        Locked locked(lock_);
        tree_.refresh();
        return tree_.allEnded();
    }
    void terminateAll() {
        Locked locked(lock_);
        tree_.terminateAll();
    }
    std::string running() {
        Locked locked(lock_);
        return tree_.running();
    }
    HANDLE main() const { return tree_.main(); }

  private:
    struct Locked {
        explicit Locked(CRITICAL_SECTION& section) : section(section) {
            EnterCriticalSection(&section);
        }
        ~Locked() { LeaveCriticalSection(&section); }
        CRITICAL_SECTION& section;
    };

    static DWORD WINAPI run(void* self) {
        auto* watcher = static_cast<Watcher*>(self);
        while (WaitForSingleObject(watcher->stop_, kPollMs) == WAIT_TIMEOUT) watcher->look();
        return 0;
    }

    ProcessTree tree_;
    DWORD mainId_;
    CRITICAL_SECTION lock_;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    std::vector<HWND> known_;
    std::vector<std::string> seenLines_;
};

}  // namespace ui_driver
