// The recording fixtures of tests/fixtures (action-recorder.exe, action-probe.dll) for the
// Win32 tests of programs and DLL calls: a private folder holding copies of both, the action log
// they write there, and that log read back.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#ifndef KELVARA_ACTION_FIXTURES
#error "KELVARA_ACTION_FIXTURES names the folder of the built action fixtures"
#endif

namespace kelvara_test {

// One line of the action log: "<sequence>|<event>|<detail>"; for the recorder the detail is
// "cwd=...|show=...|flags=0x...|cmd=...", for the probe "args=a|b" or "ole=...".
struct ActionLine {
    int sequence = -1;
    std::string event;
    std::string detail;

    // The value of "name=" in the detail, up to the next '|' (the command line: to the end).
    std::string value(const std::string& name) const {
        std::size_t start = detail.find(name + "=");
        if (start == std::string::npos) return "<missing " + name + ">";
        start += name.size() + 1;
        if (name == "cmd" || name == "args") return detail.substr(start);
        std::size_t end = detail.find('|', start);
        return detail.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
};

inline std::string describe(const std::vector<ActionLine>& lines) {
    std::string text;
    for (const ActionLine& line : lines) {
        text += "\n  " + std::to_string(line.sequence) + " " + line.event + " " + line.detail;
    }
    return text.empty() ? " (no lines)" : text;
}

// A folder of its own under the system's temporary folder (its name has blanks, never a comma:
// a program record cannot hold one) with the fixtures copied in, the recorder under a name with
// a blank. The log's path is put in the environment for the fixtures, which this process and
// the programs it starts share.
class ActionFixtures {
  public:
    ActionFixtures() {
        char temp[MAX_PATH];
        DWORD length = ::GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        // Wine hands out the same few process ids again and again: the tick count tells runs
        // apart, and a folder left by an earlier run is not taken over.
        do {
            folder_ = std::string(temp, length) + "Kelvara actions " +
                      std::to_string(::GetCurrentProcessId()) + " " +
                      std::to_string(::GetTickCount()) + " " + std::to_string(++counter);
        } while (!::CreateDirectoryA(folder_.c_str(), nullptr) && counter < 1000);
        recorder_ = folder_ + "\\action recorder.exe";
        probe_ = folder_ + "\\action-probe.dll";
        ::CopyFileA(built("action-recorder.exe").c_str(), recorder_.c_str(), FALSE);
        ::CopyFileA(built("action-probe.dll").c_str(), probe_.c_str(), FALSE);
        log_ = folder_ + "\\actions.log";
        ::SetEnvironmentVariableA("KELVARA_ACTION_LOG", log_.c_str());
    }
    ~ActionFixtures() {
        ::SetEnvironmentVariableA("KELVARA_ACTION_LOG", nullptr);
        // A program still holding on (a failed test) gets its release file, then the folder goes.
        release();
        for (int i = 0; i < 100 && !removeFolder(folder_); ++i) ::Sleep(50);
    }
    ActionFixtures(const ActionFixtures&) = delete;
    ActionFixtures& operator=(const ActionFixtures&) = delete;

    bool ready() const {
        return ::GetFileAttributesA(recorder_.c_str()) != INVALID_FILE_ATTRIBUTES &&
               ::GetFileAttributesA(probe_.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    const std::string& folder() const { return folder_; }
    const std::string& recorder() const { return recorder_; }
    const std::string& probe() const { return probe_; }
    // The file whose existence lets a recorder started with --hold=<it> end.
    std::string holdFile() const { return folder_ + "\\release"; }
    void release() const {
        HANDLE file =
            ::CreateFileA(holdFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }

    std::vector<ActionLine> lines() const {
        std::vector<ActionLine> result;
        HANDLE file = ::CreateFileA(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return result;
        std::string text;
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            text.append(buffer, got);
        }
        ::CloseHandle(file);
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            std::string line = text.substr(start, end - start);
            std::size_t first = line.find('|');
            std::size_t second = line.find('|', first + 1);
            if (first == std::string::npos || second == std::string::npos) continue;
            ActionLine parsed;
            parsed.sequence = std::atoi(line.substr(0, first).c_str());
            parsed.event = line.substr(first + 1, second - first - 1);
            parsed.detail = line.substr(second + 1);
            result.push_back(parsed);
        }
        return result;
    }

    // Waits (up to 20 s) until the log has at least `count` lines; returns them.
    std::vector<ActionLine> waitForLines(std::size_t count) const {
        std::vector<ActionLine> current = lines();
        for (int i = 0; i < 400 && current.size() < count; ++i) {
            ::Sleep(50);
            current = lines();
        }
        return current;
    }

  private:
    static std::string built(const char* name) {
        // The build folder is a host path; the prefix sees the host's root as drive Z:.
        std::string path = std::string("Z:") + KELVARA_ACTION_FIXTURES + "/" + name;
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        return path;
    }

    static bool removeFolder(const std::string& folder) {
        WIN32_FIND_DATAA entry;
        HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string name = entry.cFileName;
                std::string path = folder + "\\" + name;
                if (name == "." || name == "..") continue;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeFolder(path);
                } else {
                    ::DeleteFileA(path.c_str());
                }
            } while (::FindNextFileA(search, &entry));
            ::FindClose(search);
        }
        return ::RemoveDirectoryA(folder.c_str()) != 0;
    }

    std::string folder_;
    std::string recorder_;
    std::string probe_;
    std::string log_;
};

}  // namespace kelvara_test
