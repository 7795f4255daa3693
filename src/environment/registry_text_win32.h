// Registry texts as the folder rules, detections and the settings record read and write them
// (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// New zeroed heap string with the value's data as stored, whatever its type (REG_EXPAND_SZ is
// not expanded), always terminated, or null when the key or value is missing, its size is 0, or
// the heap is exhausted. The caller frees the result.
char* readRegistryText(HKEY root, const char* key, const char* value);

// Creates or opens the key and sets the value as REG_SZ, terminator included. Failures are
// ignored: the callers only record what they found.
void storeRegistryText(HKEY root, const char* key, const char* value, const char* text);

}  // namespace kelvara
