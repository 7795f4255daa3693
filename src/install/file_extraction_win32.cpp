#include "install/file_extraction_win32.h"

#include <windows.h>

#include <utility>

#include "environment/folder_expansion.h"
#include "environment/install_scope.h"
#include "environment/run_environment.h"
#include "formats/folder_token_names.h"
#include "formats/package_format.h"
#include "formats/setup_state.h"
#include "formats/stream_inflate.h"
#include "formats/variables.h"
#include "install/folder_chain_win32.h"
#include "install/install_messages.h"
#include "install/install_run_win32.h"
#include "install/install_state.h"
#include "install/overwrite_rules.h"
#include "runtime/access_check_win32.h"
#include "runtime/file_deletion_win32.h"
#include "runtime/file_version_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/percent.h"
#include "runtime/run_log_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

constexpr UINT kQuestion = MB_YESNO | MB_ICONERROR;
constexpr const char* kDamagedPackage = "The installer file is damaged!";

// What became of one entry: the run goes on, or it ends (a No answer).
enum class Step { next, endRun };

struct Target {
    const char* path = nullptr;
    bool existed = false;
    DWORD attributes = 0;
    std::uint64_t lastWriteTime = 0;
};

// Writes to a file handle and keeps the reason of a failure.
class FileWriter : public ByteWriter {
  public:
    explicit FileWriter(HANDLE file) : file_(file) {}
    bool write(const unsigned char* bytes, std::size_t length) override {
        DWORD written = 0;
        const bool wrote = ::WriteFile(file_, bytes, static_cast<DWORD>(length), &written, nullptr);
        if (wrote && written == length) return true;
        // A write that succeeds with fewer bytes found no room for the rest; the last error is
        // then stale (from creating the file, say) and would name the wrong cause.
        error_ = wrote ? ERROR_DISK_FULL : ::GetLastError();
        if (error_ == 0) error_ = ERROR_WRITE_FAULT;
        return false;
    }
    DWORD error() const { return error_; }

  private:
    HANDLE file_;
    DWORD error_ = 0;
};

FILETIME toFileTime(std::uint64_t value) {
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(value);
    t.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return t;
}

std::uint64_t fromFileTime(const FILETIME& t) {
    return (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void setProgress(InstallRun& run, std::uint32_t entryOffset) {
    std::uint32_t total = run.groupsEnd - run.groupsStart;
    if (total == 0) return;
    run.display.setPosition(static_cast<int>(percentOf(entryOffset - run.groupsStart, total)));
}

// --- deciding ---

void lookAtTarget(Target& target) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    target.existed = ::GetFileAttributesExA(target.path, GetFileExInfoStandard, &data) != 0;
    if (!target.existed) return;
    target.attributes = data.dwFileAttributes;
    target.lastWriteTime = fromFileTime(data.ftLastWriteTime);
}

bool shouldWrite(const FileGroupHeader& group, const PackageEntry& entry, const Target& target) {
    if (!target.existed || group.overwriteMode == kOverwriteAlways) return true;
    if (group.overwriteMode == kOverwriteNever) return false;
    OverwriteFacts facts;
    facts.mode = group.overwriteMode;
    facts.rule = group.decisionRule;
    facts.packageVersion = VersionPair{entry.file.versionMs, entry.file.versionLs};
    facts.installedHasVersion = versionFromResource(target.path, &facts.installedVersion, false);
    facts.packageWriteTime = entry.file.lastWriteTime;
    facts.installedWriteTime = target.lastWriteTime;
    return mayReplaceExisting(facts);
}

// --- opening ---

HANDLE createForWriting(const char* path, DWORD flags) {
    return ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, flags,
                         nullptr);
}

// The target could not be opened with access denied: messages 2 or 8 when the user lacks the
// right, else 5 or 11. True to go on without it.
bool reportAccessDenied(InstallRun& run, const Target& target) {
    HeapString folder(folderPart(target.path));
    const char* object = target.existed ? target.path : (folder ? folder.get() : "");
    bool granted = true;
    DWORD checked = checkAccess(runEnvironment.threadToken.get(), object, kObjectFile,
                                target.existed ? GENERIC_WRITE : FILE_ADD_FILE, &granted);
    if (checked == 0 && !granted) {
        return askToGoOn(run, target.existed ? kMsgFileNoWriteAccess : kMsgFolderNoAddFile,
                         target.path, object);
    }
    return askToGoOn(run, target.existed ? kMsgFileOpenError : kMsgFileCreateError, target.path,
                     systemErrorText(ERROR_ACCESS_DENIED));
}

// A temporary file for a target in use; its path goes to *tempPath. Invalid handle when it
// cannot be made (the caller reports). Beside the target: the move at the restart cannot cross
// volumes, and the run's temporary folder must be gone when the run ends. Only a folder that
// takes no new file has it made in the temporary folder.
HANDLE createDeferredTemp(InstallRun& run, const char* target, HeapString& tempPath, DWORD* error) {
    constexpr DWORD kFlags = FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_SEQUENTIAL_SCAN;
    char beside[MAX_PATH + 1] = {};
    if (freeNameBeside(run, target, beside)) {
        // Named in the journal before it is made.
        tempPath.reset(strDupExtra(beside, 0));
        if (!tempPath || !journalNewItem(run, kLogFile, beside)) {
            *error = run.rollbackFile.error() ? run.rollbackFile.error() : ERROR_NOT_ENOUGH_MEMORY;
            return INVALID_HANDLE_VALUE;
        }
        HANDLE file = ::CreateFileA(beside, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    kFlags, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
    }
    // The system makes it in the run's own folder, which goes with the run whatever happens.
    tempPath.reset(newTempName());
    HANDLE file = tempPath ? createForWriting(tempPath.get(), kFlags) : INVALID_HANDLE_VALUE;
    *error = ::GetLastError();
    return file;
}

// Where the bytes of one file go: the target itself (a new file), a file next to an existing
// target that replaces it once complete, or a temporary file that replaces a target in use at
// the next restart.
struct Destination {
    UniqueFile file;
    HeapString deferredTemp;  // set: the target is in use
    HeapString sibling;       // set: the target exists and is replaced when the data is complete
    HeapString keptCopy;      // set: the target is written in place; its old content is here
};

// A new file in the target's own folder (so that replacing the target is a rename on one
// volume), open for writing; false when the folder takes none.
bool openSibling(InstallRun& run, const char* target, Destination& out) {
    char name[MAX_PATH + 1] = {};
    if (!freeNameBeside(run, target, name)) return false;
    out.sibling.reset(strDupExtra(name, 0));
    // Named in the journal before it is made: a run cut off at any moment leaves none behind.
    if (out.sibling && journalNewItem(run, kLogFile, name)) {
        out.file.reset(::CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    }
    if (out.sibling && out.file) return true;
    out.file.reset();
    out.sibling.reset();  // nothing was made
    return false;
}

// Copies an existing target into the temporary folder and tells the rollback of the copy; the
// line is written only once the copy is whole, so that no rollback puts back half a file. The
// copy's path goes to `backup` (null when none was kept).
bool keepCopyInTemp(InstallRun& run, const char* target, HeapString& backup) {
    backup.reset(newTempName());
    if (!backup) return false;
    if (!::CopyFileA(target, backup.get(), FALSE) || !noteBackup(run, backup.get(), target)) {
        const DWORD error = ::GetLastError();
        ::SetFileAttributesA(backup.get(), FILE_ATTRIBUTE_NORMAL);  // the copy's may be read-only
        ::DeleteFileA(backup.get());
        backup.reset();
        ::SetLastError(error);
        return false;
    }
    return true;
}

// Opens where the target's bytes go (see Destination). An invalid handle with Step::next means
// the file is skipped.
Step openTarget(InstallRun& run, const Target& target, bool sharedGroup, Destination& out) {
    UniqueFile& file = out.file;
    HeapString& tempPath = out.deferredTemp;
    for (;;) {
        if (target.existed) {
            // The target is only opened to learn whether it may be replaced: never truncated,
            // so a write that fails later leaves it as it was.
            file.reset(::CreateFileA(target.path, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
            if (file) {
                file.reset();
                if (openSibling(run, target.path, out)) return Step::next;
                // A folder that takes no new file (or a path too long for one beside it) but
                // lets the target be written: in place, once its old content is kept in the
                // temporary folder for the rollback.
                if (keepCopyInTemp(run, target.path, out.keptCopy)) {
                    file.reset(::CreateFileA(target.path, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                             TRUNCATE_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                             nullptr));
                }
            }
        } else if (journalNewItem(run, kLogFile, target.path)) {
            file.reset(createForWriting(target.path, FILE_FLAG_SEQUENTIAL_SCAN));
        } else {
            return Step::endRun;  // told: the journal cannot take it
        }
        if (file) return Step::next;
        DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
            if (!sharedGroup && askUser(run, kMsgFileInUse, target.path, nullptr,
                                        MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
                continue;
            }
            DWORD tempError = 0;
            file.reset(createDeferredTemp(run, target.path, tempPath, &tempError));
            if (file) return Step::next;
            if (tempPath) ::DeleteFileA(tempPath.get());
            tempPath.reset();
            return askToGoOn(run, kMsgTempFileError, target.path, systemErrorText(tempError))
                       ? Step::next
                       : Step::endRun;
        }
        const bool goOn =
            error == ERROR_ACCESS_DENIED
                ? reportAccessDenied(run, target)
                : askToGoOn(run, target.existed ? kMsgFileOpenError : kMsgFileCreateError,
                            target.path, systemErrorText(error));
        return goOn ? Step::next : Step::endRun;
    }
}

// --- writing ---

// The buffer the install thread inflates in itself: made when first needed (with the helper
// running, seldom or never). False when there is no memory for it.
bool allocateInflateBuffer(InstallRun& run) {
    if (!run.inflateBuffer)
        run.inflateBuffer.reset(static_cast<unsigned char*>(heapAlloc(kInflatePieceSize)));
    return static_cast<bool>(run.inflateBuffer);
}

// What a block reader's result means for the file: 0, or the error to report; when the image
// could not be read or is damaged, 0 with its error in *imageError.
DWORD blockError(InstallRun& run, BlockReader::Result result, DWORD writeError, DWORD* imageError) {
    switch (result) {
        case BlockReader::Result::written:
            return 0;
        case BlockReader::Result::writeFailed:
            return writeError;
        case BlockReader::Result::noMemory:
            return ERROR_NOT_ENOUGH_MEMORY;
        case BlockReader::Result::unreadable:
            *imageError = run.blocks.imageError() ? run.blocks.imageError() : ERROR_READ_FAULT;
            return 0;
        case BlockReader::Result::damaged:
            break;
    }
    *imageError = ERROR_FILE_CORRUPT;
    return 0;
}

// Writes the entry's content: from the helper that inflates ahead when it holds it, else read
// and inflated here. 0, or the error of the write that failed; when the image could not be read,
// 0 with its error in *imageError.
DWORD writeData(InstallRun& run, HANDLE file, const PackageEntry& entry, DWORD* imageError) {
    *imageError = 0;
    const std::uint32_t progressTotal = run.groupsEnd - run.groupsStart;
    if (entry.isInBlock()) {
        FileWriter writer(file);
        const BlockReader::Result result =
            run.blocks.writeEntry(run.groupNumber, entry, writer, &run.display);
        return blockError(run, result, writer.error(), imageError);
    }
    if (run.ahead.holds(entry)) {
        FileWriter writer(file);
        const int startPosition = run.display.position();
        switch (run.ahead.writeEntry(entry, writer, &run.display, progressTotal)) {
            case InflateAhead::Result::written:
                return 0;
            case InflateAhead::Result::writeFailed:
                return writer.error();
            case InflateAhead::Result::unavailable:
                writeRunLog("files: the second thread stopped; content is read here from now on");
                // Part of it may be written: all of it again, from here.
                ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
                run.display.setPosition(startPosition);
                break;
        }
    }
    if (!allocateInflateBuffer(run)) return ERROR_NOT_ENOUGH_MEMORY;
    FileWriter writer(file);
    if (writeEntryData(run.content, entry, writer, run.inflateBuffer.get(), kInflatePieceSize,
                       &run.display, progressTotal)) {
        return 0;
    }
    if (writer.error()) return writer.error();
    if (run.content.error() == 0) return ERROR_NOT_ENOUGH_MEMORY;  // the inflater's own
    *imageError = run.content.error();
    return 0;
}

// Writes until it works or the user stops: disk full asks to write again from the start.
// Step::next with *written false means the file is skipped. An image that cannot be read ends
// the run: every file after this one would fail the same way.
Step writeWithRetry(InstallRun& run, HANDLE file, const PackageEntry& entry, const char* path,
                    bool* written) {
    *written = false;
    const int startPosition = run.display.position();
    for (;;) {
        DWORD imageError = 0;
        DWORD error = writeData(run, file, entry, &imageError);
        if (imageError != 0) {
            writeRunLog("files: the image could not be read for %s", path);
            reportUnreadableImage(run, imageError);
            return Step::endRun;
        }
        if (error == 0) {
            *written = true;
            return Step::next;
        }
        if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
            installState.installSucceeded = false;
            if (askUser(run, kMsgDiskFull, path, nullptr, MB_OKCANCEL | MB_ICONERROR) != IDOK)
                return Step::endRun;
            ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
            run.display.setPosition(startPosition);
            continue;
        }
        return askToGoOn(run, kMsgWriteError, path, systemErrorText(error)) ? Step::next
                                                                            : Step::endRun;
    }
}

// --- one entry ---

Step placeFolder(InstallRun& run, const PackageEntry& entry, const char* path) {
    run.display.showPath(path);
    // The journal names a folder before it is made; a folder that is there already is not.
    if (surelyMissing(path) && !journalNewItem(run, kLogFolder, path)) return Step::endRun;
    const bool created = ::CreateDirectoryA(path, nullptr) != 0;
    bool goOn = created;
    if (!goOn) {
        DWORD error = ::GetLastError();
        goOn = error == ERROR_ALREADY_EXISTS || (error == ERROR_ACCESS_DENIED && pathExists(path));
        if (!goOn) {
            installState.installSucceeded = false;
            int answer =
                error == ERROR_ACCESS_DENIED
                    ? reportFolderAccessDenied(run, path, path, ERROR_SUCCESS)
                    : askUser(run, kMsgFolderError, path, systemErrorText(error), kQuestion);
            if (answer != IDYES) return Step::endRun;
        }
    }
    // Logged only when made by this run: a folder that was there before keeps what it holds.
    // (In the journal already, from before it was made.)
    if (created)
        run.log.addPath(kLogFolder, path, kLogToRollback | kLogJournaled | kLogExcludeSystemFolder);
    run.folderStack.set(static_cast<int>(entry.depth) + 1, entry.name);
    return Step::next;
}

// Records a file for its replacement at restart: the three lists stay in step, or nothing is
// recorded. False when out of memory.
bool addDeferredFile(const char* temp, const char* target, bool shared) {
    const int n = workerState.deferredTemps.count();
    if (workerState.deferredTemps.append(temp) == n &&
        workerState.deferredTargets.append(target) == n &&
        workerState.deferredShared.append(shared ? "1" : "0") == n) {
        return true;
    }
    for (StringList* list :
         {&workerState.deferredTemps, &workerState.deferredTargets, &workerState.deferredShared}) {
        while (list->count() > n) list->removeAt(list->count() - 1);
    }
    return false;
}

// Puts the complete sibling in the target's place and keeps the target's old content next to
// it until the run ends: the rollback brings it back ("k" line), success deletes it. 0, or the
// error of the rename that failed, with the target as it was.
DWORD replaceWithSibling(InstallRun& run, const Target& target, const char* sibling) {
    char backup[MAX_PATH + 1] = {};
    if (!freeNameBeside(run, target.path, backup))
        return ::GetLastError() ? ::GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
    // The rollback learns of the backup before there is one: whatever stops the run between the
    // two renames, the rollback finds the old content (a backup that was never made is ignored).
    if (!noteBackup(run, backup, target.path)) return ERROR_NOT_ENOUGH_MEMORY;
    if (!::MoveFileA(target.path, backup)) {
        const DWORD error = ::GetLastError();
        forgetBackup(run);
        return error;
    }
    // The backup keeps the target's own attributes (the read-only flag was taken off to write).
    ::SetFileAttributesA(backup, target.attributes);
    if (!::MoveFileA(sibling, target.path)) {
        DWORD error = ::GetLastError();
        ::MoveFileA(backup, target.path);
        return error;
    }
    return 0;
}

// Creates the target when there is none yet: most are new, and the creation tells so without
// a look at the target first. An invalid handle when it exists or could not be created (the
// usual way then finds out which, and reports).
HANDLE createIfNew(const char* path) {
    return ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

Step placeFile(InstallRun& run, const FileGroupHeader& group, const PackageEntry& entry,
               const char* path) {
    Target target;
    target.path = path;
    Destination out;
    // A target that is not there yet is named in the journal before it is made: a run cut off
    // at any moment leaves none of it behind.
    if (surelyMissing(path)) {
        if (!journalNewItem(run, kLogFile, path)) return Step::endRun;
        out.file.reset(createIfNew(path));
    }
    if (!out.file) {
        lookAtTarget(target);
        if (!shouldWrite(group, entry, target)) return Step::next;
    }

    run.display.showPath(path);
    const bool readOnly = target.existed && (target.attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly) ::SetFileAttributesA(path, target.attributes & ~FILE_ATTRIBUTE_READONLY);
    // A user's own installation shares its files with no one: the machine's counts are not its.
    const bool sharedGroup = group.shared != 0 && !runEnvironment.forUser;
    if (!out.file) {
        Step opened = openTarget(run, target, sharedGroup, out);
        if (!out.file) {
            if (readOnly) ::SetFileAttributesA(path, target.attributes);
            return opened;
        }
    }

    bool written = false;
    Step step = writeWithRetry(run, out.file.get(), entry, path, &written);
    if (!written) {
        out.file.reset();
        // A partial file the run made is removed; an existing target was not touched, or was
        // written in place and gets its old content back, and gets its attributes back.
        if (out.deferredTemp) {
            ::DeleteFileA(out.deferredTemp.get());
        } else if (out.sibling) {
            ::DeleteFileA(out.sibling.get());
        } else if (!target.existed) {
            ::DeleteFileA(path);
        } else if (out.keptCopy) {
            // Written in place and given up: the old content comes back now (the rollback's
            // and the end's note of the copy then finds no file, and does nothing).
            putBackReplacedFile(out.keptCopy.get(), path);
        }
        if (readOnly) ::SetFileAttributesA(path, target.attributes);
        return step;
    }
    FILETIME created = toFileTime(entry.file.creationTime);
    FILETIME accessed = toFileTime(entry.file.lastAccessTime);
    FILETIME modified = toFileTime(entry.file.lastWriteTime);
    ::SetFileTime(out.file.get(), &created, &accessed, &modified);
    out.file.reset();

    if (out.sibling) {
        DWORD error = replaceWithSibling(run, target, out.sibling.get());
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
            error == ERROR_LOCK_VIOLATION) {
            // Held by a program that lets it be written but not renamed: the complete new file
            // replaces it at the next restart.
            out.deferredTemp = std::move(out.sibling);
        } else if (error != 0) {
            ::DeleteFileA(out.sibling.get());
            if (readOnly) ::SetFileAttributesA(path, target.attributes);
            return askToGoOn(run, kMsgWriteError, path, systemErrorText(error)) ? Step::next
                                                                                : Step::endRun;
        }
    }
    if (out.deferredTemp) {
        // The target stays as it is until the restart, its read-only flag included.
        if (readOnly) ::SetFileAttributesA(path, target.attributes);
        if (!addDeferredFile(out.deferredTemp.get(), path, sharedGroup)) {
            ::DeleteFileA(out.deferredTemp.get());
            return askToGoOn(run, kMsgTempFileError, path, systemErrorText(ERROR_NOT_ENOUGH_MEMORY))
                       ? Step::next
                       : Step::endRun;
        }
        ::SetFileAttributesA(out.deferredTemp.get(), entry.file.attributes);
        return Step::next;
    }
    // A file the run has just made already carries the archive attribute alone, which is what
    // nearly every packaged file asks for: setting it again would only reopen the file.
    if (target.existed || entry.file.attributes != FILE_ATTRIBUTE_ARCHIVE)
        ::SetFileAttributesA(path, entry.file.attributes);
    if (sharedGroup) {
        // A shared file that was there before is never offered for deletion by a rollback: the
        // rollback only gives its count back.
        logPath(run, kLogSharedFile, path, !target.existed);
        if (target.existed)
            run.log.addEscaped(kLogExistingShared, path, nullptr,
                               kLogToRollback | kLogRollbackOnly);
        changeSharedCount(path, false);
    } else {
        // A new file's line is in the journal already, from before it was made.
        run.log.addPath(kLogFile, path, target.existed ? 0 : kLogToRollback | kLogJournaled);
    }
    return Step::next;
}

// --- groups ---

// The group's target folder, expanded and made. False when the run ends.
bool openGroup(InstallRun& run, const FileGroupHeader& group) {
    HeapString withVariables(expandVariables(group.targetFolder));
    HeapString folder(expandFolderTokens(withVariables.get()));
    if (!folder) return false;
    // A user's installation puts nothing into the machine's own places, even with rights that
    // would let it. The group's files cannot be passed over (they stream in order): the run ends.
    if (runEnvironment.forUser && machineOnlyTokenIn(group.targetFolder)) {
        installState.installSucceeded = false;
        messageBoxFormat(run.owner(), setupState.setupCaption.get(),
                         kMachineFolderInUserInstallation, folder.get(), MB_ICONERROR);
        return false;
    }
    run.folderStack.clear();
    // "D:\" and "C:\App\" hold their separator already: the entries' paths get no second one.
    HeapString base(strDupExtra(folder.get(), 0));
    if (!base) return false;
    stripTrailingSeparator(base.get());
    run.folderStack.set(0, base.get());
    run.display.showPath(folder.get());
    // What the group makes belongs to the components it names.
    run.groupPart.reset(partOfComponents(setupState.choices, group.conditionComponents));
    run.log.setPart(run.groupPart.get());
    return createFolderChain(run, folder.get()) == 0;
}

Step processEntry(InstallRun& run, const FileGroupHeader& group, const PackageEntry& entry) {
    // A file entry may name any depth; past the items set, its path skips them (and a depth
    // beyond the int range must not turn negative, which would leave the name alone).
    const int depth = entry.depth > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(entry.depth);
    HeapString path(run.folderStack.joinPath(depth, entry.name));
    if (!path) return Step::endRun;
    if (!entry.isFile()) return placeFolder(run, entry, path.get());
    const Step step = placeFile(run, group, entry, path.get());
    run.ahead.finishEntry(entry);
    return step;
}

// Shows a system error that ends the run.
void reportFailure(InstallRun& run, DWORD error) {
    installState.installSucceeded = false;
    messageBoxFormat(run.owner(), setupState.setupCaption.get(), "%s", systemErrorText(error),
                     MB_ICONERROR);
}

// Content written from a block stands only once the whole block decoded sound: the last one's
// outcome is known after its last file. False, with the reason shown, when it did not.
bool lastBlockSound(InstallRun& run) {
    DWORD imageError = 0;
    const DWORD error = blockError(run, run.blocks.finish(), 0, &imageError);
    if (imageError != 0) reportUnreadableImage(run, imageError);
    if (error != 0) reportFailure(run, error);
    return imageError == 0 && error == 0;
}

}  // namespace

PhaseOutcome extractFiles(InstallRun& run) {
    constexpr PhaseOutcome stop = PhaseOutcome::stop;
    if (!run.folderStack.isCreated() && !run.folderStack.create(5)) return stop;
    if (!run.replacedBackups.isCreated() && !run.replacedBackups.create(16)) return stop;
    if (!run.replacedTargets.isCreated() && !run.replacedTargets.create(16)) return stop;
    if (!run.backedUpFiles.isCreated() && !run.backedUpFiles.create(16)) return stop;
    // The helper is stopped on every way out: the phases after this one may delete the files.
    ScopeGuard stopHelper([&run] { run.ahead.stop(); });
    ScopeGuard stopBlocks([&run] { run.blocks.stop(); });
    ScopeGuard noPart([&run] { run.log.setPart(nullptr); });
    if (run.ahead.start(run.image, runEnvironment.stubHeader.packageOffset, run.groupsStart,
                        run.groupsEnd)) {
        writeRunLog("files: inflated ahead by a second thread");
    } else if (!allocateInflateBuffer(run)) {
        return stop;
    }
    if (run.largestBlock != 0) {
        if (!run.blocks.start(run.image, runEnvironment.stubHeader.packageOffset, run.groupsStart,
                              run.groupsEnd, run.largestBlock)) {
            reportFailure(run, ERROR_NOT_ENOUGH_MEMORY);
            return stop;
        }
        char largest[12], buffers[12], helpers[12];
        ::wsprintfA(largest, "%lu", static_cast<unsigned long>(run.largestBlock));
        ::wsprintfA(buffers, "%u", run.blocks.buffers());
        ::wsprintfA(helpers, "%u", run.blocks.helpers());
        writeRunLog("files: blocks of up to %s bytes in %s buffers, decoded by %s helper threads",
                    largest, buffers, helpers);
    }
    PackageWalker walker(run.headers, run.groupsStart, run.groupsEnd);
    FileGroupHeader group;
    run.groupNumber = 0;
    for (bool first = true; walker.nextGroup(group); first = false) {
        if (!first) ++run.groupNumber;
        // The files of a part not chosen (the helpers pass over the same groups).
        if (!choiceConditionMet(setupState.choices, group.conditionComponents,
                                group.conditionTasks)) {
            continue;
        }
        PhaseOutcome outcome = checkpoint(run);
        if (outcome != PhaseOutcome::proceed) return outcome;
        if (!openGroup(run, group)) return stop;
        for (;;) {
            std::uint32_t entryOffset = walker.offset();
            PackageEntry entry;
            if (!walker.nextEntry(entry)) break;
            outcome = checkpoint(run);
            if (outcome != PhaseOutcome::proceed) return outcome;
            // The content of an in-block file lies in its block: the block reader moves the bar.
            if (!entry.isInBlock()) setProgress(run, entryOffset);
            if (processEntry(run, group, entry) == Step::endRun) return stop;
        }
        run.folderStack.clear();
    }
    if (walker.unreadable()) {
        reportUnreadableImage(run, run.headers.error());
        return stop;
    }
    if (walker.damaged()) {
        // The image passed its checksum, so this is a package the builder should never make.
        installState.installSucceeded = false;
        messageBoxFormat(run.owner(), setupState.setupCaption.get(), kDamagedPackage, nullptr,
                         MB_ICONERROR);
        return stop;
    }
    if (!lastBlockSound(run)) return stop;
    return PhaseOutcome::proceed;
}

}  // namespace kelvara
