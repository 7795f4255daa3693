#include "uninstall/protected_folders.h"

#include <cstddef>
#include <cstring>

#include "runtime/string_list.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// Length of the path without its trailing separators.
std::size_t trimmedLength(const char* path) {
    std::size_t length = std::strlen(path);
    while (length > 0 && isSeparator(path[length - 1])) --length;
    return length;
}

bool sameStart(const char* a, const char* b, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const bool bothSeparators = isSeparator(a[i]) && isSeparator(b[i]);
        if (!bothSeparators && charUpper(a[i]) != charUpper(b[i])) return false;
    }
    return true;
}

// The path's parts after its root; false when a part is "." or "..", which could name any
// folder at all.
bool countParts(const char* path, std::size_t length, int* parts) {
    *parts = 0;
    std::size_t i = 0;
    while (i < length) {
        while (i < length && isSeparator(path[i])) ++i;
        const std::size_t start = i;
        while (i < length && !isSeparator(path[i])) ++i;
        const std::size_t n = i - start;
        if (n == 0) continue;
        if ((n == 1 && path[start] == '.') || (n == 2 && path[start] == '.' && path[start + 1] == '.'))
            return false;
        ++*parts;
    }
    return true;
}

// True when the path names something below a drive's root or a network share.
bool isBelowARoot(const char* path, std::size_t length) {
    int parts = 0;
    if (length >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        // \\server\share\folder: the server and the share are the root.
        return countParts(path + 2, length - 2, &parts) && parts > 2;
    }
    const bool drive = length >= 3 && path[1] == ':' && isSeparator(path[2]) &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive && countParts(path + 3, length - 3, &parts) && parts > 0;
}

// True when `inner` is `outer` or lies inside it.
bool isSameOrInside(const char* inner, const char* outer, std::size_t outerLength) {
    const std::size_t innerLength = trimmedLength(inner);
    if (innerLength < outerLength || !sameStart(inner, outer, outerLength)) return false;
    return innerLength == outerLength || isSeparator(inner[outerLength]);
}

}  // namespace

bool isProtectedFolder(const char* folder, const StringList& systemFolders) {
    if (!folder) return true;
    const std::size_t length = trimmedLength(folder);
    if (!isBelowARoot(folder, length)) return true;
    for (int i = 0; i < systemFolders.count(); ++i) {
        const char* system = systemFolders.get(i);
        if (system && trimmedLength(system) > 0 && isSameOrInside(system, folder, length))
            return true;
    }
    return false;
}

}  // namespace kelvara
