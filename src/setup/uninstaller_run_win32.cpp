// The uninstaller's run: which log, and its two stages: the installed copy asks and starts a
// temporary copy of itself, which shows the removal dialog and then removes itself.
#include "setup/uninstaller_run.h"

#include <windows.h>

#include <cstring>

#include "formats/languages.h"
#include "formats/setup_state.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "setup/startup_stages.h"
#include "uninstall/self_removal_win32.h"
#include "uninstall/uninstall_log_win32.h"
#include "uninstall/uninstall_rules.h"
#include "wizard/removal_dialog_win32.h"

namespace kelvara {
namespace {

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

// The installed copy: after the user's Yes, runs a temporary copy of itself on the same log,
// so that the installed file is free to be deleted.
void runFirstStage(const char* caption) {
    SetupState& s = setupState;
    if (!s.tempDir || !s.installerPath) return;
    if (messageBoxFormat(nullptr, caption, kConfirmRemovalFormat, s.productName.get(),
                         MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    HeapBlock nameBlock(std::strlen(s.tempDir.get()) + kTempNameRoom);
    auto* copyPath = static_cast<char*>(nameBlock.get());
    if (!copyPath || !::GetTempFileNameA(s.tempDir.get(), kTempPrefix, 0, copyPath)) return;
    // Normal attributes: the self-removal script's plain "del" cannot remove a read-only copy.
    if (!::CopyFileA(s.installerPath.get(), copyPath, FALSE) ||
        !::SetFileAttributesA(copyPath, FILE_ATTRIBUTE_NORMAL)) {
        ::DeleteFileA(copyPath);
        return;
    }
    HeapString commandLine(strConcat5(" ", s.uninstallLogPath.get()));
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
            s.tempDir.get(), &startup, &process)) {
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
    HeapString subtitle(
        strConcat5(kRemovalSubtitleStart, s.productName.get(), kRemovalSubtitleEnd));
    setText(kUninstallTextsSlot, language, kTextCaption, caption);
    setText(kUninstallTextsSlot, language, kTextTitle, kRemovalTitle);
    setText(kUninstallTextsSlot, language, kTextSubtitle, subtitle.get());
    setText(kUninstallTextsSlot, language, kTextProductName, s.productName.get());
    showRemovalDialog();
    writeSelfRemovalScript();
}

}  // namespace

void runUninstaller() {
    SetupState& s = setupState;
    bool secondStage = false;
    s.uninstallLogPath.reset(chooseUninstallLog(::GetCommandLineA(), s.installerDir.get(),
                                                s.installerPath.get(), &secondStage));
    if (s.uninstallLogPath.get() && readLog(s.uninstallLogPath.get(), true) &&
        initStage(kStageDrawing)) {
        HeapString caption(strConcat5(s.productShortName.get(), kCaptionSuffix));
        if (caption) {
            if (secondStage) {
                runSecondStage(caption.get());
            } else {
                runFirstStage(caption.get());
            }
        }
    }
    setupState.uninstallLogPath.reset();
}

}  // namespace kelvara
