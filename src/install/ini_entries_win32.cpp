// The INI phase: one INI entry record at a time, written with the system's profile functions.
// A file that the run creates gets a "b" line; a file that was there before (win.ini, a file of
// another program) is never logged, so neither a rollback nor the uninstaller deletes it.
#include <windows.h>

#include "install/folder_chain_win32.h"
#include "install/config_records.h"
#include "install/install_run.h"
#include "install/record_phases.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "setup/folder_token_names.h"
#include "setup/setup_state.h"

namespace kelvara {
namespace {

constexpr DWORD kIniStringRoom = 32767;  // characters read of a value to append to

const char* optional(const char* field) {
    return *field ? field : nullptr;
}

// The value to write with the append flag: what the file holds now, then the record's value.
char* appendedValue(const char* section, const char* key, const char* value, const char* file) {
    HeapBlock current(kIniStringRoom);
    if (!current.get()) return nullptr;
    char* text = static_cast<char*>(current.get());
    ::GetPrivateProfileStringA(section, key, "", text, kIniStringRoom, file);
    return strConcat5(text, value);
}

}  // namespace

bool installIniEntry(InstallRun& run, const char* record) {
    RecordFields fields;
    fields.read(record);
    const char* file = fields.get(kIniFileField);
    if (!*file) return true;  // no file to write to
    const char* section = fields.get(kIniSectionField);
    const char* key = optional(fields.get(kIniKeyField));
    const char* value = optional(fields.get(kIniValueField));

    // Where the file is looked for: a bare name in the Windows folder, not the current folder.
    HeapString location(iniFileLocation(file, setupState.folderPaths.get(kTokenWindows)));
    const bool existed = !location || pathExists(location.get());
    if (!existed && iniPlace(file) == IniPlace::withFolder) {
        HeapString folder(folderPart(file));
        if (!folder || createFolderChain(run, folder.get()) != 0) {
            setupState.installSucceeded = false;
            return false;
        }
    }

    // Without a key the whole section goes, whatever the value: there is nothing to append to.
    HeapString appended;
    if (key && iniAppendFlag(fields.get(kIniAppendField))) {
        appended.reset(appendedValue(section, key, value ? value : "", file));
        if (appended) value = appended.get();
    }
    ::WritePrivateProfileStringA(section, key, value, file);

    // Logged once the file is really there: a write that made nothing (deleting from a missing
    // file, a folder that could not be made) leaves no line behind.
    if (!existed && pathExists(location.get())) logPath(run, kLogFile, location.get(), true);
    return true;
}

}  // namespace kelvara
