// The probe's output and handles: JSON lines, error lines, owning wrappers of Win32 handles.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace probe {

// Exit codes.
constexpr int kOk = 0;
constexpr int kFailed = 1;  // a system call failed; its line has "error" and "message"
constexpr int kBadUsage = 2;

// ---- Owning handles: each kind with its own empty value.

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (valid()) FindClose(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

class KernelHandle {  // events and threads: null when empty
  public:
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    ~KernelHandle() {
        if (handle_) CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

class RegistryKey {
  public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    // Returns the Win32 error code of RegOpenKeyExW.
    LONG open(HKEY root, const wchar_t* path) {
        return RegOpenKeyExW(root, path, 0, KEY_READ, &key_);
    }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

// ---- JSON output: ASCII only, everything else as \uXXXX escapes of the UTF-16 text.

// Lower-case hex digits of the bytes.
std::string hexBytes(const BYTE* bytes, std::size_t size);

// The text as a quoted JSON string.
std::string jsonString(const std::wstring& text);

// One JSON object, printed as one line.
class JsonLine {
  public:
    JsonLine& text(const char* key, const std::wstring& value) {
        return raw(key, jsonString(value));
    }
    JsonLine& ascii(const char* key, const std::string& value) {
        return raw(key, '"' + value + '"');  // callers pass digits, hex or fixed words only
    }
    JsonLine& number(const char* key, std::uint64_t value) {
        return raw(key, std::to_string(value));
    }
    JsonLine& hex32(const char* key, DWORD value) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%08lx", static_cast<unsigned long>(value));
        return ascii(key, buffer);
    }
    JsonLine& flag(const char* key, bool value) { return raw(key, value ? "true" : "false"); }
    JsonLine& null(const char* key) { return raw(key, "null"); }
    JsonLine& raw(const char* key, const std::string& json) {
        body_ += body_.empty() ? "{" : ", ";
        body_ += '"';
        body_ += key;
        body_ += "\": ";
        body_ += json;
        return *this;
    }
    // The object as JSON text, for nesting in another line.
    std::string body() const { return (body_.empty() ? "{" : body_) + "}"; }
    void print() const {
        std::string line = (body_.empty() ? "{" : body_) + "}\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }

  private:
    std::string body_;
};

// The system's text for a Win32 error code, without its line end.
std::wstring systemErrorText(DWORD error);

// Adds "operation", "error" and "message" to the line and prints it; returns kFailed.
int withError(JsonLine& line, const char* operation, DWORD error);

// A decimal number up to `limit`; false for anything else.
bool parseUnsigned(const wchar_t* text, std::uint64_t limit, std::uint64_t& value);

}  // namespace probe
