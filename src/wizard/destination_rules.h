// The destination page's rule for a folder picked with Browse. Portable.
#pragma once
#include <cstdint>

namespace kelvara {

// The installation folder for a folder the user picked: the picked folder itself when it ends
// with the product's folder name (the last part of `installPath`, compared ignoring case) and is
// longer than it, else the picked folder with that name added after a backslash (none doubled).
// A new heap string, null when the heap is exhausted; the caller frees it.
char* browsedDestination(const char* picked, const char* installPath);

}  // namespace kelvara
