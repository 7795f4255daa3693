// Protected folders as the disk names them: their long forms.
#include <windows.h>

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"
#include "runtime/system_libraries_win32.h"
#include "uninstall/protected_folders.h"
#include "uninstall/protected_folders_win32.h"

namespace kelvara {
namespace {

using GetLongPathNameFn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);

// The path's long form, or a copy of the path when the system gives none (a path that does not
// exist, a system without the function). A new heap string, or null.
char* longForm(const char* path) {
    // Looked up: the first releases of the two families lack it.
    const auto getLong =
        libraryFunction<GetLongPathNameFn>(::GetModuleHandleA("kernel32.dll"), "GetLongPathNameA");
    const DWORD size = getLong ? getLong(path, nullptr, 0) : 0;
    HeapString result(size ? static_cast<char*>(heapAlloc(size)) : nullptr);
    if (!result || getLong(path, result.get(), size) + 1 != size) return strDupExtra(path, 0);
    return result.release();
}

}  // namespace

bool isProtectedFolderOnDisk(const char* folder, const StringList& systemFolders) {
    if (!folder || isProtectedFolder(folder, systemFolders)) return true;
    HeapString longFolder(longForm(folder));
    StringList longSystem;
    if (!longFolder || !longSystem.create(systemFolders.count() + 1)) return true;
    for (int i = 0; i < systemFolders.count(); ++i) {
        const char* system = systemFolders.get(i);
        HeapString longSystemFolder(system ? longForm(system) : nullptr);
        if (longSystemFolder) longSystem.append(longSystemFolder.get());
    }
    return isProtectedFolder(longFolder.get(), longSystem);
}

}  // namespace kelvara
