// Reading an install or rollback log into the run, and the rollback mode that undoes a failed
// or cancelled installation.
#include "uninstall/uninstall_log_win32.h"

#include <windows.h>

#include <cstring>

#include "environment/folder_tokens_win32.h"
#include "environment/run_environment.h"
#include "formats/install_log.h"
#include "formats/journal.h"
#include "formats/languages.h"
#include "formats/setup_state.h"
#include "formats/uninstaller_texts.h"
#include "runtime/file_security_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/replace_on_reboot_win32.h"
#include "runtime/system_view_win32.h"
#include "runtime/text_utils.h"
#include "uninstall/uninstall_state.h"
#include "uninstall/uninstall_thread_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

static_assert(kLogFontFaceSize == sizeof(SetupState::normalFontFace) &&
                  kLogFontFaceSize == sizeof(SetupState::titleFontFace),
              "the log's face names fit the run's");

void copyFace(char* target, const char* face) {
    std::size_t length = std::strlen(face);
    if (length >= kLogFontFaceSize) length = kLogFontFaceSize - 1;
    std::memcpy(target, face, length);
    target[length] = '\0';
}

void applyLogHeader(LogHeader& header) {
    SetupState& s = setupState;
    s.productName = std::move(header.productName);
    s.productShortName = std::move(header.productShortName);
    const LogSettings& settings = header.settings;
    s.dialogSetOffset = settings.dialogSetOffset;
    s.accentColor = settings.accentColor;
    s.headerColor = settings.headerColor;
    s.pageColor = settings.pageColor;
    s.frameColor = settings.frameColor;
    copyFace(s.titleFontFace, settings.titleFontFace);
    s.titleColor = settings.titleColor;
    copyFace(s.normalFontFace, settings.normalFontFace);
    s.textColor = settings.textColor;
    // The folders a user's installation took as the system's are kept as the system's here too.
    runEnvironment.forUser = settings.forUser;
    if (settings.forUser) resolveUserScopeFolders();
}

// Makes `text` (`size` bytes and a NUL) the run's log, as readLog does with a file's.
// The uninstaller's texts the installation carried in its language become its own.
void takeCarriedTexts(const char* text, std::size_t length) {
    LogEntry entry;
    for (std::size_t at = 0; at < length;) {
        const void* lf = std::memchr(text + at, '\n', length - at);
        if (!lf) break;
        const auto lineLength =
            static_cast<std::size_t>(static_cast<const char*>(lf) - (text + at));
        if (parseLogLine(text + at, lineLength, entry) && entry.kind == kLogText) {
            const int item = parseNumber(entry.fields.get(0));
            // An item number as the script's records hold them: one byte.
            const char* value = entry.fields.get(1);
            if (item >= 0 && item <= 0xFF && item != kUninstallerProductName && value) {
                setText(kUninstallTextsSlot, setupState.currentLanguage, item, value);
                if (item == kUninstallerCornerText) setupState.hideMakerLink = true;
            }
        }
        at += lineLength + 1;
    }
}

LogRead takeLog(HeapString text, std::size_t size, LogSource source) {
    LogHeader header;
    if (!readLogHeader(text.get(), size, header)) return LogRead::unreadable;
    if (source == LogSource::installation) {
        applyLogHeader(header);
        takeCarriedTexts(text.get() + header.entryOffset, size - header.entryOffset);
    }
    releaseLog();
    uninstallState.logBuffer = std::move(text);
    uninstallState.entryText = uninstallState.logBuffer.get() + header.entryOffset;
    return LogRead::read;
}

// A completed run's backups: the old contents of what it replaced, no longer needed. Nothing else
// of the journal is touched (its files waiting for the restart are the restart's).
void deleteBackups(const char* text, std::size_t length) {
    LogEntry entry;
    for (std::size_t at = 0; at < length;) {
        const void* lf = std::memchr(text + at, '\n', length - at);
        if (!lf) break;
        const auto lineLength =
            static_cast<std::size_t>(static_cast<const char*>(lf) - (text + at));
        if (parseLogLine(text + at, lineLength, entry) && entry.kind == kLogReplacedFile) {
            NativeFileView files(entry.view == kView64);
            if (const char* backup = entry.fields.get(0); backup && *backup) {
                ::SetFileAttributesA(backup, FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(backup);
            }
        }
        at += lineLength + 1;
    }
}

// Cuts the file at `path` to `length` bytes when it is longer; failures change nothing.
void cutAfter(const char* path, std::size_t length) {
    UniqueFile file(::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size) ||
        size.QuadPart <= static_cast<LONGLONG>(length)) {
        return;
    }
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(length);
    if (::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) ::SetEndOfFile(file.get());
}

}  // namespace

void releaseLog() {
    uninstallState.logBuffer.reset();
    uninstallState.entryText = nullptr;
}

LogRead readLog(const char* path, LogSource source) {
    // Shared for reading only: what is checked below is what is read.
    UniqueFile file(::CreateFileA(path, GENERIC_READ | READ_CONTROL, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING,
                                  FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return LogRead::unreadable;
    // With administrator rights only a log that only administrators could have written is acted
    // on; anyone's log may be undone with anyone's own rights.
    if (source != LogSource::rollback && runEnvironment.isAdministrator &&
        othersMayChange(file.get())) {
        return LogRead::untrusted;
    }
    DWORD high = 0;
    const DWORD size = ::GetFileSize(file.get(), &high);
    if (size == INVALID_FILE_SIZE || high) return LogRead::unreadable;  // no log is 4 GB long
    HeapString buffer(static_cast<char*>(heapAlloc(static_cast<std::size_t>(size) + 1)));
    if (!buffer) return LogRead::unreadable;
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer.get(), size, &read, nullptr) || read != size) {
        return LogRead::unreadable;
    }
    file.reset();
    return takeLog(std::move(buffer), size, source);
}

bool resumeUndo(const char* path, StringList* removalFolders) {
    char* text = uninstallState.entryText;
    if (!text) return false;
    JournalTail tail;
    const std::size_t length = std::strlen(text);
    readJournalTail(text, length, tail, removalFolders);
    // What follows the last whole line (a write cut off, or zeros after a power cut) goes from
    // the file, so that the progress appended next starts a line of its own.
    std::size_t whole = length;
    while (whole > 0 && text[whole - 1] != '\n') --whole;
    if (path)
        cutAfter(path, static_cast<std::size_t>(text - uninstallState.logBuffer.get()) + whole);
    text[tail.entryLength] = '\0';  // what an undo appended is no line to undo
    uninstallState.linesUndone = tail.undoneLines;
    uninstallState.progressPath.reset();
    if (path) copyText(uninstallState.progressPath, path);
    return tail.completed;
}

void undoJournal(const char* path) {
    char* text = uninstallState.entryText;
    if (!text) return;
    if (resumeUndo(path)) {
        deleteBackups(text, std::strlen(text));
        uninstallState.progressPath.reset();
        releaseLog();
        return;
    }
    DWORD threadId = 0;
    UniqueHandle thread(::CreateThread(nullptr, 0, uninstallThread, nullptr, 0, &threadId));
    if (thread) ::WaitForSingleObject(thread.get(), INFINITE);
    uninstallState.progressPath.reset();
    uninstallState.linesUndone = 0;
    releaseLog();
    // What the rollback could not delete now (a file in use) goes at the next restart.
    for (int i = 0; i < uninstallState.rebootDeleteFiles.count(); ++i) {
        if (const char* file = uninstallState.rebootDeleteFiles.get(i))
            scheduleAtRestart(file, nullptr);
    }
    uninstallState.rebootDeleteFiles.clear();
}

void undoRollbackLog() {
    // The run's settings are left alone: they are the ones the rollback log was written from,
    // and the wizard may still be reading them on its own thread.
    if (!workerState.rollbackLogPath) return;
    // The lines kept in memory are whole where the file may not be (a write to it failed).
    const bool fromMemory = workerState.rollbackLogText.get() != nullptr;
    LogRead outcome = LogRead::unreadable;
    if (fromMemory) {
        const std::size_t size = std::strlen(workerState.rollbackLogText.get());
        outcome = takeLog(std::move(workerState.rollbackLogText), size, LogSource::rollback);
    } else {
        outcome = readLog(workerState.rollbackLogPath.get(), LogSource::rollback);
    }
    // The journal stays until the undo is over: a run cut off during its rollback is undone
    // the rest of the way by its recovery, which goes on where this one stopped.
    if (outcome == LogRead::read)
        undoJournal(fromMemory ? nullptr : workerState.rollbackLogPath.get());
    // Then it goes: it is of no use to anyone after this run.
    ::SetFileAttributesA(workerState.rollbackLogPath.get(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(workerState.rollbackLogPath.get());
    workerState.rollbackLogPath.reset();
}

}  // namespace kelvara
