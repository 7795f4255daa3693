// The UI driver: runs a program inside the Wine prefix, reports every top-level window the
// program shows (class, caption, texts, buttons, owner, style) as one line on standard output,
// answers dialogs and message boxes by pressing a button, and reports how the program ended.
//
//   ui_driver.exe [--timeout SECONDS] [--press BUTTON]... -- PROGRAM [ARGUMENTS...]
//
// Each --press names the button (text without '&') to press in the next dialog that appears, in
// order; a dialog beyond the given answers gets its default button (IDOK's, else the first).
// Output lines:
//   window class="#32770" caption="..." text="..." buttons="OK|Cancel" owner=0 style=0x...
//   pressed "OK"
//   exit 0            (the program's exit code)  | timeout (the program was ended by the driver)
// The driver's own exit code: 0 when the program ended by itself, 3 on timeout, 2 on bad use.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
    DWORD timeoutMs = 60000;
    std::vector<std::string> presses;
    std::string commandLine;
};

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
        } else {
            return false;
        }
    }
    for (int first = i; i < argc; ++i) {
        if (i > first) options.commandLine += ' ';
        options.commandLine += quoteArgument(argv[i]);
    }
    return !options.commandLine.empty();
}

std::string windowText(HWND window) {
    char text[4096] = {};
    // WM_GETTEXT works across processes for the standard controls.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::string className(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string withoutAccelerator(std::string text) {
    std::string out;
    for (char c : text) {
        if (c != '&') out += c;
    }
    return out;
}

// Escapes a text for one output line.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

struct Child {
    HWND window;
    std::string cls;
    std::string text;
    int id;
};

BOOL CALLBACK collectChild(HWND window, LPARAM param) {
    auto* children = reinterpret_cast<std::vector<Child>*>(param);
    children->push_back({window, className(window), windowText(window), GetDlgCtrlID(window)});
    return TRUE;
}

struct Seen {
    DWORD processId;
    std::vector<HWND> windows;
    std::vector<HWND> fresh;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM param) {
    auto* seen = reinterpret_cast<Seen*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != seen->processId || !IsWindowVisible(window)) return TRUE;
    for (HWND known : seen->windows) {
        if (known == window) return TRUE;
    }
    seen->windows.push_back(window);
    seen->fresh.push_back(window);
    return TRUE;
}

void reportAndAnswer(HWND window, Options& options) {
    std::vector<Child> children;
    EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&children));
    std::string text, buttons;
    std::vector<const Child*> buttonList;
    for (const Child& child : children) {
        bool isButton = _stricmp(child.cls.c_str(), "Button") == 0;
        if (isButton) {
            if (!buttons.empty()) buttons += '|';
            buttons += withoutAccelerator(child.text);
            buttonList.push_back(&child);
        } else if (_stricmp(child.cls.c_str(), "Static") == 0 && !child.text.empty()) {
            if (!text.empty()) text += '\n';
            text += child.text;
        }
    }
    std::string cls = className(window);
    std::printf(
        "window class=\"%s\" caption=\"%s\" text=\"%s\" buttons=\"%s\" owner=%d style=0x%08lx\n",
        escaped(cls).c_str(), escaped(windowText(window)).c_str(), escaped(text).c_str(),
        escaped(buttons).c_str(), GetWindow(window, GW_OWNER) ? 1 : 0,
        static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)));
    if (buttonList.empty()) return;
    const Child* target = nullptr;
    if (!options.presses.empty()) {
        std::string wanted = options.presses.front();
        options.presses.erase(options.presses.begin());
        for (const Child* b : buttonList) {
            if (withoutAccelerator(b->text) == wanted) target = b;
        }
        if (!target) {
            std::printf("no button \"%s\"\n", escaped(wanted).c_str());
            std::fflush(stdout);
            return;
        }
    } else {
        for (const Child* b : buttonList) {
            if (b->id == IDOK) target = b;
        }
        if (!target) target = buttonList.front();
    }
    std::printf("pressed \"%s\"\n", escaped(withoutAccelerator(target->text)).c_str());
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(target->id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(target->window));
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: ui_driver [--timeout S] [--press BUTTON]... -- PROGRAM [ARGS]\n");
        return 2;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(options.commandLine.begin(), options.commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("cannot start: error %lu\n", GetLastError());
        return 2;
    }
    Seen seen{process.dwProcessId, {}, {}};
    DWORD started = GetTickCount();
    for (;;) {
        DWORD wait = WaitForSingleObject(process.hProcess, 50);
        seen.fresh.clear();
        EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&seen));
        for (HWND window : seen.fresh) reportAndAnswer(window, options);
        std::fflush(stdout);
        if (wait == WAIT_OBJECT_0) break;
        if (GetTickCount() - started > options.timeoutMs) {
            TerminateProcess(process.hProcess, 1);
            std::printf("timeout\n");
            return 3;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit %lu\n", static_cast<unsigned long>(code));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
