// The script that deletes the uninstaller's temporary copy once it has ended.
#include "uninstall/self_removal_win32.h"

#include <windows.h>

#include <cstring>

#include "environment/run_environment.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "formats/install_log.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/string_list.h"
#include "runtime/text_case.h"
#include "runtime/text_encoding.h"
#include "uninstall/uninstall_rules.h"
#include "worker/temp_folder_win32.h"

namespace kelvara {

namespace {

constexpr const char* kCommandInterpreter = "cmd.exe";

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

// The run's folder for the batch file: its own name as it is (ASCII, "KVR" and hexadecimal
// digits, which the script's second try needs whole) in the batch form of the folder above.
char* folderForBatch(const char* folder) {
    const char* name = fileNamePart(folder);
    HeapString parent(isAsciiText(name) ? folderPart(folder) : nullptr);
    HeapString batchParent(parent ? pathForBatch(parent.get()) : nullptr);
    return batchParent ? joinFolderName(batchParent.get(), name) : pathForBatch(folder);
}

// A folder an earlier second stage ran from, when it is one a first stage made: directly in the
// temporary folder, "KVR" and more, not this run's.
bool isEarlierStageFolder(const char* folder) {
    HeapString parent(folderPart(folder));
    const char* name = fileNamePart(folder);
    const char* own = runTempFolder();
    return parent && runEnvironment.tempDir &&
           compareTextNoCase(parent.get(), runEnvironment.tempDir.get()) == 0 &&
           std::strncmp(name, "KVR", 3) == 0 && name[3] && std::strchr(name, '\\') == nullptr &&
           (!own || compareTextNoCase(own, folder) != 0);
}

// Deletes what a second stage puts into its folder (its copy, its script), then the folder when
// that leaves it empty.
void removeStageFolder(const char* folder) {
    for (const char* pattern : {"KVR*.tmp", kSelfRemovalScriptName}) {
        HeapString search(joinFolderName(folder, pattern));
        WIN32_FIND_DATAA found;
        HANDLE find = search ? ::FindFirstFileA(search.get(), &found) : INVALID_HANDLE_VALUE;
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            HeapString path(joinFolderName(folder, found.cFileName));
            if (path && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ::SetFileAttributesA(path.get(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.get());
            }
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder);
}

}  // namespace

void takeOverEarlierStages(const char* logPath, const StringList& earlier) {
    for (int i = 0; i < earlier.count(); ++i) {
        const char* folder = earlier.get(i);
        if (folder && isEarlierStageFolder(folder)) removeStageFolder(folder);
    }
    const char* own = runTempFolder();
    HeapString escaped(own ? escapeLogField(own) : nullptr);
    HeapString line(escaped ? strConcat5("w,", escaped.get(), "\n") : nullptr);
    if (!line || !logPath) return;
    UniqueFile log(::CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (log) ::WriteFile(log.get(), line.get(), lstrlenA(line.get()), &written, nullptr);
}

void writeSelfRemovalScript() {
    RunEnvironment& run = runEnvironment;
    // In the run's own folder: a script of that name that someone else made, or may still
    // write to, in the shared temporary folder would run with the uninstaller's rights.
    const char* folder = runTempFolder();
    HeapString scriptPath(folder ? joinFolderName(folder, kSelfRemovalScriptName) : nullptr);
    if (!scriptPath) return;
    HeapString batchFolder(folderForBatch(folder));
    HeapString batchProgram(pathForBatch(run.installerPath.get()));
    HeapString batchScript(batchFolder ? joinFolderName(batchFolder.get(), kSelfRemovalScriptName)
                                       : nullptr);
    if (!batchProgram || !batchScript) return;
    HeapString text(
        selfRemovalScriptText(batchProgram.get(), batchScript.get(), batchFolder.get()));
    HeapString interpreter(inSystemFolder(kCommandInterpreter));
    // /D: no AutoRun command of the registry runs first; /S /C with the whole line quoted once
    // more, so that the interpreter takes the quoted script path as it is.
    HeapString commandLine(strConcat5("cmd.exe /D /S /C \"\"", scriptPath.get(), "\"\""));
    if (!text || !interpreter || !commandLine) return;
    UniqueFile file(::CreateFileA(scriptPath.get(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, CREATE_NEW,
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
    // The interpreter by its full path: a cmd.exe beside the uninstaller or in the current
    // folder is never the one started. It runs in the temporary folder, outside the folder it
    // removes, with a console no one sees, which the programs it starts share.
    if (::CreateProcessA(interpreter.get(), commandLine.get(), nullptr, nullptr, FALSE,
                         CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr, run.tempDir.get(),
                         &startup, &process)) {
        UniqueHandle processHandle(process.hProcess);
        UniqueHandle threadHandle(process.hThread);
        handOverRunTempFolder();
    }
}

}  // namespace kelvara
