// Files, folders and registry keys that the Windows tests make in the Wine prefix, each
// removed again when the test ends.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

namespace kelvara_test {

// A name no other test run uses: the process id and a counter.
inline std::string uniqueName(const char* stem) {
    static int counter = 0;
    return std::string(stem) + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(++counter);
}

inline std::string systemTempFolder() {
    char folder[MAX_PATH];
    DWORD length = ::GetTempPathA(MAX_PATH, folder);
    std::string path(folder, length);
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

inline bool exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void writeFile(const std::string& path, const std::string& content = "x") {
    HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(out, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(out);
}

// A file's whole content, or "<missing>".
inline std::string readFile(const std::string& path) {
    HANDLE in = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (in == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(in, buffer, sizeof buffer, &read, nullptr) && read)
        content.append(buffer, read);
    ::CloseHandle(in);
    return content;
}

// Removes a folder and everything in it, read-only entries included (the test's own clean-up,
// independent of the code under test).
inline void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                removeTree(path);
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryA(path.c_str());
            } else {
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search, &entry));
        ::FindClose(search);
    }
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(folder.c_str());
}

// A folder of its own under the system's temporary folder; its name has a blank and a comma,
// so every path in it does too.
class TempFolder {
  public:
    TempFolder() : path_(systemTempFolder() + "\\" + uniqueName("Kelvara un,install ")) {
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() { removeTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// Deletes a key with everything below it (the test's own clean-up).
inline void removeKeyTree(HKEY root, const std::string& path) {
    HKEY key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[256];
    for (;;) {
        DWORD size = sizeof name;
        if (::RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        removeKeyTree(key, name);
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyA(root, path.c_str());
}

// A key of its own under HKEY_CURRENT_USER\Software\KelvaraTest.
class TestKey {
  public:
    TestKey() : path_(std::string("Software\\KelvaraTest\\") + uniqueName("uninstall-")) {
        create("");
    }
    ~TestKey() {
        removeKeyTree(HKEY_CURRENT_USER, path_);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KelvaraTest");  // only when empty
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    const std::string& path() const { return path_; }
    std::string sub(const std::string& name) const {
        return name.empty() ? path_ : path_ + "\\" + name;
    }

    void create(const std::string& name) const {
        HKEY key;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, sub(name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) == ERROR_SUCCESS) {
            ::RegCloseKey(key);
        }
    }
    void setValue(const std::string& name, const char* value, const char* text = "data") const {
        HKEY key;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, sub(name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        ::RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         static_cast<DWORD>(std::strlen(text) + 1));
        ::RegCloseKey(key);
    }
    bool has(const std::string& name) const {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, sub(name).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        ::RegCloseKey(key);
        return true;
    }
    bool hasValue(const std::string& name, const char* value) const {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, sub(name).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        LONG status = ::RegQueryValueExA(key, value, nullptr, nullptr, nullptr, nullptr);
        ::RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

  private:
    std::string path_;
};

}  // namespace kelvara_test
