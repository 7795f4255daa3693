// A registry value that a test changes and that is put back as it was when the test ends.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

class SavedValue {
  public:
    SavedValue(HKEY root, const char* key, const char* name) : root_(root), key_(key), name_(name) {
        HKEY k;
        if (::RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k) == ERROR_SUCCESS) {
            DWORD size = sizeof data_;
            existed_ = ::RegQueryValueExA(k, name, nullptr, &type_, data_, &size) == ERROR_SUCCESS;
            size_ = size;
            ::RegCloseKey(k);
        }
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;
    ~SavedValue() {
        if (existed_) {
            write(type_, data_, size_);
        } else {
            remove();
        }
    }
    void remove() {
        HKEY k;
        if (::RegOpenKeyExA(root_, key_, 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
            ::RegDeleteValueA(k, name_);
            ::RegCloseKey(k);
        }
    }
    void set(const char* text) {
        write(REG_SZ, reinterpret_cast<const BYTE*>(text),
              static_cast<DWORD>(std::strlen(text) + 1));
    }
    std::string read() const {
        char text[MAX_PATH] = {};
        DWORD size = sizeof text - 1;
        HKEY k;
        if (::RegOpenKeyExA(root_, key_, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
            return "<absent>";
        LONG status =
            ::RegQueryValueExA(k, name_, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        ::RegCloseKey(k);
        return status == ERROR_SUCCESS ? text : "<absent>";
    }

  private:
    void write(DWORD type, const BYTE* data, DWORD size) {
        HKEY k;
        if (::RegCreateKeyExA(root_, key_, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
            ERROR_SUCCESS) {
            return;
        }
        ::RegSetValueExA(k, name_, 0, type, data, size);
        ::RegCloseKey(k);
    }

    HKEY root_;
    const char* key_;
    const char* name_;
    bool existed_ = false;
    DWORD type_ = REG_SZ;
    BYTE data_[2048] = {};
    DWORD size_ = 0;
};
