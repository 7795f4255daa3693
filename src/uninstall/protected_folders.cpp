#include "uninstall/protected_folders.h"

#include <cstddef>
#include <cstring>

#include "runtime/heap_string.h"
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
        if ((n == 1 && path[start] == '.') ||
            (n == 2 && path[start] == '.' && path[start + 1] == '.'))
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

// The path as the file system reads it: one backslash between parts (a slash counts as one), the
// trailing dots and blanks of every part dropped, no separator at the end; a network path keeps
// its two leading backslashes and a path its one. Null for a path no rule here reads, which stays
// protected: a device path (\\?\, \\.\) and an administrative share (\\server\C$). A new heap
// string.
char* canonicalFolder(const char* path) {
    const std::size_t length = std::strlen(path);
    const bool network = length >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
    if (network && length >= 4 && (path[2] == '?' || path[2] == '.') && isSeparator(path[3]))
        return nullptr;
    HeapString out(strDupExtra(nullptr, static_cast<int>(length)));
    if (!out) return nullptr;
    char* end = out.get();
    // A leading separator stays: "\C:\App" names no drive, and a network path keeps both.
    if (length >= 1 && isSeparator(path[0])) *end++ = '\\';
    if (network) *end++ = '\\';
    int part = 0;
    for (std::size_t i = network ? 2 : 0; i < length;) {
        while (i < length && isSeparator(path[i])) ++i;
        std::size_t start = i;
        while (i < length && !isSeparator(path[i])) ++i;
        std::size_t n = i - start;
        const bool dots = (n == 1 && path[start] == '.') ||
                          (n == 2 && path[start] == '.' && path[start + 1] == '.');
        // A drive is exactly "C:": "C:." is the drive's current folder, a relative path.
        const bool drive = part == 0 && !network && std::memchr(path + start, ':', n);
        // "." and ".." stay for the root check to refuse; any other part loses what the file
        // system would drop from its end.
        while (!dots && !drive && n > 0 &&
               (path[start + n - 1] == '.' || path[start + n - 1] == ' ')) {
            --n;
        }
        if (n == 0) continue;
        ++part;
        if (network && part == 2 && path[start + n - 1] == '$') return nullptr;
        if (part > 1) *end++ = '\\';
        std::memcpy(end, path + start, n);
        end += n;
    }
    *end = '\0';
    return out.release();
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
    HeapString canonical(canonicalFolder(folder));
    if (!canonical) return true;
    const char* path = canonical.get();
    const std::size_t length = std::strlen(path);
    if (!isBelowARoot(path, length)) return true;
    for (int i = 0; i < systemFolders.count(); ++i) {
        const char* system = systemFolders.get(i);
        HeapString canonicalSystem(system ? canonicalFolder(system) : nullptr);
        if (canonicalSystem && *canonicalSystem.get() &&
            isSameOrInside(canonicalSystem.get(), path, length)) {
            return true;
        }
    }
    return false;
}

}  // namespace kelvara
