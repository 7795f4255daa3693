// Writing registry keys and values for the installation: the key chain, which logs every key
// level the run creates, and the value write helper, which logs nothing.
#pragma once
#include <windows.h>

#include "formats/install_log.h"
#include "runtime/handles_win32.h"
#include "runtime/system_view_win32.h"

namespace kelvara {

struct InstallRun;

// The registry view a record names ("32" or "64"), or the product's own for any other text.
int recordView(const char* viewField);

// One record's registry view, for its keys and for the log lines they get, while it lives: the
// uninstaller then undoes each line in the view it was written in.
class RecordViewScope {
  public:
    RecordViewScope(InstallLog& log, int view) : log_(log), keys_(view), savedLogView_(log.view()) {
        log.setView(view);
    }
    ~RecordViewScope() { log_.setView(savedLogView_); }
    RecordViewScope(const RecordViewScope&) = delete;
    RecordViewScope& operator=(const RecordViewScope&) = delete;

  private:
    InstallLog& log_;
    RegistryViewScope keys_;
    int savedLogView_;
};

// Opens or creates root\keyPath (keyPath as normalizeKeyPath leaves it) and every level above
// it. Each level that this call creates, the whole key included, gets the line
// "e,<root>,<level>" into both logs; levels that were there before get none, so that no
// uninstall ever takes a key the machine had (an empty key path names the root itself and gets
// no line). A root number
// outside 0..6 fails with ERROR_INVALID_HANDLE. Returns the Win32 error code of the last
// create, 0 on success; `key` then holds the key opened with `access`, and *created (may be
// null) tells whether the run made it.
LONG createKeyChain(InstallRun& run, unsigned rootNumber, char* keyPath, REGSAM access,
                    UniqueKey& key, bool* created = nullptr);

// A value as it was before the run writes it. Logged once the write has worked: a value that
// was there gets an "r" line with its type and data, one that was not a "c" line; both go to both
// logs, so that the uninstaller and a rollback put back what was there instead of deleting it.
class PreviousValue {
  public:
    PreviousValue() = default;
    PreviousValue(const PreviousValue&) = delete;
    PreviousValue& operator=(const PreviousValue&) = delete;
    ~PreviousValue();
    void read(HKEY key, const char* valueName);
    bool existed() const { return existed_; }
    // flags: the install log's (kLogToRollback by default; with kLogRollbackOnly the line goes
    // to the rollback log alone).
    void log(InstallRun& run, unsigned rootNumber, const char* keyPath, const char* valueName,
             unsigned flags = kLogToRollback) const;

  private:
    bool existed_ = false;
    bool readable_ = false;
    DWORD type_ = 0;
    unsigned char* data_ = nullptr;
    DWORD size_ = 0;
};

// Sets one value with its key chain (createKeyChain) and logs what it held (PreviousValue).
// Returns the Win32 error code of the create or the set, 0 on success.
LONG writeRegistryValueLogged(InstallRun& run, unsigned rootNumber, const char* keyPath,
                              const char* valueName, DWORD type, const void* data, DWORD size);

// Sets one value: root\keyPath (one leading backslash skipped) and any missing levels above it
// are created silently with KEY_SET_VALUE, the value is set and the key closed. Returns the
// Win32 error code of the create or the set, 0 on success. Logs nothing.
LONG writeRegistryValue(HKEY root, const char* keyPath, const char* valueName, DWORD type,
                        const void* data, DWORD size);
// The same for a text of type REG_SZ or REG_EXPAND_SZ (null counts as empty), NUL included.
LONG writeRegistryText(HKEY root, const char* keyPath, const char* valueName, const char* text,
                       DWORD type = REG_SZ);
// The same for a REG_DWORD.
LONG writeRegistryDword(HKEY root, const char* keyPath, const char* valueName, DWORD value);

}  // namespace kelvara
