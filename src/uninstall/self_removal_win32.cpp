// The script that deletes the uninstaller's temporary copy once it has ended.
#include "uninstall/self_removal_win32.h"

#include <windows.h>

#include <cstring>

#include "formats/setup_state.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_encoding.h"
#include "uninstall/uninstall_rules.h"

namespace kelvara {

namespace {

// The command interpreter reads a batch file in the console's code page, not in the one the
// engine writes it in: a path that is not ASCII (a user folder in Cyrillic, say) is named by its
// short form, which is ASCII wherever the file system keeps short names. A new heap string.
char* pathForBatch(const char* path) {
    if (isAsciiText(path)) return strDupExtra(path, 0);
    const DWORD size = ::GetShortPathNameA(path, nullptr, 0);
    HeapString shortPath(size ? static_cast<char*>(heapAlloc(size)) : nullptr);
    if (!shortPath || ::GetShortPathNameA(path, shortPath.get(), size) + 1 != size) {
        return strDupExtra(path, 0);
    }
    return shortPath.release();
}

}  // namespace

void writeSelfRemovalScript() {
    SetupState& s = setupState;
    HeapString scriptPath(joinFolderName(s.tempDir.get(), kSelfRemovalScriptName));
    if (!scriptPath) return;
    HeapString batchFolder(pathForBatch(s.tempDir.get()));
    HeapString batchProgram(pathForBatch(s.installerPath.get()));
    HeapString batchScript(batchFolder ? joinFolderName(batchFolder.get(), kSelfRemovalScriptName)
                                       : nullptr);
    if (!batchProgram || !batchScript) return;
    HeapString text(selfRemovalScriptText(batchProgram.get(), batchScript.get()));
    HeapString commandLine(strConcat5("\"", scriptPath.get(), "\""));
    if (!text || !commandLine) return;
    UniqueFile file(::CreateFileA(scriptPath.get(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, CREATE_ALWAYS,
                                  FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return;
    const auto length = static_cast<DWORD>(std::strlen(text.get()));
    DWORD written = 0;
    const bool whole =
        ::WriteFile(file.get(), text.get(), length, &written, nullptr) && written == length;
    file.reset();
    if (!whole) {
        // A script cut short could loop or delete the wrong thing: none at all is safer.
        ::DeleteFileA(scriptPath.get());
        return;
    }
    ::SetFileAttributesA(scriptPath.get(), FILE_ATTRIBUTE_NORMAL);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    // Quoted: a temporary folder with blanks would otherwise be split into a program name and
    // arguments, and the system would try "C:\Documents.exe" and the like first.
    if (::CreateProcessA(nullptr, commandLine.get(), nullptr, nullptr, FALSE,
                         DETACHED_PROCESS | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                         &process)) {
        UniqueHandle processHandle(process.hProcess);
        UniqueHandle threadHandle(process.hThread);
    }
}

}  // namespace kelvara
