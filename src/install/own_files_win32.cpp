#include "install/own_files_win32.h"

#include "environment/run_environment.h"
#include "formats/image_layout.h"
#include "formats/image_signature.h"
#include "formats/package_format.h"
#include "formats/setup_state.h"
#include "install/folder_chain_win32.h"
#include "install/install_run_win32.h"
#include "install/install_state.h"
#include "runtime/byte_order.h"
#include "runtime/file_deletion_win32.h"
#include "runtime/file_security_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/run_log_win32.h"

namespace kelvara {
namespace {

constexpr const char* kOwnFileFailed =
    "Setup could not write this file, which it needs to remove the program later:\n%s\n\n%s\n\n"
    "It stops, and removes what it has installed so far.";
constexpr const char* kOwnFilePlaceFailed =
    "Setup could not put this file in place:\n%s\n\n%s\n\nThe earlier one stays.";
constexpr int kNameAttempts = 8;

bool reportFailure(InstallRun& run, const char* path, DWORD error) {
    installState.installSucceeded = false;
    messageBoxFormat(run.owner(), setupState.setupCaption.get(), kOwnFileFailed, path,
                     systemErrorText(error), MB_ICONERROR);
    return false;
}

// A new file beside `target`, open for writing, created with the Administrators' protection
// when the run has their rights (so that no one else holds it open before it is protected);
// its name goes to `name`. Invalid handle when none can be made (last error set).
HANDLE createBeside(InstallRun& run, const char* target, char (&name)[MAX_PATH + 1]) {
    OwnSecurity security = administratorsOnly();
    SECURITY_ATTRIBUTES* attributes =
        runEnvironment.isAdministrator ? security.attributes() : nullptr;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        // Made with the protection from the start (a file the system made first would have what
        // the folder hands down), and named in the journal before it is made.
        if (!freeNameBeside(run, target, name)) return INVALID_HANDLE_VALUE;
        // The journal names it before it is made: a run killed while writing it leaves none.
        if (!journalNewItem(run, kLogFile, name)) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return INVALID_HANDLE_VALUE;
        }
        HANDLE file = ::CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, attributes,
                                    CREATE_NEW, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = ::GetLastError();
        // A token that may not name the Administrators as owner: made as before, protected when
        // it is put in place.
        if (attributes && error != ERROR_FILE_EXISTS) {
            attributes = nullptr;
            continue;
        }
        if (error != ERROR_FILE_EXISTS) return INVALID_HANDLE_VALUE;
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// Writes all of `bytes`; false with the last error set when the system took less.
bool writeWhole(HANDLE file, const void* bytes, DWORD length) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes, length, &written, nullptr)) return false;
    if (written == length) return true;
    ::SetLastError(ERROR_DISK_FULL);
    return false;
}

// The header of the uninstaller copy: the image's package fields cleared, so that the copy runs
// as the uninstaller, and the fields signing writes as the stub had them: the signed stub's, kept
// in the package, or none, so that the copy never names a certificate table it does not have.
bool writeUninstallerHeader(ImageWindow& image, HANDLE copy, std::uint32_t stubLength) {
    const std::uint32_t headLength = stubLength < kSignatureHeadSize
                                         ? stubLength
                                         : static_cast<std::uint32_t>(kSignatureHeadSize);
    const unsigned char* first = image.bytesAt(0, headLength);
    HeapOwned<unsigned char> head(static_cast<unsigned char*>(heapAlloc(headLength)));
    if (!first || !head) {
        ::SetLastError(first ? ERROR_NOT_ENOUGH_MEMORY : image.error());
        return false;
    }
    unsigned char* bytes = head.get();
    memMove(bytes, first, headLength);
    encodePackageOffset(bytes, 0);
    writeLe32(bytes + kScriptBytesField, 0);
    writeLe32(bytes + kChecksumField, 0);
    SignatureFields fields;
    if (readSignatureFields(bytes, headLength, fields)) {
        blankSignatureFields(bytes, 0, headLength, fields);
        const PackageHeader& package = runEnvironment.packageHeader;
        const std::uint32_t room = package.firstEntryOffset - kPackageHeaderSize;
        const unsigned char* record = package.firstEntryOffset > kPackageHeaderSize
                                          ? image.bytesAt(stubLength + kPackageHeaderSize, room)
                                          : nullptr;
        StubSignature signature;
        if (record && decodeStubSignature(record, room, signature) &&
            std::uint64_t(signature.tableOffset) + signature.tableSize == stubLength) {
            writeLe32(bytes + fields.checksumField, signature.checksum);
            writeLe32(bytes + fields.securityEntry, signature.tableOffset);
            writeLe32(bytes + fields.securityEntry + 4, signature.tableSize);
        }
    }
    return ::SetFilePointer(copy, 0, nullptr, FILE_BEGIN) == 0 &&
           writeWhole(copy, bytes, headLength);
}

// The engine without its package: the image's first bytes up to the package, then its header.
bool writeUninstaller(InstallRun& run, HANDLE copy) {
    const std::uint32_t stubLength = runEnvironment.stubHeader.packageOffset;
    ImageWindow stub;
    stub.open(run.image, 0);
    if (stubLength < kStubHeaderSize || stubLength > stub.size()) {
        ::SetLastError(ERROR_BAD_FORMAT);
        return false;
    }
    for (std::uint32_t done = 0; done < stubLength;) {
        const std::uint32_t left = stubLength - done;
        const std::uint32_t length = left < stub.reach() ? left : stub.reach();
        const unsigned char* bytes = stub.bytesAt(done, length);
        if (!bytes) {
            ::SetLastError(stub.error());
            return false;
        }
        if (!writeWhole(copy, bytes, length)) return false;
        done += length;
    }
    return writeUninstallerHeader(stub, copy, stubLength) && ::FlushFileBuffers(copy);
}

// A file written beside its target goes: the run did not get to put it in place.
void discard(HeapString& path) {
    if (!path) return;
    ::SetFileAttributesA(path.get(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.get());
    path.reset();
}

// An installation made with administrator rights is removed with them, by an uninstaller that
// acts only on a log that only administrators can change: its uninstaller and log are given to
// the Administrators, wherever the installation folder is (one that inherits the right to write
// from its drive's root lets every user change what is made in it).
void protectOwnFile(const char* path) {
    if (runEnvironment.isAdministrator && !protectForAdministrators(path)) {
        writeRunLog("install: only administrators were to change %s, but: %s", path,
                    systemErrorText(::GetLastError()));
    }
}

// The earlier file at `target` is set aside beside it, the journal told first, so that a run
// killed before its end puts it back; the end of a completed run deletes it with the other
// backups. 0, or the error that kept it in place; `backup` is empty when there was none.
DWORD setAsideEarlier(InstallRun& run, const char* target, char (&backup)[MAX_PATH + 1]) {
    backup[0] = '\0';
    if (!pathExists(target)) return 0;
    if (!freeNameBeside(run, target, backup)) return ::GetLastError();
    if (!noteBackup(run, backup, target)) return ERROR_WRITE_FAULT;
    ::SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);  // an earlier one may be read-only
    if (::MoveFileA(target, backup)) return 0;
    const DWORD error = ::GetLastError();
    forgetBackup(run);
    backup[0] = '\0';
    return error;
}

// The prepared file in place of the target; false with the failure shown.
bool place(InstallRun& run, HeapString& prepared, const char* target) {
    if (!prepared) return true;
    char backup[MAX_PATH + 1];
    DWORD error = setAsideEarlier(run, target, backup);
    if (error == 0 && !::MoveFileExA(prepared.get(), target, MOVEFILE_REPLACE_EXISTING)) {
        error = ::GetLastError();
        if (backup[0]) putBackReplacedFile(backup, target);
    }
    if (error != 0) {
        installState.installSucceeded = false;
        messageBoxFormat(run.owner(), setupState.setupCaption.get(), kOwnFilePlaceFailed, target,
                         systemErrorText(error), MB_ICONERROR);
        discard(prepared);
        return false;
    }
    prepared.reset();
    protectOwnFile(target);
    return true;
}

}  // namespace

bool prepareUninstaller(InstallRun& run) {
    const char* path = run.uninstallerPath.get();
    HeapString folder(folderPart(path));
    // The folder is the installation's when it made it, as for any file it installs.
    if (folder && *folder.get() && !pathExists(folder.get()) &&
        createFolderChain(run, folder.get()) != 0) {
        return false;  // told, and answered No
    }
    char name[MAX_PATH + 1] = {};
    UniqueFile copy(createBeside(run, path, name));
    if (!copy) return reportFailure(run, path, ::GetLastError());
    run.uninstallerBeside.reset(strDupExtra(name, 0));
    if (!run.uninstallerBeside || !writeUninstaller(run, copy.get())) {
        const DWORD error = run.uninstallerBeside ? ::GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
        copy.reset();
        ::DeleteFileA(name);
        run.uninstallerBeside.reset();
        return reportFailure(run, path, error);
    }
    return true;
}

bool writeEngineCopy(InstallRun& run, const char* path) {
    UniqueFile copy(::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_NEW, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!copy) return false;
    if (writeUninstaller(run, copy.get())) return true;
    const DWORD error = ::GetLastError();
    copy.reset();
    ::DeleteFileA(path);
    ::SetLastError(error);
    return false;
}

bool prepareInstallLog(InstallRun& run) {
    const char* path = run.installLogPath.get();
    std::size_t length = 0;
    HeapString text(run.log.installLogText(&length));
    if (!text) return reportFailure(run, path, ERROR_NOT_ENOUGH_MEMORY);
    char name[MAX_PATH + 1] = {};
    UniqueFile file(createBeside(run, path, name));
    if (!file) return reportFailure(run, path, ::GetLastError());
    if (!writeWhole(file.get(), text.get(), static_cast<DWORD>(length)) ||
        !::FlushFileBuffers(file.get())) {
        const DWORD error = ::GetLastError();
        file.reset();
        ::DeleteFileA(name);
        return reportFailure(run, path, error);
    }
    run.installLogBeside.reset(strDupExtra(name, 0));
    if (!run.installLogBeside) {
        file.reset();
        ::DeleteFileA(name);
        return reportFailure(run, path, ERROR_NOT_ENOUGH_MEMORY);
    }
    return true;
}

void placeOwnFiles(InstallRun& run) {
    // The uninstaller first: a new uninstaller reads the earlier log as well as its own.
    if (place(run, run.uninstallerBeside, run.uninstallerPath.get())) {
        place(run, run.installLogBeside, run.installLogPath.get());
    } else {
        discard(run.installLogBeside);
    }
}

void discardOwnFiles(InstallRun& run) {
    discard(run.uninstallerBeside);
    discard(run.installLogBeside);
}

}  // namespace kelvara
