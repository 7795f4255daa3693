#include "runtime/registry_keys_win32.h"

#include "runtime/handles_win32.h"
#include "runtime/system_view_win32.h"

namespace kelvara {

bool registryKeyExists(HKEY root, const char* keyPath) {
    UniqueKey key;
    return ::RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE | registryViewAccess(), key.put()) ==
           ERROR_SUCCESS;
}

}  // namespace kelvara
