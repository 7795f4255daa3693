// Where the engine's libraries come from. A setup image is run from a Downloads folder, by an
// administrator or by a deployment service as SYSTEM; a library that the loader finds beside it,
// in the current folder or in the temporary folder would run with those rights. So every
// library the engine loads comes from the system folder, and those of the product being
// installed from their own folder.
#pragma once
#include <windows.h>

namespace kelvara {

// Called first of all: keeps the loader, for the whole process (the shell's and COM's loads on
// the engine's behalf included), to the system folder where the system can (Windows 8, and 7
// and Vista with their update), else takes the current folder out of its search. Idempotent.
void restrictLibrarySearch();

// A system library by file name ("riched32.dll"): loaded from the system folder only, or taken
// from the manifest's side-by-side assembly where the manifest names it (the common controls).
// Null when it cannot be loaded (last error set). The caller frees it.
HMODULE loadSystemLibrary(const char* name);

// A library of the product, by its path: its own dependencies are looked for in its folder and
// the system folder, not beside the setup. A path without a folder is a system library's name.
// Null when it cannot be loaded (last error set). The caller frees it.
HMODULE loadProductLibrary(const char* path);

// A function of a loaded library, as the type it is called through; null when missing.
template <typename Fn>
Fn libraryFunction(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

// A function of a system library every process has loaded (kernel32, advapi32) that older
// systems lack; null where it is missing.
template <typename Fn>
Fn loadedLibraryFunction(const char* library, const char* name) {
    return libraryFunction<Fn>(::GetModuleHandleA(library), name);
}

}  // namespace kelvara
