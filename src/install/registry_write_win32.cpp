#include "install/registry_write_win32.h"

#include <cstring>

#include "install/install_run_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/registry_delete_win32.h"
#include "runtime/system_view_win32.h"

namespace kelvara {
namespace {

// Opens or creates one key with an empty class string and no options.
LONG createKey(HKEY root, const char* path, REGSAM access, UniqueKey& key, DWORD* disposition) {
    char noClass[] = "";
    DWORD made = 0;
    LONG status = ::RegCreateKeyExA(root, path, 0, noClass, REG_OPTION_NON_VOLATILE,
                                    access | registryViewAccess(), nullptr, key.put(), &made);
    if (disposition) *disposition = made;
    return status;
}

}  // namespace

int recordView(const char* viewField) {
    if (viewField && std::strcmp(viewField, "64") == 0) return kView64;
    if (viewField && std::strcmp(viewField, "32") == 0) return kView32;
    return registryView();
}

LONG createKeyChain(InstallRun& run, unsigned rootNumber, char* keyPath, REGSAM access,
                    UniqueKey& key, bool* created) {
    if (created) *created = false;
    key.reset();
    HKEY root = registryRoot(static_cast<int>(rootNumber));
    if (!root) return ERROR_INVALID_HANDLE;
    if (!keyPath) keyPath = const_cast<char*>("");
    // Every level above the last, each opened (or made) and closed at once.
    for (char* cut = std::strchr(keyPath, '\\'); cut; cut = std::strchr(cut + 1, '\\')) {
        *cut = '\0';
        UniqueKey level;
        DWORD disposition = 0;
        if (createKey(root, keyPath, KEY_QUERY_VALUE, level, &disposition) == ERROR_SUCCESS &&
            disposition == REG_CREATED_NEW_KEY) {
            run.log.addRegistryKey(rootNumber, keyPath, false, kLogToRollback);
        }
        *cut = '\\';
    }
    DWORD disposition = 0;
    LONG status = createKey(root, keyPath, access, key, &disposition);
    if (status != ERROR_SUCCESS) return status;
    const bool isNew = disposition == REG_CREATED_NEW_KEY;
    if (created) *created = isNew;
    // A key that was there before is not the run's: the uninstaller leaves it, empty or not.
    if (*keyPath && isNew) run.log.addRegistryKey(rootNumber, keyPath, false, kLogToRollback);
    return ERROR_SUCCESS;
}

PreviousValue::~PreviousValue() {
    heapFree(data_);
}

void PreviousValue::read(HKEY key, const char* valueName) {
    DWORD size = 0;
    if (::RegQueryValueExA(key, valueName, nullptr, &type_, nullptr, &size) != ERROR_SUCCESS)
        return;
    data_ = static_cast<unsigned char*>(heapAlloc(size ? size : 1));
    readable_ =
        data_ && ::RegQueryValueExA(key, valueName, nullptr, &type_, data_, &size) == ERROR_SUCCESS;
    size_ = size;
    existed_ = true;
}

void PreviousValue::log(InstallRun& run, unsigned rootNumber, const char* keyPath,
                        const char* valueName, unsigned flags) const {
    if (!existed_) {
        char rootText[12];
        wsprintfA(rootText, "%u", rootNumber);
        run.log.addRegistryValue(rootText, keyPath, valueName, flags);
    } else if (readable_) {
        run.log.addPreviousValue(rootNumber, keyPath, valueName, type_, data_, size_, flags);
    }
    // A value that was there but could not be read is not logged: it is never deleted.
}

LONG writeRegistryValueLogged(InstallRun& run, unsigned rootNumber, const char* keyPath,
                              const char* valueName, DWORD type, const void* data, DWORD size) {
    HeapString path(strDupExtra(keyPath && *keyPath == '\\' ? keyPath + 1 : keyPath, 0));
    if (!path) return ERROR_NOT_ENOUGH_MEMORY;
    UniqueKey key;
    LONG status = createKeyChain(run, rootNumber, path.get(), KEY_QUERY_VALUE | KEY_SET_VALUE, key);
    if (status != ERROR_SUCCESS) return status;
    // The journal has it before it is written, whatever stops the run after; the install log
    // once it is.
    PreviousValue previous;
    previous.read(key.get(), valueName);
    previous.log(run, rootNumber, path.get(), valueName, kLogToRollback | kLogRollbackOnly);
    if (journalFailed(run)) return ERROR_WRITE_FAULT;
    status = ::RegSetValueExA(key.get(), valueName, 0, type, static_cast<const BYTE*>(data), size);
    if (status == ERROR_SUCCESS) previous.log(run, rootNumber, path.get(), valueName);
    return status;
}

LONG writeRegistryValue(HKEY root, const char* keyPath, const char* valueName, DWORD type,
                        const void* data, DWORD size) {
    if (!keyPath) keyPath = "";
    if (*keyPath == '\\') ++keyPath;
    UniqueKey key;
    LONG status = createKey(root, keyPath, KEY_SET_VALUE, key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    return ::RegSetValueExA(key.get(), valueName, 0, type, static_cast<const BYTE*>(data), size);
}

LONG writeRegistryText(HKEY root, const char* keyPath, const char* valueName, const char* text,
                       DWORD type) {
    if (!text) text = "";
    return writeRegistryValue(root, keyPath, valueName, type, text,
                              static_cast<DWORD>(std::strlen(text) + 1));
}

LONG writeRegistryDword(HKEY root, const char* keyPath, const char* valueName, DWORD value) {
    return writeRegistryValue(root, keyPath, valueName, REG_DWORD, &value, sizeof value);
}

}  // namespace kelvara
