// The UI driver: runs a program inside the Wine prefix, reports every top-level window the
// program shows (class, caption, texts, buttons, owner, style) as one line on standard output,
// answers dialogs and message boxes, and reports how the program ended.
//
//   ui_driver.exe [--timeout SECONDS] [--press BUTTON]... [--follow] [--interactive]
//                 -- PROGRAM [ARGUMENTS...]
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
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kMessageTimeoutMs = 5000;

struct Options {
    DWORD timeoutMs = 60000;
    std::vector<std::string> presses;
    bool follow = false;
    bool interactive = false;
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
        } else if (arg == "--follow") {
            options.follow = true;
        } else if (arg == "--interactive") {
            options.interactive = options.follow = true;
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

std::string withoutAccelerator(const std::string& text) {
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
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out;
}

std::string hexHandle(const void* handle) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(handle)));
    return text;
}

void* parseHandle(const std::string& text) {
    return reinterpret_cast<void*>(static_cast<UINT_PTR>(std::strtoull(text.c_str(), nullptr, 0)));
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

std::vector<Child> childrenOf(HWND window) {
    std::vector<Child> children;
    EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool isButton(const Child& child) {
    return _stricmp(child.cls.c_str(), "Button") == 0;
}

// What a window shows, as a report line (without the handle, as the answering mode prints it).
struct Shown {
    HWND window = nullptr;
    std::string cls, caption, text, buttons;
    bool owned = false;
    LONG style = 0;
};

// The window's caption, buttons and static texts; with visibleOnly only the texts shown now
// (the interactive mode), else every static's (as the answering mode always reported them).
Shown describe(HWND window, bool visibleOnly) {
    Shown shown;
    shown.window = window;
    for (const Child& child : childrenOf(window)) {
        if (isButton(child)) {
            if (!shown.buttons.empty()) shown.buttons += '|';
            shown.buttons += withoutAccelerator(child.text);
        } else if (_stricmp(child.cls.c_str(), "Static") == 0 && !child.text.empty() &&
                   (!visibleOnly || IsWindowVisible(child.window))) {
            if (!shown.text.empty()) shown.text += '\n';
            shown.text += child.text;
        }
    }
    shown.cls = className(window);
    shown.caption = windowText(window);
    shown.owned = GetWindow(window, GW_OWNER) != nullptr;
    shown.style = GetWindowLongA(window, GWL_STYLE);
    return shown;
}

std::string reportLine(const Shown& shown, bool withHandle) {
    char tail[64];
    std::snprintf(tail, sizeof tail, " owner=%d style=0x%08lx", shown.owned ? 1 : 0,
                  static_cast<unsigned long>(shown.style));
    std::string line = "window class=\"" + escaped(shown.cls) + "\" caption=\"" +
                       escaped(shown.caption) + "\" text=\"" + escaped(shown.text) +
                       "\" buttons=\"" + escaped(shown.buttons) + "\"" + tail;
    if (withHandle) line += " handle=" + hexHandle(shown.window);
    return line;
}

// The program and every process it started, directly or not.
class ProcessTree {
  public:
    explicit ProcessTree(const PROCESS_INFORMATION& first) {
        main_ = first.hProcess;
        members_.push_back({first.dwProcessId, first.hProcess});
    }
    ~ProcessTree() {
        for (const Member& member : members_) CloseHandle(member.handle);
    }

    // Takes in the processes started by members since the last look.
    void refresh() {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return;
        std::vector<PROCESSENTRY32> all;
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more;
             more = Process32Next(snapshot, &entry)) {
            all.push_back(entry);
        }
        CloseHandle(snapshot);
        for (bool grew = true; grew;) {
            grew = false;
            for (const PROCESSENTRY32& process : all) {
                if (contains(process.th32ProcessID) || !contains(process.th32ParentProcessID) ||
                    isWineDesktop(process)) {
                    continue;
                }
                HANDLE handle =
                    OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE |
                                    PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                FALSE, process.th32ProcessID);
                if (!handle) continue;
                members_.push_back({process.th32ProcessID, handle});
                grew = true;
            }
        }
    }
    bool contains(DWORD id) const {
        for (const Member& member : members_) {
            if (member.id == id) return true;
        }
        return false;
    }
    bool allEnded() const {
        for (const Member& member : members_) {
            if (WaitForSingleObject(member.handle, 0) != WAIT_OBJECT_0) return false;
        }
        return true;
    }
    HANDLE processOf(HWND window) const {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        for (const Member& member : members_) {
            if (member.id == id) return member.handle;
        }
        return nullptr;
    }
    void terminateAll() {
        for (const Member& member : members_) TerminateProcess(member.handle, 1);
    }
    // "name (id)" of every member still running, for a report of what did not end.
    std::string running() const {
        std::string names;
        for (const Member& member : members_) {
            if (WaitForSingleObject(member.handle, 0) == WAIT_OBJECT_0) continue;
            char path[MAX_PATH] = {};
            DWORD size = MAX_PATH;
            if (!QueryFullProcessImageNameA(member.handle, 0, path, &size)) path[0] = '\0';
            if (!names.empty()) names += ", ";
            names += std::string(path) + " (" + std::to_string(member.id) + ")";
        }
        return names;
    }
    HANDLE main() const { return main_; }

  private:
    struct Member {
        DWORD id;
        HANDLE handle;
    };
    // Wine starts its desktop process (explorer.exe) from whichever program first needs the
    // desktop of a display, and keeps it as long as the desktop has windows: it is Wine's, not
    // the program's, and never ends with it.
    static bool isWineDesktop(const PROCESSENTRY32& process) {
        return _stricmp(process.szExeFile, "explorer.exe") == 0;
    }
    HANDLE main_;
    std::vector<Member> members_;
};

struct WindowSearch {
    const ProcessTree* tree;
    DWORD mainProcess;
    bool follow;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const bool ours = search->follow ? search->tree->contains(pid) : pid == search->mainProcess;
    if (ours && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

// Memory in another process, for the control messages whose parameters are pointers.
class RemoteBlock {
  public:
    RemoteBlock(HANDLE process, SIZE_T size) : process_(process), size_(size) {
        if (process_) {
            base_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
        }
    }
    ~RemoteBlock() {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    bool valid() const { return base_ != nullptr; }
    char* at(SIZE_T offset) const { return base_ + offset; }
    bool write(SIZE_T offset, const void* data, SIZE_T size) const {
        return offset + size <= size_ &&
               WriteProcessMemory(process_, base_ + offset, data, size, nullptr);
    }
    bool read(SIZE_T offset, void* data, SIZE_T size) const {
        return offset + size <= size_ &&
               ReadProcessMemory(process_, base_ + offset, data, size, nullptr);
    }

  private:
    HANDLE process_;
    SIZE_T size_;
    char* base_ = nullptr;
};

LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &result)) {
        return 0;
    }
    return static_cast<LRESULT>(result);
}

// A tree view in another process.
class RemoteTree {
  public:
    static constexpr SIZE_T kTextOffset = 1024;
    static constexpr int kTextCapacity = 0x8000;

    RemoteTree(HWND tree, HANDLE process)
        : tree_(tree), block_(process, kTextOffset + kTextCapacity) {}
    bool valid() const { return tree_ && block_.valid(); }

    struct Item {
        HTREEITEM handle = nullptr;
        int depth = 0;
        std::string text;
        UINT state = 0;
        LPARAM param = 0;
        int children = 0;
        bool checked() const { return (state >> 12) == 2; }
        bool expanded() const { return (state & TVIS_EXPANDED) != 0; }
    };

    HTREEITEM next(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(
            sendTo(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM firstChild(HTREEITEM item) const {
        return item ? next(item, TVGN_CHILD) : next(nullptr, TVGN_ROOT);
    }

    bool read(HTREEITEM handle, Item& item) const {
        TVITEMA data = {};
        data.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
        data.hItem = handle;
        data.stateMask = 0xFFFF;
        data.pszText = block_.at(kTextOffset);
        data.cchTextMax = kTextCapacity;
        const char none = 0;
        if (!block_.write(0, &data, sizeof data) || !block_.write(kTextOffset, &none, 1)) {
            return false;
        }
        if (!sendTo(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block_.at(0)))) return false;
        std::vector<char> text(kTextCapacity + 1, '\0');
        if (!block_.read(0, &data, sizeof data) ||
            !block_.read(kTextOffset, text.data(), kTextCapacity)) {
            return false;
        }
        item.handle = handle;
        item.text = text.data();
        item.state = data.state;
        item.param = data.lParam;
        item.children = data.cChildren;
        return true;
    }

    // Every item, depth first, in the order the tree shows them.
    std::vector<Item> all() const {
        std::vector<Item> items;
        collect(nullptr, 0, items);
        return items;
    }

    // The item whose texts from the top-level item down are `path` ('|' between them).
    HTREEITEM find(const std::string& path) const {
        HTREEITEM parent = nullptr;
        std::size_t start = 0;
        for (;;) {
            const std::size_t bar = path.find('|', start);
            const std::string name =
                path.substr(start, bar == std::string::npos ? bar : bar - start);
            HTREEITEM match = nullptr;
            for (HTREEITEM child = firstChild(parent); child; child = next(child, TVGN_NEXT)) {
                Item item;
                if (read(child, item) && item.text == name) {
                    match = child;
                    break;
                }
            }
            if (!match || bar == std::string::npos) return match;
            parent = match;
            start = bar + 1;
        }
    }

    bool setChecked(HTREEITEM handle, bool checked) const {
        TVITEMA data = {};
        data.mask = TVIF_HANDLE | TVIF_STATE;
        data.hItem = handle;
        data.stateMask = TVIS_STATEIMAGEMASK;
        data.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        return block_.write(0, &data, sizeof data) &&
               sendTo(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(block_.at(0))) != 0;
    }

    // Hit-test flags and item at a point in the tree's client area.
    HTREEITEM hitTest(POINT point, UINT* flags) const {
        TVHITTESTINFO hit = {};
        hit.pt = point;
        if (!block_.write(0, &hit, sizeof hit)) return nullptr;
        auto item = reinterpret_cast<HTREEITEM>(
            sendTo(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(block_.at(0))));
        block_.read(0, &hit, sizeof hit);
        *flags = hit.flags;
        return item;
    }

    // The item's whole row (not only its text) in the tree's client area.
    bool rowRect(HTREEITEM handle, RECT* rect) const {
        RECT data = {};
        std::memcpy(&data, &handle, sizeof handle);
        if (!block_.write(0, &data, sizeof data)) return false;
        if (!sendTo(tree_, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(block_.at(0)))) {
            return false;
        }
        return block_.read(0, rect, sizeof *rect);
    }

  private:
    void collect(HTREEITEM parent, int depth, std::vector<Item>& items) const {
        for (HTREEITEM child = firstChild(parent); child; child = next(child, TVGN_NEXT)) {
            Item item;
            if (!read(child, item)) return;
            item.depth = depth;
            items.push_back(item);
            collect(child, depth + 1, items);
        }
    }

    HWND tree_;
    RemoteBlock block_;
};

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

// ---- answering mode ----

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

int runAnswering(const PROCESS_INFORMATION& process, Options& options) {
    ProcessTree tree(process);
    std::vector<HWND> known;
    const DWORD started = GetTickCount();
    for (;;) {
        const DWORD wait = WaitForSingleObject(process.hProcess, kPollMs);
        if (options.follow) tree.refresh();
        WindowSearch search{&tree, process.dwProcessId, options.follow, {}};
        EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) {
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

// ---- interactive mode ----

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
        WindowSearch search{&tree_, mainId_, true, {}};
        EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) {
            bool known = false;
            for (HWND k : known_) known = known || k == window;
            if (known) continue;
            known_.push_back(window);
            seenLines_.push_back(reportLine(describe(window, true), true));
        }
        return search.found;
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
        return SendMessageTimeoutA(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
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
            char text[4096] = {};
            WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text, sizeof text - 1, nullptr,
                                nullptr);
            texts.push_back(text);
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

int runInteractive(const PROCESS_INFORMATION& process) {
    Watcher watcher(process);
    Session session(watcher);
    char buffer[8192];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        std::string line = buffer;
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

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: ui_driver [--timeout S] [--press BUTTON]... [--follow] "
                     "[--interactive] -- PROGRAM [ARGS]\n");
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
        std::fflush(stdout);
        return 2;
    }
    CloseHandle(process.hThread);
    const int result =
        options.interactive ? runInteractive(process) : runAnswering(process, options);
    std::fflush(stdout);
    return result;
}
