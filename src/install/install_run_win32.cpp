#include "install/install_run_win32.h"

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/startup_messages.h"
#include "install/install_state.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "worker/temp_folder_win32.h"
#include "worker/worker_state.h"

namespace kelvara {

namespace {

constexpr const char* kRollbackLogFailed =
    "The installation cannot write its rollback log:\n%s\n\nIt stops, and removes what it has "
    "installed so far.";

}  // namespace

bool RollbackLogFile::create(const char* path) {
    // Not marked temporary: the cache would keep it off the disk, which it must reach.
    file_.reset(::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    error_ = 0;
    return file_.valid();
}

void RollbackLogFile::close() {
    file_.reset();
}

void RollbackLogFile::write(const char* text, std::size_t length) {
    if (!file_ || error_ || length == 0) return;
    DWORD written = 0;
    if (!::WriteFile(file_.get(), text, static_cast<DWORD>(length), &written, nullptr)) {
        error_ = ::GetLastError();
    } else if (written != length) {
        error_ = ERROR_DISK_FULL;
    }
}

bool RollbackLogFile::makeDurable() {
    if (!file_ || error_) return false;
    if (!::FlushFileBuffers(file_.get())) error_ = ::GetLastError();
    return error_ == 0;
}

char* newTempName() {
    char name[MAX_PATH + 1] = {};
    const char* folder = runTempFolder();
    if (!folder || !::GetTempFileNameA(folder, "KVR", 0, name)) return nullptr;
    return strDupExtra(name, 0);
}

bool journalFailed(InstallRun& run) {
    const DWORD error = run.rollbackFile.error();
    if (!error) return false;
    if (!run.rollbackLogReported) {
        run.rollbackLogReported = true;
        installState.installSucceeded = false;
        messageBoxFormat(run.owner(), setupState.setupCaption.get(), kRollbackLogFailed,
                         systemErrorText(error), MB_ICONERROR);
    }
    return true;
}

PhaseOutcome checkpoint(InstallRun& run) {
    // A rollback log that could not take a line could not undo what follows: the run stops here.
    if (journalFailed(run)) return PhaseOutcome::stop;
    // Only the wizard holds or cancels a run; a silent run has no one who could, and its
    // thousands of checkpoints would each cost two calls to the system for nothing.
    if (runEnvironment.silentMode && !run.owner()) return PhaseOutcome::proceed;
    ::WaitForSingleObject(workerState.proceedEvent.get(), INFINITE);
    MSG message;
    // Thread messages only (no window): the wizard posts the quit message to the thread.
    if (::PeekMessageA(&message, reinterpret_cast<HWND>(-1), WM_QUIT, WM_QUIT, PM_REMOVE))
        run.quitTaken = true;
    return run.quitTaken ? PhaseOutcome::cancelled : PhaseOutcome::proceed;
}

void logPath(InstallRun& run, char kind, const char* path, bool toRollback,
             bool excludeSystemFolder) {
    unsigned flags =
        (toRollback ? kLogToRollback : 0) | (excludeSystemFolder ? kLogExcludeSystemFolder : 0);
    run.log.addPath(kind, path, flags);
}

bool freeNameBeside(InstallRun& run, const char* path, char (&name)[MAX_PATH + 1]) {
    constexpr std::uint32_t kNames = 0x10000;  // four hexadecimal digits
    HeapString folder(folderPart(path));
    if (!folder) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    const char* in = *folder.get() ? folder.get() : ".";
    if (lstrlenA(in) + 13 > MAX_PATH) {  // "\KVR0000.tmp" and the end
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // Spread over the names as the system's own are, from where the run is.
    if (run.nextName == 0) run.nextName = ::GetTickCount() | 1;
    for (std::uint32_t tried = 0; tried < kNames; ++tried) {
        const std::uint32_t number = run.nextName++ % kNames;
        ::wsprintfA(name, "%s\\KVR%04X.tmp", in, number);
        if (::GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES) continue;
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return true;
        // A file about to go (deleted, still held open) answers access denied: the next name.
        if (error == ERROR_ACCESS_DENIED) continue;
        ::SetLastError(error);
        return false;  // the folder is missing or cannot be looked into
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return false;
}

bool surelyMissing(const char* path) {
    if (::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool journalNewItem(InstallRun& run, char kind, const char* path) {
    if (run.log.addPath(kind, path, kLogToRollback | kLogRollbackOnly) != LogAddResult::added) {
        installState.installSucceeded = false;
        return false;
    }
    return !journalFailed(run);
}

bool noteBackup(InstallRun& run, const char* backup, const char* target) {
    if (run.log.addEscaped(kLogReplacedFile, backup, target, kLogToRollback | kLogRollbackOnly) !=
            LogAddResult::added ||
        !run.rollbackFile.makeDurable()) {
        return false;
    }
    run.replacedBackups.append(backup);
    run.replacedTargets.append(target);
    return true;
}

void forgetBackup(InstallRun& run) {
    // The last one noted: its move did not happen, and the name may be someone else's now.
    if (run.replacedBackups.count() > 0)
        run.replacedBackups.removeAt(run.replacedBackups.count() - 1);
    if (run.replacedTargets.count() > 0)
        run.replacedTargets.removeAt(run.replacedTargets.count() - 1);
}

bool keepCopyForRollback(InstallRun& run, const char* path) {
    if (!path || !run.backedUpFiles.isCreated() || !run.replacedBackups.isCreated()) return false;
    if (run.backedUpFiles.find(path, 0, 0) >= 0) return true;
    char backup[MAX_PATH + 1] = {};
    if (!freeNameBeside(run, path, backup)) return false;
    // The file itself is set aside and a copy takes its place: the rollback puts back the very
    // file, with its times to the last digit, which no copy would keep on every file system.
    // Logged before the move, so that nothing between the two steps loses the file.
    if (!noteBackup(run, backup, path)) return false;
    if (!::MoveFileA(path, backup)) {
        forgetBackup(run);
        return false;
    }
    if (!::CopyFileA(backup, path, TRUE)) {
        ::MoveFileA(backup, path);
        return false;
    }
    run.backedUpFiles.append(path);
    return true;
}

void reportDamagedImage(InstallRun& run) {
    installState.installSucceeded = false;
    messageBoxFormat(run.owner(), kStartupCaption, kErrorDamaged, nullptr, MB_ICONERROR);
}

void reportUnreadableImage(InstallRun& run, DWORD error) {
    // Cut short, or content that does not decode: damage the checksum could not see.
    if (error == ERROR_HANDLE_EOF || error == ERROR_FILE_CORRUPT) return reportDamagedImage(run);
    installState.installSucceeded = false;
    messageBoxFormat(run.owner(), setupState.setupCaption.get(), kImageUnreadable,
                     systemErrorText(error), MB_ICONERROR);
}

bool askToGoOn(InstallRun& run, ErrorMessage item, const char* a1, const char* a2, const char* a3) {
    installState.installSucceeded = false;
    return messageBoxFormat(run.owner(), setupState.setupCaption.get(), text(item), a1, a2, a3,
                            MB_YESNO | MB_ICONERROR) == IDYES;
}

int askUser(InstallRun& run, ErrorMessage item, const char* a1, const char* a2, UINT style) {
    return messageBoxFormat(run.owner(), setupState.setupCaption.get(), text(item), a1, a2, style);
}

int askUser(InstallRun& run, SetupMessage item, const char* a1, const char* a2, UINT style) {
    return messageBoxFormat(run.owner(), setupState.setupCaption.get(), text(item), a1, a2, style);
}

}  // namespace kelvara
