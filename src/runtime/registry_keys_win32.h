// Questions about registry keys that open nothing for the caller.
#pragma once
#include <windows.h>

namespace kelvara {

// True when root\keyPath exists now and can be opened for reading its values.
bool registryKeyExists(HKEY root, const char* keyPath);

}  // namespace kelvara
