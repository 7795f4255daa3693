#include "answering_mode.h"

#include <cstdio>
#include <string>
#include <vector>

#include "process_tree.h"
#include "window_report.h"

namespace ui_driver {
namespace {

void reportAndAnswer(HWND window, Options& options) {
    const Shown shown = describe(window, false);
    std::printf("%s\n", reportLine(shown, false).c_str());
    std::vector<Child> buttons;
    for (const Child& child : childrenOf(window)) {
        if (isButton(child)) buttons.push_back(child);
    }
    if (buttons.empty()) return;
    const Child* target = nullptr;
    if (!options.presses.empty()) {
        std::string wanted = options.presses.front();
        options.presses.erase(options.presses.begin());
        for (const Child& b : buttons) {
            if (withoutAccelerator(b.text) == wanted) target = &b;
        }
        if (!target) {
            std::printf("no button \"%s\"\n", escaped(wanted).c_str());
            std::fflush(stdout);
            return;
        }
    } else {
        for (const Child& b : buttons) {
            if (b.id == IDOK) target = &b;
        }
        if (!target) target = &buttons.front();
    }
    std::printf("pressed \"%s\"\n", escaped(withoutAccelerator(target->text)).c_str());
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(target->id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(target->window));
}

}  // namespace

int runAnswering(const PROCESS_INFORMATION& process, Options& options) {
    ProcessTree tree(process);
    std::vector<HWND> known;
    const DWORD started = GetTickCount();
    for (;;) {
        const DWORD wait = WaitForSingleObject(process.hProcess, kPollMs);
        if (options.follow) tree.refresh();
        for (HWND window : visibleWindowsOf(tree, process.dwProcessId, options.follow)) {
            bool seen = false;
            for (HWND k : known) seen = seen || k == window;
            if (seen) continue;
            known.push_back(window);
            reportAndAnswer(window, options);
        }
        std::fflush(stdout);
        const bool ended = wait == WAIT_OBJECT_0 && (!options.follow || tree.allEnded());
        if (ended) break;
        if (GetTickCount() - started > options.timeoutMs) {
            // What kept the run from ending, for the report: the program, or one it started.
            std::printf("still running: %s\n", tree.running().c_str());
            tree.terminateAll();
            TerminateProcess(process.hProcess, 1);
            std::printf("timeout\n");
            return 3;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit %lu\n", static_cast<unsigned long>(code));
    return 0;
}

}  // namespace ui_driver
