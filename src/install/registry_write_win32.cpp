#include "install/registry_write_win32.h"

#include <cstring>

#include "install/install_run.h"
#include "uninstall/registry_delete_win32.h"

namespace kelvara {
namespace {

// Opens or creates one key with an empty class string and no options.
LONG createKey(HKEY root, const char* path, REGSAM access, UniqueKey& key, DWORD* disposition) {
    char noClass[] = "";
    HKEY raw = nullptr;
    DWORD made = 0;
    LONG status = ::RegCreateKeyExA(root, path, 0, noClass, REG_OPTION_NON_VOLATILE, access,
                                    nullptr, &raw, &made);
    if (status == ERROR_SUCCESS) key.reset(raw);
    if (disposition) *disposition = made;
    return status;
}

}  // namespace

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
    if (*keyPath) run.log.addRegistryKey(rootNumber, keyPath, false, isNew ? kLogToRollback : 0);
    return ERROR_SUCCESS;
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

bool registryKeyExists(HKEY root, const char* keyPath) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return false;
    UniqueKey key(raw);
    return true;
}

}  // namespace kelvara
