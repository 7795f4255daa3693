#include "install/file_extraction_win32.h"

#include <windows.h>

#include "install/file_version_win32.h"
#include "install/folder_chain_win32.h"
#include "install/install_messages.h"
#include "install/install_run.h"
#include "install/overwrite_rules.h"
#include "install/package_format.h"
#include "install/stream_inflate.h"
#include "runtime/access_check.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box.h"
#include "runtime/path_helpers.h"
#include "setup/folder_token_names.h"
#include "setup/setup_state.h"
#include "setup/variables.h"

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
        if (::WriteFile(file_, bytes, static_cast<DWORD>(length), &written, nullptr) &&
            written == length) {
            return true;
        }
        error_ = ::GetLastError();
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
    // Unsigned 32-bit arithmetic as the bar has always moved; the product is taken in 64 bits
    // so that a package past 42 MB does not wrap back to the start.
    auto done = static_cast<std::uint64_t>(entryOffset - run.groupsStart);
    run.display.setPosition(static_cast<int>(done * 100u / total));
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
// right, else 5 or 11.
int reportAccessDenied(InstallRun& run, const Target& target) {
    HeapString folder(folderPart(target.path));
    const char* object = target.existed ? target.path : (folder ? folder.get() : "");
    bool granted = true;
    DWORD checked = checkAccess(setupState.threadToken, object, kObjectFile,
                                target.existed ? GENERIC_WRITE : FILE_ADD_FILE, &granted);
    if (checked == 0 && !granted) {
        return askUser(run, target.existed ? kMsgFileNoWriteAccess : kMsgFolderNoAddFile,
                       target.path, object, kQuestion);
    }
    return askUser(run, target.existed ? kMsgFileOpenError : kMsgFileCreateError, target.path,
                   systemErrorText(ERROR_ACCESS_DENIED), kQuestion);
}

// A temporary file for a target in use; its path goes to *tempPath. Invalid handle when it
// cannot be made (the caller reports).
HANDLE createDeferredTemp(HeapString& tempPath, DWORD* error) {
    tempPath.reset(newTempName());
    HANDLE file = tempPath ? createForWriting(tempPath.get(),
                                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_SEQUENTIAL_SCAN)
                           : INVALID_HANDLE_VALUE;
    *error = ::GetLastError();
    return file;
}

// Opens the target, or a temporary file when it is in use. An invalid handle with Step::next
// means the file is skipped.
Step openTarget(InstallRun& run, const Target& target, bool sharedGroup, UniqueFile& file,
                HeapString& tempPath) {
    for (;;) {
        file.reset(createForWriting(target.path, FILE_FLAG_SEQUENTIAL_SCAN));
        if (file) return Step::next;
        DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
            if (!sharedGroup && askUser(run, kMsgFileInUse, target.path, nullptr,
                                        MB_YESNO | MB_ICONEXCLAMATION, true) == IDYES) {
                continue;
            }
            DWORD tempError = 0;
            file.reset(createDeferredTemp(tempPath, &tempError));
            if (file) return Step::next;
            setupState.installSucceeded = false;
            if (tempPath) ::DeleteFileA(tempPath.get());
            tempPath.reset();
            return askUser(run, kMsgTempFileError, target.path, systemErrorText(tempError),
                           kQuestion) == IDYES
                       ? Step::next
                       : Step::endRun;
        }
        setupState.installSucceeded = false;
        int answer = error == ERROR_ACCESS_DENIED
                         ? reportAccessDenied(run, target)
                         : askUser(run, target.existed ? kMsgFileOpenError : kMsgFileCreateError,
                                   target.path, systemErrorText(error), kQuestion);
        return answer == IDYES ? Step::next : Step::endRun;
    }
}

// --- writing ---

// Writes the entry's bytes; 0 or the write's error code.
DWORD writeData(InstallRun& run, HANDLE file, const PackageEntry& entry) {
    FileWriter writer(file);
    if (entry.isCompressed()) {
        if (!inflateToWriter(entry.data, entry.file.storedLength, entry.file.sizeLow, writer,
                             run.inflateBuffer, kInflatePieceSize, &run.display,
                             run.groupsEnd - run.groupsStart)) {
            return writer.error() ? writer.error() : ERROR_NOT_ENOUGH_MEMORY;
        }
        return 0;
    }
    return writer.write(entry.data, entry.file.storedLength) ? 0 : writer.error();
}

// Writes until it works or the user stops: disk full asks to write again from the start.
// Step::next with *written false means the file is skipped.
Step writeWithRetry(InstallRun& run, HANDLE file, const PackageEntry& entry, const char* path,
                    bool* written) {
    *written = false;
    const int startPosition = run.display.position();
    for (;;) {
        DWORD error = writeData(run, file, entry);
        if (error == 0) {
            *written = true;
            return Step::next;
        }
        setupState.installSucceeded = false;
        if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
            if (askUser(run, kMsgDiskFull, path, nullptr, MB_OKCANCEL | MB_ICONERROR) != IDOK)
                return Step::endRun;
            ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
            run.display.setPosition(startPosition);
            continue;
        }
        return askUser(run, kMsgWriteError, path, systemErrorText(error), kQuestion) == IDYES
                   ? Step::next
                   : Step::endRun;
    }
}

// --- one entry ---

Step placeFolder(InstallRun& run, const PackageEntry& entry, const char* path) {
    run.display.showPath(path);
    bool goOn = ::CreateDirectoryA(path, nullptr) != 0;
    if (!goOn) {
        DWORD error = ::GetLastError();
        goOn = error == ERROR_ALREADY_EXISTS || (error == ERROR_ACCESS_DENIED && pathExists(path));
        if (!goOn) {
            setupState.installSucceeded = false;
            int answer =
                error == ERROR_ACCESS_DENIED
                    ? reportFolderAccessDenied(run, path, path, ERROR_SUCCESS)
                    : askUser(run, kMsgFolderError, path, systemErrorText(error), kQuestion);
            if (answer != IDYES) return Step::endRun;
        }
    }
    logPath(run, kLogFolder, path, true, true);
    run.folderStack.set(static_cast<int>(entry.depth) + 1, entry.name);
    return Step::next;
}

Step placeFile(InstallRun& run, const FileGroupHeader& group, const PackageEntry& entry,
               const char* path) {
    Target target;
    target.path = path;
    lookAtTarget(target);
    if (!shouldWrite(group, entry, target)) return Step::next;

    run.display.showPath(path);
    if (target.existed && (target.attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesA(path, target.attributes & ~FILE_ATTRIBUTE_READONLY);
    const bool sharedGroup = group.shared != 0;
    UniqueFile file;
    HeapString tempPath;
    if (openTarget(run, target, sharedGroup, file, tempPath) == Step::endRun) return Step::endRun;
    if (!file) return Step::next;

    bool written = false;
    Step step = writeWithRetry(run, file.get(), entry, path, &written);
    if (!written) {
        file.reset();
        // A partial file the run made is removed; an existing target stays as the write left it.
        if (tempPath) {
            ::DeleteFileA(tempPath.get());
        } else if (!target.existed) {
            ::DeleteFileA(path);
        }
        return step;
    }
    FILETIME created = toFileTime(entry.file.creationTime);
    FILETIME accessed = toFileTime(entry.file.lastAccessTime);
    FILETIME modified = toFileTime(entry.file.lastWriteTime);
    ::SetFileTime(file.get(), &created, &accessed, &modified);
    file.reset();

    if (tempPath) {
        setupState.deferredTemps.append(tempPath.get());
        setupState.deferredTargets.append(path);
        setupState.deferredShared.append(sharedGroup ? "1" : "0");
        ::SetFileAttributesA(tempPath.get(), entry.file.attributes);
        return Step::next;
    }
    // A file the run has just made already carries the archive attribute alone, which is what
    // nearly every packaged file asks for: setting it again would only reopen the file.
    if (target.existed || entry.file.attributes != FILE_ATTRIBUTE_ARCHIVE)
        ::SetFileAttributesA(path, entry.file.attributes);
    if (sharedGroup) {
        logPath(run, kLogSharedFile, path, true);
        changeSharedCount(path, false);
    } else {
        logPath(run, kLogFile, path, !target.existed);
    }
    return Step::next;
}

// --- groups ---

// The group's target folder, expanded and made. False when the run ends.
bool openGroup(InstallRun& run, const FileGroupHeader& group) {
    HeapString withVariables(expandVariables(group.targetFolder));
    HeapString folder(expandFolderTokens(withVariables.get()));
    if (!folder) return false;
    run.folderStack.clear();
    run.folderStack.set(0, folder.get());
    run.display.showPath(folder.get());
    return createFolderChain(run, folder.get()) == 0;
}

Step processEntry(InstallRun& run, const FileGroupHeader& group, const PackageEntry& entry) {
    HeapString path(run.folderStack.joinPath(static_cast<int>(entry.depth), entry.name));
    if (!path) return Step::endRun;
    return entry.isFile() ? placeFile(run, group, entry, path.get())
                          : placeFolder(run, entry, path.get());
}

}  // namespace

bool extractFiles(InstallRun& run) {
    if (!run.folderStack.isCreated() && !run.folderStack.create(5)) return false;
    if (!run.inflateBuffer) {
        run.inflateBuffer = static_cast<unsigned char*>(heapAlloc(kInflatePieceSize));
        if (!run.inflateBuffer) return false;
    }
    PackageWalker walker(run.package, run.packageSize, run.groupsStart, run.groupsEnd);
    FileGroupHeader group;
    while (walker.nextGroup(group)) {
        if (!checkpoint(run) || !openGroup(run, group)) return false;
        for (;;) {
            std::uint32_t entryOffset = walker.offset();
            PackageEntry entry;
            if (!walker.nextEntry(entry)) break;
            if (!checkpoint(run)) return false;
            setProgress(run, entryOffset);
            if (processEntry(run, group, entry) == Step::endRun) return false;
        }
        run.folderStack.clear();
    }
    if (walker.damaged()) {
        // The image passed its checksum, so this is a package the builder should never make.
        setupState.installSucceeded = false;
        messageBoxFormat(run.owner(), setupState.setupCaption, kDamagedPackage, nullptr,
                         MB_ICONERROR);
        return false;
    }
    return true;
}

}  // namespace kelvara
