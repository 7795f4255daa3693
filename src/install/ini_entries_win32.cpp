// The INI phase: one INI entry record at a time, written with the system's profile functions.
// A file that the run creates gets a "b" line; a file that was there before (win.ini, a file of
// another program) is never deleted: each entry the run writes into it gets a "j" line with what
// it held before, which the uninstaller and a rollback put back.
#include <windows.h>

#include "environment/run_environment.h"
#include "formats/folder_token_names.h"
#include "install/config_records.h"
#include "install/folder_chain_win32.h"
#include "install/install_messages.h"
#include "install/install_run_win32.h"
#include "install/install_state.h"
#include "install/record_phases.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/text_encoding.h"

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

// Logs the entry as the file holds it before the run writes it, so that the uninstaller and a
// rollback put it back: its value, or that it had none. A whole section that a record deletes
// is not logged: the profile functions cannot read it back as it was.
void logEntryBeforeWrite(InstallRun& run, const char* section, const char* key, const char* file,
                         const char* location) {
    // A default no INI value can hold tells a missing key from an empty value.
    static const char kMissing[] = "\x01\x02";
    HeapBlock current(kIniStringRoom);
    if (!current.get() || !key) return;
    char* text = static_cast<char*>(current.get());
    ::GetPrivateProfileStringA(section, key, kMissing, text, kIniStringRoom, file);
    const bool had = lstrcmpA(text, kMissing) != 0;
    run.log.addPreviousIniEntry(location, section, key, had ? text : nullptr, kLogToRollback);
}

// A new file for an entry that is not all ASCII, written by a process whose texts are UTF-8,
// starts as UTF-16 (its byte order mark alone): the system's profile functions then keep every
// character in it, and any program reads it back right, whatever its code page. In the ANSI
// file the system would otherwise make, a program whose code page is not UTF-8 reads garbage.
void startUnicodeFile(const char* location, const char* section, const char* key,
                      const char* value) {
    if (!textIsUtf8() || (isAsciiText(section) && isAsciiText(key) && isAsciiText(value))) return;
    UniqueFile file(::CreateFileA(location, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    static const unsigned char kByteOrderMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    if (file) ::WriteFile(file.get(), kByteOrderMark, sizeof kByteOrderMark, &written, nullptr);
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
    HeapString location(iniFileLocation(file, runEnvironment.folderPaths.get(kTokenWindows)));
    const bool existed = !location || pathExists(location.get());
    if (!existed && iniPlace(file) == IniPlace::withFolder) {
        HeapString folder(folderPart(file));
        if (!folder || createFolderChain(run, folder.get()) != 0) {
            installState.installSucceeded = false;
            return false;
        }
    }

    // Without a key the whole section goes, whatever the value: there is nothing to append to.
    HeapString appended;
    if (key && iniAppendFlag(fields.get(kIniAppendField))) {
        appended.reset(appendedValue(section, key, value ? value : "", file));
        if (appended) value = appended.get();
    }
    if (existed && location) {
        // The rollback puts the whole file back, to its last byte and time; the uninstaller,
        // which comes when the file may hold much more, puts back the entries one by one.
        if (!keepCopyForRollback(run, location.get()) && journalFailed(run)) return false;
        logEntryBeforeWrite(run, section, key, file, location.get());
    }
    // A file the write is about to make: the journal names it first.
    if (!existed && location && !journalNewItem(run, kLogFile, location.get())) return false;
    if (!existed && key && value) startUnicodeFile(location.get(), section, key, value);
    const bool written = ::WritePrivateProfileStringA(section, key, value, file) != FALSE;
    const DWORD error = ::GetLastError();

    // Logged once the file is really there: a write that made nothing (deleting from a missing
    // file, a folder that could not be made) leaves no line behind.
    if (!existed && pathExists(location.get())) logPath(run, kLogFile, location.get(), true);
    // Deleting what is not there is no failure; any other write that fails is a failing step.
    if (written || (!existed && !value)) return true;
    return askToGoOn(run, kMsgWriteError, location ? location.get() : file,
                     systemErrorText(error ? error : ERROR_WRITE_FAULT));
}

}  // namespace kelvara
