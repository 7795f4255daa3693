// Path helpers that work on the text alone.
#include "runtime/path_helpers.h"

#include <cstddef>
#include <cstring>

#include "runtime/heap_string.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}
bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A network path: two leading backslashes, no other pair of backslashes (the one that would
// follow an empty server name included), and a backslash after the server name.
bool isNetworkPath(const char* path) {
    if (path[0] != '\\' || path[1] != '\\') return false;
    if (findText(path + 1, "\\\\", -1, true)) return false;
    return findChar(path + 2, '\\', -1, true) != nullptr;
}

// A drive path: a letter, a colon, then the end or a backslash; no pair of backslashes.
bool isDrivePath(const char* path) {
    if (findText(path, "\\\\", -1, true)) return false;
    return isDriveLetter(path[0]) && path[1] == ':' && (path[2] == '\0' || path[2] == '\\');
}

}  // namespace

char* fileNamePart(const char* path) {
    if (!path) return nullptr;
    char* slash = findLastChar(path, '\\', -1, true);
    return const_cast<char*>(slash ? slash + 1 : path);
}

char* baseName(const char* path) {
    if (!path) return nullptr;
    char* name = strDupExtra(fileNamePart(path), 0);
    if (!name) return nullptr;
    if (char* dot = findLastChar(name, '.', -1, true)) *dot = '\0';
    return name;
}

char* folderPart(const char* path) {
    if (!path) return nullptr;
    char* folder = strDupExtra(path, 0);
    if (!folder) return nullptr;
    if (char* slash = findLastChar(folder, '\\', -1, true)) *slash = '\0';
    return folder;
}

void stripTrailingSeparator(char* path) {
    if (!path) return;
    std::size_t length = std::strlen(path);
    if (length && isSeparator(path[length - 1])) path[length - 1] = '\0';
}

char* joinFolderName(const char* folder, const char* name) {
    if (!name) name = "";
    if (std::strchr(name, ':')) return strDupExtra(name, 0);
    if (*name == '\\') ++name;
    HeapString base(strDupExtra(folder, 0));
    if (!base) return nullptr;
    stripTrailingSeparator(base.get());
    if (!*name) return base.release();
    return strConcat5(base.get(), "\\", name);
}

bool isValidInstallPath(const char* path) {
    if (!path || !*path) return false;
    if (std::strpbrk(path, "?*/<>|")) return false;
    if (std::strlen(path) > 2 && std::strchr(path + 2, ':')) return false;
    return isNetworkPath(path) || isDrivePath(path);
}

}  // namespace kelvara
