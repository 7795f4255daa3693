#include "runtime/system_libraries_win32.h"

#include <cstring>

#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/system_view_win32.h"

namespace kelvara {
namespace {

// The loader's search flags, older than the headers the engine builds against.
constexpr DWORD kSearchDllLoadDir = 0x00000100;  // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
constexpr DWORD kSearchSystem32 = 0x00000800;    // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr ULONG kDllRedirectionSection = 2;      // ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION

// Set once the system folder is the process's only default: the loader takes the search flags.
bool searchRestricted = false;

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
using FindActCtxSectionStringFn = BOOL(WINAPI*)(DWORD, const GUID*, ULONG, LPCSTR,
                                                PACTCTX_SECTION_KEYED_DATA);

HMODULE kernel() {
    return ::GetModuleHandleA("kernel32.dll");
}

bool namesFolder(const char* path) {
    return std::strpbrk(path, "\\/:") != nullptr;
}

// Whether the manifest's activation context sends this name to a side-by-side assembly, which
// the loader then takes before any folder is searched (Windows XP and later).
bool manifestRedirects(const char* name) {
    auto find = libraryFunction<FindActCtxSectionStringFn>(kernel(), "FindActCtxSectionStringA");
    if (!find) return false;
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof data;
    return find(0, nullptr, kDllRedirectionSection, name, &data) != FALSE;
}

HMODULE outOfMemory() {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

}  // namespace

void restrictLibrarySearch() {
    auto setDefault =
        libraryFunction<SetDefaultDllDirectoriesFn>(kernel(), "SetDefaultDllDirectories");
    if (setDefault && setDefault(kSearchSystem32)) {
        searchRestricted = true;
        return;
    }
    // Older systems search the program's own folder first whatever is done here; the engine's
    // own loads name the system folder. The current folder at least is taken out.
    if (auto setDirectory = libraryFunction<SetDllDirectoryFn>(kernel(), "SetDllDirectoryA")) {
        setDirectory("");
    }
}

HMODULE loadSystemLibrary(const char* name) {
    // A 32-bit library from the native System32 would not load.
    FileRedirectionPause libraryLoads;
    if (searchRestricted) return ::LoadLibraryExA(name, nullptr, kSearchSystem32);
    if (manifestRedirects(name)) return ::LoadLibraryA(name);
    HeapString path(inSystemFolder(name));
    if (!path) return outOfMemory();
    // The library's own dependencies are then looked for in the system folder too.
    return ::LoadLibraryExA(path.get(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE loadProductLibrary(const char* path) {
    FileRedirectionPause libraryLoads;
    if (!namesFolder(path)) return loadSystemLibrary(path);
    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(path, sizeof full, full, nullptr);
    if (length == 0) return nullptr;
    if (length >= sizeof full) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    return ::LoadLibraryExA(
        full, nullptr,
        searchRestricted ? kSearchDllLoadDir | kSearchSystem32 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace kelvara
