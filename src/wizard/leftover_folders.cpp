#include "wizard/leftover_folders.h"

#include <cstring>

#include "runtime/string_list.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

// Length of the folder's path without its trailing backslashes.
std::size_t folderLength(const char* folder) {
    std::size_t length = std::strlen(folder);
    while (length > 0 && folder[length - 1] == '\\') --length;
    return length;
}

bool sameStart(const char* a, const char* b, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (charUpper(a[i]) != charUpper(b[i])) return false;
    }
    return true;
}

// The same folder: equal paths but for case and trailing backslashes.
bool sameFolder(const char* a, const char* b) {
    const std::size_t length = folderLength(a);
    return length == folderLength(b) && sameStart(a, b, length);
}

}  // namespace

bool isInsideFolder(const char* path, const char* folder) {
    if (!path || !folder) return false;
    const std::size_t length = folderLength(folder);
    if (length == 0 || std::strlen(path) <= length) return false;
    if (path[length] != '\\' || !sameStart(path, folder, length)) return false;
    // Something must follow the separators: "C:\\App\\" is C:\\App itself.
    const char* rest = path + length;
    while (*rest == '\\') ++rest;
    return *rest != '\0';
}

void keepOutermostFolders(StringList& folders) {
    for (int i = folders.count() - 1; i >= 0; --i) {
        if (!folders.get(i)) folders.removeAt(i);
    }
    // Each folder is compared with all others, not only with the shorter ones: trailing
    // backslashes can make an outer folder's text the longer one.
    for (int i = folders.count() - 1; i >= 0; --i) {
        const char* folder = folders.get(i);
        for (int j = 0; j < folders.count(); ++j) {
            const char* other = folders.get(j);
            if (j != i && (isInsideFolder(folder, other) || (j < i && sameFolder(folder, other)))) {
                folders.removeAt(i);
                break;
            }
        }
    }
    folders.sort(kSortAlphabetical);
}

}  // namespace kelvara
