// Writing registry keys and values for the installation: the key chain, which logs every key
// level the run creates, and the value write helper, which logs nothing.
#pragma once
#include <windows.h>

#include "runtime/handles.h"

namespace kelvara {

struct InstallRun;

// Opens or creates root\keyPath (keyPath as normalizeKeyPath leaves it) and every level above
// it. Each level above the last that this call creates gets the line "e,<root>,<level>" into
// both logs; the whole key always gets "e,<root>,<keyPath>", into the rollback log only when
// it was created now (an empty key path names the root itself and gets no line). A root number
// outside 0..6 fails with ERROR_INVALID_HANDLE. Returns the Win32 error code of the last
// create, 0 on success; `key` then holds the key opened with `access`, and *created (may be
// null) tells whether the run made it.
LONG createKeyChain(InstallRun& run, unsigned rootNumber, char* keyPath, REGSAM access,
                    UniqueKey& key, bool* created = nullptr);

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

// True when root\keyPath exists now.
bool registryKeyExists(HKEY root, const char* keyPath);

}  // namespace kelvara
