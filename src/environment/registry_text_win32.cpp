#include <cstring>

#include "environment/registry_text_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/system_view_win32.h"

namespace kelvara {

char* readRegistryText(HKEY root, const char* key, const char* value) {
    UniqueKey opened;
    if (::RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | registryViewAccess(), opened.put()) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    DWORD size = 0;
    if (::RegQueryValueExA(opened.get(), value, nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0) {
        return nullptr;
    }
    // One more byte than the data: a value stored without its terminator still ends.
    auto* text = static_cast<char*>(heapAlloc(size + 1));
    if (!text) return nullptr;
    if (::RegQueryValueExA(opened.get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                           &size) != ERROR_SUCCESS) {
        heapFree(text);
        return nullptr;
    }
    return text;
}

void storeRegistryText(HKEY root, const char* key, const char* value, const char* text) {
    UniqueKey created;
    if (::RegCreateKeyExA(root, key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | registryViewAccess(), nullptr, created.put(),
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(created.get(), value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(std::strlen(text) + 1));
}

}  // namespace kelvara
