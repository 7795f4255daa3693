// Registry deletion for the uninstall thread and the shared-count decrement.
#include "runtime/registry_delete_win32.h"

#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/registry_roots.h"
#include "runtime/system_view_win32.h"

namespace kelvara {
namespace {

// Indexed by registry root number.
const HKEY kRegistryRoots[kRegistryRootCount] = {
    HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
    HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};

}  // namespace

HKEY registryRoot(int rootNumber) {
    if (rootNumber < 0 || rootNumber >= kRegistryRootCount) return nullptr;
    return kRegistryRoots[rootNumber];
}

LONG deleteRegistryValue(HKEY root, const char* keyPath, const char* valueName) {
    if (!keyPath) keyPath = "";
    if (*keyPath == '\\') ++keyPath;
    UniqueKey key;
    LONG status =
        ::RegOpenKeyExA(root, keyPath, 0,
                        DELETE | KEY_QUERY_VALUE | KEY_SET_VALUE | registryViewAccess(), key.put());
    if (status != ERROR_SUCCESS) return status;
    return ::RegDeleteValueA(key.get(), valueName);
}

LONG deleteRegistryKey(HKEY root, const char* keyPath, bool force) {
    if (!keyPath) keyPath = "";
    while (*keyPath == '\\') ++keyPath;
    // With force, an empty path would empty the whole root (HKEY_CURRENT_USER, ...) before the
    // root itself refused to go: no log line of an installation names a root.
    if (!*keyPath) return ERROR_INVALID_PARAMETER;

    UniqueKey key;
    LONG status = ::RegOpenKeyExA(
        root, keyPath, 0, DELETE | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | registryViewAccess(),
        key.put());
    if (status != ERROR_SUCCESS) return status;

    DWORD subkeys = 0;
    DWORD longest = 0;
    DWORD values = 0;
    status = ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, &longest, nullptr,
                                &values, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return status;
    if ((subkeys || values) && !force) return ERROR_SUCCESS;

    if (subkeys) {
        HeapBlock name(longest + 1);
        if (!name.get()) return ERROR_NOT_ENOUGH_MEMORY;
        auto* text = static_cast<char*>(name.get());
        for (DWORD i = 0; i < subkeys; ++i) {
            DWORD capacity = longest + 1;
            // Index 0 every time: the subkeys before it are gone by then.
            if (::RegEnumKeyExA(key.get(), 0, text, &capacity, nullptr, nullptr, nullptr,
                                nullptr) != ERROR_SUCCESS) {
                break;
            }
            deleteRegistryKey(key.get(), text, true);
        }
    }
    return deleteKeyInView(root, keyPath);
}

}  // namespace kelvara
