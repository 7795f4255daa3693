// The program the driver started and every process it started, directly or not.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

namespace ui_driver {

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
                    isWineSystemProcess(process)) {
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
    // Every member has ended, Wine's own processes aside: one taken in while it was starting,
    // before its image had its name, is known by the name it has now.
    bool allEnded() const {
        for (const Member& member : members_) {
            if (WaitForSingleObject(member.handle, 0) == WAIT_OBJECT_0) continue;
            if (member.handle != main_ && isWineSystemImage(member.handle)) continue;
            return false;
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
    // desktop of a display, and keeps it as long as the desktop has windows; and it starts its
    // services (the service manager and the programs it runs) from the first process that
    // needs them. They are Wine's, not the program's, and never end with it: taken in, they
    // would keep a followed run from ever ending.
    static bool isWineSystemName(const char* name) {
        static const char* const kNames[] = {"explorer.exe", "services.exe", "winedevice.exe",
                                             "plugplay.exe", "rpcss.exe",    "svchost.exe"};
        for (const char* known : kNames) {
            if (_stricmp(name, known) == 0) return true;
        }
        return false;
    }
    static bool isWineSystemProcess(const PROCESSENTRY32& process) {
        return isWineSystemName(process.szExeFile);
    }
    static bool isWineSystemImage(HANDLE process) {
        char path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (!QueryFullProcessImageNameA(process, 0, path, &size)) return false;
        const char* name = path;
        for (const char* at = path; *at; ++at) {
            if (*at == '\\' || *at == '/') name = at + 1;
        }
        return isWineSystemName(name);
    }
    HANDLE main_;
    std::vector<Member> members_;
};

// The visible top-level windows of the program (follow: of every process in the tree).
std::vector<HWND> visibleWindowsOf(const ProcessTree& tree, DWORD mainProcess, bool follow);

}  // namespace ui_driver
