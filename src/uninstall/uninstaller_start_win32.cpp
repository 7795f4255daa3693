// The uninstaller's start: which log, reading it, the rollback mode and the two stages.
#include "uninstall/uninstaller_start.h"

#include <windows.h>

#include <cstring>

#include "formats/install_log.h"
#include "runtime/replace_on_reboot_win32.h"
#include "runtime/handles.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box.h"
#include "runtime/path_helpers.h"
#include "formats/languages.h"
#include "formats/setup_state.h"
#include "setup/startup_stages.h"
#include "uninstall/uninstall_rules.h"
#include "uninstall/uninstall_thread_win32.h"
#include "wizard/removal_dialog_win32.h"

namespace kelvara {
namespace {

static_assert(kLogFontFaceSize == sizeof(SetupState::normalFontFace) &&
                  kLogFontFaceSize == sizeof(SetupState::titleFontFace),
              "the log's face names fit the run's");

constexpr const char* kCaptionSuffix = " Uninstall";
constexpr const char* kConfirmRemovalFormat = "Are you sure you want to completely remove %s?";
constexpr const char* kTempPrefix = "KVR";
constexpr int kTempNameRoom = 262;  // beyond the length of tempDir

// The uninstaller's texts (page slot 12) that the second stage stores.
constexpr int kTextCaption = 0;
constexpr int kTextTitle = 1;
constexpr int kTextSubtitle = 2;
constexpr int kTextProductName = 9;
constexpr const char* kRemovalTitle = "Application Removal";
constexpr const char* kRemovalSubtitleStart = "Please wait while the ";
constexpr const char* kRemovalSubtitleEnd = " is removed from your computer.";

void replaceText(char*& field, char* value) {
    heapFree(field);
    field = value;
}

void releaseLog() {
    SetupState& s = setupState;
    replaceText(s.logBuffer, nullptr);
    s.entryText = nullptr;
}

void copyFace(char* target, const char* face) {
    std::size_t length = std::strlen(face);
    if (length >= kLogFontFaceSize) length = kLogFontFaceSize - 1;
    std::memcpy(target, face, length);
    target[length] = '\0';
}

void applyLogHeader(LogHeader& header) {
    SetupState& s = setupState;
    replaceText(s.productName, header.productName.release());
    replaceText(s.productShortName, header.productShortName.release());
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
}

// Reads the whole log into setupState.logBuffer and points entryText at its entry lines. With
// applySettings the header's names and look become the run's. False, with nothing changed, when
// the file cannot be opened or read whole, or is no log.
bool readLog(const char* path, bool applySettings) {
    UniqueFile file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    DWORD high = 0;
    const DWORD size = ::GetFileSize(file.get(), &high);
    if (size == INVALID_FILE_SIZE || high) return false;  // no log is 4 GB long
    HeapString buffer(static_cast<char*>(heapAlloc(static_cast<std::size_t>(size) + 1)));
    if (!buffer) return false;
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer.get(), size, &read, nullptr) || read != size) return false;
    file.reset();

    LogHeader header;
    if (!readLogHeader(buffer.get(), size, header)) return false;
    if (applySettings) applyLogHeader(header);
    SetupState& s = setupState;
    releaseLog();
    s.logBuffer = buffer.release();
    s.entryText = s.logBuffer + header.entryOffset;
    return true;
}

// Undoes the rollback log without a window and waits for the end.
void runRollback() {
    SetupState& s = setupState;
    // The run's settings are left alone: they are the ones the rollback log was written from,
    // and the wizard may still be reading them on its own thread.
    if (!s.rollbackLogPath) return;
    const bool read = readLog(s.rollbackLogPath, false);
    // The rollback log goes whatever happens next: it is of no use to anyone after this run.
    ::SetFileAttributesA(s.rollbackLogPath, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(s.rollbackLogPath);
    replaceText(s.rollbackLogPath, nullptr);
    if (!read) return;
    DWORD threadId = 0;
    UniqueHandle thread(::CreateThread(nullptr, 0, uninstallThread, nullptr, 0, &threadId));
    if (thread) ::WaitForSingleObject(thread.get(), INFINITE);
    releaseLog();
    // What the rollback could not delete now (a file in use) goes at the next restart.
    for (int i = 0; i < s.rebootDeleteFiles.count(); ++i) {
        if (const char* file = s.rebootDeleteFiles.get(i)) scheduleAtRestart(file, nullptr);
    }
    s.rebootDeleteFiles.clear();
}

// The installed copy: after the user's Yes, runs a temporary copy of itself on the same log,
// so that the installed file is free to be deleted.
void runFirstStage(const char* caption) {
    SetupState& s = setupState;
    if (!s.tempDir || !s.installerPath) return;
    if (messageBoxFormat(nullptr, caption, kConfirmRemovalFormat, s.productName,
                         MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    HeapBlock nameBlock(std::strlen(s.tempDir) + kTempNameRoom);
    auto* copyPath = static_cast<char*>(nameBlock.get());
    if (!copyPath || !::GetTempFileNameA(s.tempDir, kTempPrefix, 0, copyPath)) return;
    // Normal attributes: the self-removal script's plain "del" cannot remove a read-only copy.
    if (!::CopyFileA(s.installerPath, copyPath, FALSE) ||
        !::SetFileAttributesA(copyPath, FILE_ATTRIBUTE_NORMAL)) {
        ::DeleteFileA(copyPath);
        return;
    }
    HeapString commandLine(strConcat5(" ", s.uninstallLogPath));
    if (!commandLine) {
        ::DeleteFileA(copyPath);
        return;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEONFEEDBACK;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(
            copyPath, commandLine.get(), nullptr, nullptr, FALSE,
            CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr,
            s.tempDir, &startup, &process)) {
        ::DeleteFileA(copyPath);
        return;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
}

// The removal dialog (template 141 + dialogSetOffset, page slot 12 of the page procedure),
// modal and without an owner; its page starts uninstallThread with the dialog as its window
// and the dialog ends when the thread or the user closes it. A dialog that cannot be shown
// undoes nothing, and the run ends without a message as for an unreadable log.
void showRemovalDialog() {
    runRemovalDialog();
}

// The temporary copy: the removal dialog, then the script that deletes this copy.
void runSecondStage(const char* caption) {
    SetupState& s = setupState;
    const int language = s.currentLanguage;
    HeapString subtitle(strConcat5(kRemovalSubtitleStart, s.productName, kRemovalSubtitleEnd));
    setText(kUninstallTextsSlot, language, kTextCaption, caption);
    setText(kUninstallTextsSlot, language, kTextTitle, kRemovalTitle);
    setText(kUninstallTextsSlot, language, kTextSubtitle, subtitle.get());
    setText(kUninstallTextsSlot, language, kTextProductName, s.productName);
    showRemovalDialog();
    writeSelfRemovalScript();
}

void runUninstaller() {
    SetupState& s = setupState;
    bool secondStage = false;
    replaceText(s.uninstallLogPath, chooseUninstallLog(::GetCommandLineA(), s.installerDir,
                                                       s.installerPath, &secondStage));
    if (s.uninstallLogPath && readLog(s.uninstallLogPath, true) && initStage(kStageDrawing)) {
        HeapString caption(strConcat5(s.productShortName, kCaptionSuffix));
        if (caption) {
            if (secondStage) {
                runSecondStage(caption.get());
            } else {
                runFirstStage(caption.get());
            }
        }
    }
    replaceText(s.uninstallLogPath, nullptr);
}

}  // namespace

void startUninstaller(bool rollback) {
    if (rollback) {
        runRollback();
    } else {
        runUninstaller();
    }
}

void writeSelfRemovalScript() {
    SetupState& s = setupState;
    HeapString scriptPath(joinFolderName(s.tempDir, kSelfRemovalScriptName));
    if (!scriptPath) return;
    HeapString text(selfRemovalScriptText(s.installerPath, scriptPath.get()));
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
