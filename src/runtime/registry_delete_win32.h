// Deleting registry values and keys that an installation created (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// The predefined key of a registry root number (0 HKEY_CLASSES_ROOT .. 6 HKEY_DYN_DATA), or
// null for a number outside 0..6 (the registry functions then fail with ERROR_INVALID_HANDLE).
HKEY registryRoot(int rootNumber);

// Deletes one value. One leading backslash of keyPath is skipped. Returns the Win32 error code
// of opening the key or of the deletion (0 on success, ERROR_FILE_NOT_FOUND when the key or the
// value is missing). Nothing is reported.
LONG deleteRegistryValue(HKEY root, const char* keyPath, const char* valueName);

// Deletes a key; all leading backslashes of keyPath are skipped. A key that holds values or
// subkeys is kept (result 0) unless force is set; with force everything below it goes first.
// Returns the Win32 error code of the open, the query or the final deletion (0 on success,
// ERROR_FILE_NOT_FOUND when missing). An empty key path, which would name the root itself, is
// refused with ERROR_INVALID_PARAMETER and nothing is touched. Nothing is reported.
LONG deleteRegistryKey(HKEY root, const char* keyPath, bool force);

}  // namespace kelvara
