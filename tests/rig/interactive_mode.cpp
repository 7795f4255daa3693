#include "interactive_mode.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "remote_tree.h"
#include "window_report.h"
#include "window_watcher.h"

namespace ui_driver {
namespace {

UINT hitFlagOf(const std::string& part) {
    if (part == "check") return TVHT_ONITEMSTATEICON;
    if (part == "button") return TVHT_ONITEMBUTTON;
    if (part == "label") return TVHT_ONITEMLABEL;
    return 0;
}

void mouseClick(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

DWORD secondsField(const std::string& text) {
    return static_cast<DWORD>(std::atof(text.c_str()) * 1000);
}

bool contains(const std::string& text, const std::string& part) {
    return part.empty() || text.find(part) != std::string::npos;
}

class Session {
  public:
    explicit Session(Watcher& watcher) : watcher_(watcher) {}

    // Carries out one command; false when it failed (`error` says why).
    bool run(const std::vector<std::string>& f, std::string& error) {
        const std::string& name = f[0];
        if (name == "windows") return listWindows();
        if (name == "seen") {
            for (const std::string& line : watcher_.seen()) out(line);
            return true;
        }
        if (name == "wait" && f.size() >= 4) return wait(f, error);
        if (name == "gone" && f.size() == 3) return gone(window(f[1]), secondsField(f[2]), error);
        if (name == "controls" && f.size() == 2) return controls(window(f[1]), error);
        if (name == "press" && f.size() == 3) return press(window(f[1]), f[2], error);
        if (name == "settext" && f.size() == 4) {
            return setText(control(f[1], f[2], error), f[3], error);
        }
        if (name == "setcheck" && f.size() == 4) {
            HWND button = control(f[1], f[2], error);
            if (!button) return false;
            sendTo(button, BM_SETCHECK, f[3] == "1" ? BST_CHECKED : BST_UNCHECKED, 0);
            return true;
        }
        if (name == "clickbutton" && f.size() == 3) {
            HWND button = control(f[1], f[2], error);
            if (!button) return false;
            sendTo(button, BM_CLICK, 0, 0);
            return true;
        }
        if (name == "items" && f.size() == 3) return items(f, error);
        if (name == "select" && f.size() == 4) return select(f, error);
        if (name == "tree" && f.size() == 3) return tree(f, error);
        if (name == "treecheck" && f.size() == 5) return treeCheck(f, error);
        if (name == "click" && f.size() == 5) return click(f, error);
        if (name == "rect" && f.size() == 2) return rect(window(f[1]), error);
        if (name == "close" && f.size() == 2) {
            HWND target = window(f[1]);
            if (!IsWindow(target)) return fail(error, "no such window");
            return PostMessageA(target, WM_SYSCOMMAND, SC_CLOSE, 0) || fail(error, "not posted");
        }
        if (name == "key" && f.size() == 3) return key(window(f[1]), f[2], error);
        if (name == "move" && f.size() == 4) {
            HWND target = window(f[1]);
            if (!IsWindow(target)) return fail(error, "no such window");
            return SetWindowPos(target, nullptr, std::atoi(f[2].c_str()), std::atoi(f[3].c_str()),
                                0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ||
                   fail(error, "cannot move");
        }
        if (name == "exit" && f.size() == 2) return exit(secondsField(f[1]));
        return fail(error, "unknown command or wrong number of fields: " + name);
    }

  private:
    static bool fail(std::string& error, const std::string& why) {
        error = why;
        return false;
    }
    static void out(const std::string& line) { std::printf("%s\n", line.c_str()); }
    static HWND window(const std::string& text) { return static_cast<HWND>(parseHandle(text)); }

    HWND control(const std::string& windowText, const std::string& id, std::string& error) {
        HWND parent = window(windowText);
        HWND child = IsWindow(parent) ? GetDlgItem(parent, std::atoi(id.c_str())) : nullptr;
        if (!child) fail(error, "no control " + id);
        return child;
    }

    bool listWindows() {
        for (HWND window : watcher_.look()) out(reportLine(describe(window, true), true));
        return true;
    }

    bool wait(const std::vector<std::string>& f, std::string& error) {
        std::vector<HWND> skipped;
        if (f.size() >= 5) {
            for (const std::string& handle : splitFields(replaceCommas(f[4]))) {
                if (!handle.empty()) skipped.push_back(window(handle));
            }
        }
        const DWORD limit = secondsField(f[3]);
        const DWORD started = GetTickCount();
        for (;;) {
            for (HWND candidate : watcher_.look()) {
                bool skip = false;
                for (HWND s : skipped) skip = skip || s == candidate;
                if (skip) continue;
                const Shown shown = describe(candidate, true);
                if (contains(shown.caption, f[1]) && contains(shown.text, f[2])) {
                    out(reportLine(shown, true));
                    return true;
                }
            }
            if (GetTickCount() - started > limit) {
                return fail(error, "no window with caption \"" + f[1] + "\" and text \"" + f[2] +
                                       "\" within " + f[3] + " s");
            }
            Sleep(kPollMs);
        }
    }

    static std::string replaceCommas(std::string text) {
        for (char& c : text) {
            if (c == ',') c = '\t';
        }
        return text;
    }

    bool gone(HWND target, DWORD limit, std::string& error) {
        const DWORD started = GetTickCount();
        while (IsWindow(target) && IsWindowVisible(target)) {
            if (GetTickCount() - started > limit) return fail(error, "the window is still there");
            Sleep(kPollMs);
        }
        return true;
    }

    bool controls(HWND parent, std::string& error) {
        if (!IsWindow(parent)) return fail(error, "no such window");
        for (const Child& child : childrenOf(parent)) {
            int checked = -1;
            int position = -1;
            if (isButton(child))
                checked = static_cast<int>(sendTo(child.window, BM_GETCHECK, 0, 0));
            if (_stricmp(child.cls.c_str(), PROGRESS_CLASSA) == 0) {
                position = static_cast<int>(sendTo(child.window, PBM_GETPOS, 0, 0));
            }
            char line[128];
            std::snprintf(line, sizeof line, " visible=%d enabled=%d checked=%d position=%d",
                          IsWindowVisible(child.window) ? 1 : 0,
                          IsWindowEnabled(child.window) ? 1 : 0, checked, position);
            out("control id=" + std::to_string(child.id) + " class=\"" + escaped(child.cls) +
                "\" text=\"" + escaped(child.text) + "\"" + line +
                " handle=" + hexHandle(child.window));
        }
        return true;
    }

    bool press(HWND parent, const std::string& label, std::string& error) {
        if (!IsWindow(parent)) return fail(error, "no such window");
        for (const Child& child : childrenOf(parent)) {
            if (!isButton(child) || withoutAccelerator(child.text) != label) continue;
            if (!IsWindowVisible(child.window))
                return fail(error, "button \"" + label + "\" is hidden");
            if (!IsWindowEnabled(child.window)) {
                return fail(error, "button \"" + label + "\" is disabled");
            }
            PostMessageA(parent, WM_COMMAND, MAKEWPARAM(child.id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(child.window));
            return true;
        }
        return fail(error, "no button \"" + label + "\"");
    }

    bool setText(HWND target, const std::string& text, std::string& error) {
        if (!target) return false;
        DWORD_PTR result = 0;
        const std::wstring wide = wideFromUtf8(text);
        return SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                                   SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result) ||
               fail(error, "cannot set the text");
    }

    // The messages of a list box or of a combo box's list.
    struct ListMessages {
        UINT count, getText, getTextLength, getSelection, setSelection;
        WORD selectionChanged;
    };
    static const ListMessages* listMessagesOf(HWND list) {
        static const ListMessages listBox = {LB_GETCOUNT,  LB_GETTEXT,   LB_GETTEXTLEN,
                                             LB_GETCURSEL, LB_SETCURSEL, LBN_SELCHANGE};
        static const ListMessages comboBox = {CB_GETCOUNT,  CB_GETLBTEXT, CB_GETLBTEXTLEN,
                                              CB_GETCURSEL, CB_SETCURSEL, CBN_SELCHANGE};
        const std::string cls = className(list);
        if (_stricmp(cls.c_str(), "ListBox") == 0) return &listBox;
        if (_stricmp(cls.c_str(), "ComboBox") == 0) return &comboBox;
        return nullptr;
    }

    // The texts of the entries. The system carries them across processes itself, as it does for
    // WM_GETTEXT (the tree view's messages need memory in the other process instead); asked in
    // the wide form, since Wine hands the wide text over whichever form is asked for.
    bool entries(HWND list, const ListMessages& m, std::vector<std::string>& texts,
                 std::string& error) {
        const LRESULT count = sendTo(list, m.count, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            DWORD_PTR length = 0;
            if (!SendMessageTimeoutW(list, m.getTextLength, i, 0, SMTO_ABORTIFHUNG,
                                     kMessageTimeoutMs, &length) ||
                static_cast<LRESULT>(length) < 0) {
                return fail(error, "cannot read entry " + std::to_string(i));
            }
            std::vector<wchar_t> wide(length + 1, L'\0');
            DWORD_PTR copied = 0;
            if (!SendMessageTimeoutW(list, m.getText, i, reinterpret_cast<LPARAM>(wide.data()),
                                     SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
                return fail(error, "cannot read entry " + std::to_string(i));
            }
            // In UTF-8, as the driver reports every other text: an entry in a script the code
            // page lacks (a language listed by its own name) is read back as it is shown.
            texts.push_back(utf8FromWide(wide.data()));
        }
        return true;
    }

    // The list box or combo box a command names, its messages and its entries; null after a
    // failure (`error` says why).
    HWND listWithEntries(const std::vector<std::string>& f, const ListMessages*& m,
                         std::vector<std::string>& texts, std::string& error) {
        HWND list = control(f[1], f[2], error);
        if (!list) return nullptr;
        m = listMessagesOf(list);
        if (!m) return fail(error, "not a list box or combo box"), nullptr;
        return entries(list, *m, texts, error) ? list : nullptr;
    }

    bool items(const std::vector<std::string>& f, std::string& error) {
        const ListMessages* m = nullptr;
        std::vector<std::string> texts;
        HWND list = listWithEntries(f, m, texts, error);
        if (!list) return false;
        const LRESULT selected = sendTo(list, m->getSelection, 0, 0);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            out("item index=" + std::to_string(i) +
                " selected=" + (static_cast<LRESULT>(i) == selected ? "1" : "0") + " text=\"" +
                escaped(texts[i]) + "\"");
        }
        return true;
    }

    bool select(const std::vector<std::string>& f, std::string& error) {
        const ListMessages* m = nullptr;
        std::vector<std::string> texts;
        HWND list = listWithEntries(f, m, texts, error);
        if (!list) return false;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i] != f[3]) continue;
            sendTo(list, m->setSelection, i, 0);
            const WPARAM command = MAKEWPARAM(GetDlgCtrlID(list), m->selectionChanged);
            sendTo(GetParent(list), WM_COMMAND, command, reinterpret_cast<LPARAM>(list));
            return true;
        }
        return fail(error, "no entry \"" + f[3] + "\"");
    }

    bool tree(const std::vector<std::string>& f, std::string& error) {
        HWND view = control(f[1], f[2], error);
        if (!view) return false;
        RemoteTree remote(view, watcher_.processOf(view));
        if (!remote.valid()) return fail(error, "cannot reach the tree's process");
        for (const RemoteTree::Item& item : remote.all()) {
            char line[160];
            std::snprintf(line, sizeof line,
                          "item depth=%d checked=%d expanded=%d kind=%lld children=%d", item.depth,
                          item.checked() ? 1 : 0, item.expanded() ? 1 : 0,
                          static_cast<long long>(item.param), item.children);
            out(std::string(line) + " text=\"" + escaped(item.text) + "\"");
        }
        return true;
    }

    bool treeCheck(const std::vector<std::string>& f, std::string& error) {
        HWND view = control(f[1], f[2], error);
        if (!view) return false;
        RemoteTree remote(view, watcher_.processOf(view));
        HTREEITEM item = remote.valid() ? remote.find(f[3]) : nullptr;
        if (!item) return fail(error, "no item " + f[3]);
        return remote.setChecked(item, f[4] == "1") || fail(error, "cannot set the check box");
    }

    // Finds the part of the item's row, clicks it and waits until the tree view acted on it.
    bool click(const std::vector<std::string>& f, std::string& error) {
        HWND view = control(f[1], f[2], error);
        if (!view) return false;
        const UINT wanted = hitFlagOf(f[4]);
        if (!wanted) return fail(error, "no such part: " + f[4]);
        RemoteTree remote(view, watcher_.processOf(view));
        HTREEITEM item = remote.valid() ? remote.find(f[3]) : nullptr;
        if (!item) return fail(error, "no item " + f[3]);
        // Scrolled into view as a user would, expanding the folders above it if need be.
        sendTo(view, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        RECT row = {};
        if (!remote.rowRect(item, &row)) return fail(error, "the item is not in view");
        POINT point = {row.left, (row.top + row.bottom) / 2};
        bool found = false;
        for (; point.x < row.right; ++point.x) {
            UINT flags = 0;
            if (remote.hitTest(point, &flags) == item && (flags & wanted)) {
                found = true;
                break;
            }
        }
        if (!found) return fail(error, "the item shows no " + f[4]);
        RemoteTree::Item before;
        remote.read(item, before);
        ClientToScreen(view, &point);
        mouseClick(point);
        const DWORD started = GetTickCount();
        for (;;) {
            RemoteTree::Item after;
            if (!remote.read(item, after)) return true;  // the click removed the item
            const bool acted = wanted == TVHT_ONITEMSTATEICON ? after.checked() != before.checked()
                               : wanted == TVHT_ONITEMBUTTON ? after.expanded() != before.expanded()
                                                             : (after.state & TVIS_SELECTED) != 0;
            if (acted) return true;
            if (GetTickCount() - started > kMessageTimeoutMs) {
                return fail(error, "the tree view did not act on the click");
            }
            Sleep(kPollMs / 5);
        }
    }

    bool key(HWND target, const std::string& code, std::string& error) {
        if (!IsWindow(target)) return fail(error, "no such window");
        SetForegroundWindow(target);
        INPUT inputs[2] = {};
        for (INPUT& input : inputs) {
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = static_cast<WORD>(std::atoi(code.c_str()));
        }
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        return SendInput(2, inputs, sizeof(INPUT)) == 2 || fail(error, "the key was not sent");
    }

    bool rect(HWND target, std::string& error) {
        RECT r = {};
        if (!IsWindow(target) || !GetWindowRect(target, &r)) return fail(error, "no such window");
        char line[96];
        std::snprintf(line, sizeof line, "rect x=%ld y=%ld width=%ld height=%ld", r.left, r.top,
                      r.right - r.left, r.bottom - r.top);
        out(line);
        return true;
    }

    bool exit(DWORD limit) {
        const DWORD started = GetTickCount();
        while (!watcher_.allEnded()) {
            if (GetTickCount() - started > limit) {
                out("running " + watcher_.running());
                watcher_.terminateAll();
                out("timeout");
                return true;
            }
            Sleep(kPollMs);
        }
        DWORD code = 0;
        GetExitCodeProcess(watcher_.main(), &code);
        out("exit " + std::to_string(code));
        return true;
    }

    Watcher& watcher_;
};

}  // namespace

int runInteractive(const PROCESS_INFORMATION& process) {
    Watcher watcher(process);
    Session session(watcher);
    char buffer[8192];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        std::string line = buffer;  // commands come in UTF-8, as the texts go out
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.empty()) continue;
        std::string error;
        if (session.run(splitFields(line), error)) {
            std::printf("ok\n");
        } else {
            std::printf("error: %s\n", escaped(error).c_str());
        }
        std::fflush(stdout);
    }
    const bool ended = watcher.allEnded();
    if (!ended) watcher.terminateAll();
    return ended ? 0 : 3;
}

}  // namespace ui_driver
