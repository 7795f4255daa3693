// The UI driver: runs a program inside the Wine prefix, reports every top-level window the
// program shows (class, caption, texts, buttons, owner, style) as one line on standard output,
// answers dialogs and message boxes, and reports how the program ended.
//
//   ui_driver.exe [--timeout SECONDS] [--press BUTTON]... [--follow] [--interactive]
//                 [--verbatim | --as-written] [--restricted] -- PROGRAM [ARGUMENTS...]
//
// The program's command line is its path and arguments, each quoted where it holds a blank or a
// quote; with --verbatim the arguments are joined by blanks as they are written, so that a test
// gives the program a command line of its own making (quotes in the middle of an option, say);
// with --as-written the program's path too, so that a command line stored somewhere (the list
// of programs' UninstallString) runs exactly as the system would run it. With --restricted the
// program runs as a user without administrator rights would: its token keeps the
// Administrators group for denying only, as the system's filtered token does.
//
// Answering mode (the default). Each --press names the button (text without '&') to press in
// the next window that appears, in order; a window beyond the given answers gets its default
// button (IDOK's, else the first). With --follow the programs the program starts, and theirs,
// count as its own: their windows are reported and answered too, and the driver waits until
// every one of them has ended. Output lines:
//   window class="#32770" caption="..." text="..." buttons="OK|Cancel" owner=0 style=0x...
//   pressed "OK"
//   exit 0            (the program's exit code)  | timeout (the program was ended by the driver)
//
// Interactive mode (--interactive, implies --follow): nothing is answered by itself. The driver
// records every window of the program and its descendants as it appears, and carries out one
// command per line of standard input (fields separated by tabs); each answer is zero or more
// lines followed by "ok" or "error: <why>". Windows are named by their handle (0x...), controls
// by their id, tree-view items by their texts from the top-level item down, joined by '|'.
//   windows                               visible top-level windows now (window lines)
//   seen                                  every window seen so far, as first seen
//   wait CAPTION TEXT SECONDS [SKIP,...]  a visible window whose caption and static texts
//                                         contain CAPTION and TEXT (either may be empty), other
//                                         than the handles in SKIP
//   gone WINDOW SECONDS                   waits until the window is destroyed or hidden
//   controls WINDOW                       control lines of every window inside it: id class text
//                                         visible enabled checked position (progress bars) handle
//   press WINDOW BUTTON                   presses an enabled, visible button by its text
//   settext WINDOW ID TEXT                sets a control's text
//   setcheck WINDOW ID 0|1                sets a check box or radio button (no notification)
//   clickbutton WINDOW ID                 clicks a button as the mouse would (BM_CLICK): a check
//                                         box toggles and its parent hears of it
//   items WINDOW ID                       the entries of a list box or combo box:
//                                         item index selected text
//   select WINDOW ID TEXT                 selects the entry with that text and tells the parent,
//                                         as a click in the list would (LBN_SELCHANGE or
//                                         CBN_SELCHANGE)
//   tree WINDOW ID                        item lines: depth text checked expanded kind children
//   treecheck WINDOW ID PATH 0|1          sets an item's check box (no notification is sent)
//   click WINDOW ID PATH check|button|label
//                                         clicks that part of the item with the mouse and waits
//                                         until the tree view has acted on it
//   key WINDOW VIRTUAL-KEY                presses and releases a key (a number, e.g. 32 for the
//                                         space bar) with the window in the foreground; the key
//                                         goes to the control that has the focus
//   close WINDOW                          asks the window to close, as its close box or Alt+F4
//                                         would (WM_SYSCOMMAND SC_CLOSE, posted)
//   rect WINDOW                           screen rectangle: x y width height
//   move WINDOW X Y                       moves a window (e.g. a question off a dialog)
//   exit SECONDS                          waits until every process has ended: "exit CODE" of
//                                         the program, or "running NAME (ID), ..." and
//                                         "timeout" (then all are ended)
// End of input ends the processes still running.
// The driver's own exit code: 0 when the program ended by itself, 3 on timeout, 2 on bad use.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "answering_mode.h"
#include "driver_options.h"
#include "interactive_mode.h"
#include "window_report.h"

using namespace ui_driver;

namespace {

std::string quoteArgument(const char* arg) {
    if (*arg && !std::strpbrk(arg, " \t\"")) return arg;
    std::string quoted = "\"";
    for (const char* p = arg; *p; ++p) {
        if (*p == '"') quoted += '\\';
        quoted += *p;
    }
    return quoted + "\"";
}

bool parseOptions(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--timeout" && i + 1 < argc) {
            options.timeoutMs = static_cast<DWORD>(std::atoi(argv[++i])) * 1000;
        } else if (arg == "--press" && i + 1 < argc) {
            options.presses.push_back(argv[++i]);
        } else if (arg == "--follow") {
            options.follow = true;
        } else if (arg == "--interactive") {
            options.interactive = options.follow = true;
        } else if (arg == "--verbatim") {
            options.verbatim = true;
        } else if (arg == "--as-written") {
            options.verbatim = options.asWritten = true;
        } else if (arg == "--restricted") {
            options.restricted = true;
        } else {
            return false;
        }
    }
    for (int first = i; i < argc; ++i) {
        if (i > first) options.commandLine += ' ';
        const bool asWritten = options.verbatim && (i > first || options.asWritten);
        options.commandLine += asWritten ? argv[i] : quoteArgument(argv[i]);
    }
    return !options.commandLine.empty();
}

// This process's token with the built-in Administrators group kept for denying only; null on
// failure.
HANDLE tokenWithoutAdministrators() {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own)) return nullptr;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    HANDLE restricted = nullptr;
    if (AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                 DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        SID_AND_ATTRIBUTES disabled = {administrators, 0};
        if (!CreateRestrictedToken(own, 0, 1, &disabled, 0, nullptr, 0, nullptr, &restricted))
            restricted = nullptr;
        FreeSid(administrators);
    }
    CloseHandle(own);
    return restricted;
}

// The arguments in UTF-8, from the wide command line: a program path or a button label in any
// script reaches the driver whole, whatever its own code page.
std::vector<std::string> utf8Arguments() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) arguments.push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

}  // namespace

int main() {
    std::vector<std::string> arguments = utf8Arguments();
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    const int argc = static_cast<int>(argv.size());
    Options options;
    if (!parseOptions(argc, argv.data(), options)) {
        std::fprintf(stderr,
                     "usage: ui_driver [--timeout S] [--press BUTTON]... [--follow] "
                     "[--interactive] [--verbatim | --as-written] [--restricted] -- PROGRAM "
                     "[ARGS]\n");
        return 2;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring line = wideFromUtf8(options.commandLine);
    HANDLE token = options.restricted ? tokenWithoutAdministrators() : nullptr;
    if (options.restricted && !token) {
        std::printf("cannot make a restricted token: error %lu\n", GetLastError());
        std::fflush(stdout);
        return 2;
    }
    // Wine now and then refuses to start a process with ERROR_INTERNAL_ERROR while both cores
    // are busy with other prefixes; the same start a moment later succeeds. Any other error,
    // or the third refusal, is the program's.
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt) Sleep(500);
        started = token ? CreateProcessAsUserW(token, nullptr, line.data(), nullptr, nullptr, FALSE,
                                               0, nullptr, nullptr, &startup, &process)
                        : CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                         nullptr, &startup, &process);
        if (!started && GetLastError() != ERROR_INTERNAL_ERROR) break;
    }
    if (token) CloseHandle(token);
    if (!started) {
        std::printf("cannot start: error %lu\n", GetLastError());
        std::fflush(stdout);
        return 2;
    }
    CloseHandle(process.hThread);
    const int result =
        options.interactive ? runInteractive(process) : runAnswering(process, options);
    std::fflush(stdout);
    return result;
}
