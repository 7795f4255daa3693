// Path helpers that ask the file system.
#include <windows.h>

#include <cstring>

#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

// "C:" or "C:\." (after the trailing separator is stripped): the search must list the root.
bool namesDriveRoot(const char* path) {
    std::size_t length = std::strlen(path);
    if (length == 2) return path[1] == ':';
    return length == 4 && path[1] == ':' && path[2] == '\\' && path[3] == '.';
}

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool pathExists(const char* path) {
    if (!path) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    HeapString copy(strDupExtra(path, 2));
    if (!copy) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    stripTrailingSeparator(copy.get());
    bool root = namesDriveRoot(copy.get());
    if (root) std::strcat(copy.get(), "\\*");
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(copy.get(), &found));
    DWORD error = ::GetLastError();
    copy.reset();
    // A root that lists nothing is an empty drive, which exists; a missing drive fails with
    // path-not-found and a drive without medium with not-ready.
    if (search || (root && error == ERROR_FILE_NOT_FOUND)) return true;
    ::SetLastError(error);
    return false;
}

bool folderIsEmpty(const char* folder, bool countFiles) {
    if (!folder) return true;
    HeapString pattern(strDupExtra(folder, 2));
    if (!pattern) return true;
    stripTrailingSeparator(pattern.get());
    std::strcat(pattern.get(), "\\*");
    WIN32_FIND_DATAA entry;
    UniqueFind search(::FindFirstFileA(pattern.get(), &entry));
    if (!search) return true;
    do {
        if (isDotEntry(entry.cFileName)) continue;
        if (countFiles || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    } while (::FindNextFileA(search.get(), &entry));
    return true;
}

unsigned long nearestExistingAncestor(const char* path, char** out) {
    *out = nullptr;
    if (!path) return ERROR_INVALID_PARAMETER;
    char* copy = strDupExtra(path, 1);
    if (!copy) return ERROR_NOT_ENOUGH_MEMORY;
    while (!pathExists(copy)) {
        DWORD error = ::GetLastError();
        char* slash = findLastChar(copy, '\\', -1, true);
        if (!slash) {
            heapFree(copy);
            // Never report success without a path.
            return error ? error : ERROR_PATH_NOT_FOUND;
        }
        *slash = '\0';
    }
    std::size_t length = std::strlen(copy);
    if (length && copy[length - 1] == ':') std::strcat(copy, "\\");
    *out = copy;
    return 0;
}

char* tempFolder() {
    DWORD size = ::GetTempPathA(0, nullptr);
    if (size == 0) return nullptr;
    auto* folder = static_cast<char*>(heapAlloc(size + 1));
    if (!folder) return nullptr;
    DWORD length = ::GetTempPathA(size + 1, folder);
    if (length == 0 || length > size) {
        heapFree(folder);
        return nullptr;
    }
    stripTrailingSeparator(folder);
    return folder;
}

char* inSystemFolder(const char* name) {
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return nullptr;
    return strConcat5(folder, "\\", name);
}

}  // namespace kelvara
