// The uninstaller's run: which log, and its two stages: the installed copy asks and starts a
// temporary copy of itself, which shows the removal dialog and then removes itself.
#include "setup/uninstaller_run.h"

#include <windows.h>

#include <cstring>

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/setup_state.h"
#include "formats/startup_messages.h"
#include "formats/uninstaller_texts.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/message_text.h"
#include "runtime/replace_on_reboot_win32.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_restart_win32.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"
#include "setup/elevated_restart_win32.h"
#include "setup/exit_codes.h"
#include "setup/startup_stages.h"
#include "uninstall/self_removal_win32.h"
#include "setup/interrupted_setup.h"
#include "uninstall/uninstall_log_win32.h"
#include "uninstall/programs_in_use_win32.h"
#include "uninstall/uninstall_rules.h"
#include "uninstall/uninstall_state.h"
#include "uninstall/uninstall_thread_win32.h"
#include "wizard/removal_dialog_win32.h"
#include "worker/temp_folder_win32.h"

namespace kelvara {
namespace {

constexpr const char* kTempPrefix = "KVR";
constexpr const char* kUntrustedLogFormat =
    "The uninstaller does not trust its install log:\n%s\n\nUsers who are not administrators "
    "may change that file, so it could name programs to run and files to delete that the "
    "installation never made. Nothing has been removed.\n\nAn administrator can let only the "
    "Administrators and SYSTEM change the file, and then run the uninstaller again.";
constexpr int kTempNameRoom = 262;  // beyond the length of the folder

// Room of the uninstaller's caption and of its progress page's explanation, formatted.
constexpr std::size_t kFormattedTextRoom = 1024;

// A silent second stage tells its first stage the outcome on its standard output, a pipe the
// first stage made: "exit N" and a line break.
constexpr const char* kOutcomeFormat = "exit %d\r\n";
constexpr int kOutcomeLineLimit = 32;

// The first stage of a silent run: the outcome the second stage tells, or, when it ended
// without telling (it could not run, or was killed), its exit code; never 0 then: a second
// stage that removes the product tells before it ends, and one that was killed (a process
// ended from outside may exit with 0) removed only part of it.
int awaitSecondStage(HANDLE outcome, HANDLE process) {
    char line[kOutcomeLineLimit] = {};
    DWORD length = 0;
    for (DWORD read = 0; length + 1 < sizeof line; length += read) {
        if (!::ReadFile(outcome, line + length, sizeof line - 1 - length, &read, nullptr) ||
            read == 0 || std::memchr(line + length, '\n', read)) {
            length += read;
            break;
        }
    }
    line[length] = '\0';
    if (std::strncmp(line, "exit ", 5) == 0 && std::strchr(line, '\n')) {
        return static_cast<int>(parseNumber(line + 5));
    }
    DWORD code = kExitNotInstalled;
    ::WaitForSingleObject(process, INFINITE);
    ::GetExitCodeProcess(process, &code);
    char text[12];
    ::wsprintfA(text, "%lu", code);
    writeRunLog("uninstall: the second stage ended without telling how (exit code %s)", text);
    return code == kExitInstalled ? kExitNotInstalled : static_cast<int>(code);
}

// A log that users other than the administrators may change is not acted on with administrator
// rights: it could name any program to run and any file or key to delete. Nothing is removed.
void refuseUntrustedLog(const char* path) {
    writeRunLog(
        "uninstall: refused: users who are not administrators may change the install "
        "log %s",
        path);
    // A silent run tells only its log: a message box there may be on no one's screen.
    if (!runEnvironment.silentMode) {
        messageBoxFormat(nullptr, kStartupCaption, kUntrustedLogFormat, path, MB_ICONERROR);
    }
}

// An installation of the product cut off before its end is undone first; it may have replaced
// the install log, which is read again then. False when it can no longer be read.
bool recoveredLogRead() {
    // The undo of a journal is no uninstall: it has no uninstaller's own files to keep apart.
    HeapString logPath = std::move(uninstallState.uninstallLogPath);
    const bool recovered = interruptedRunUndoneBeforeRemoval();
    uninstallState.uninstallLogPath = std::move(logPath);
    return !recovered ||
           readLog(uninstallState.uninstallLogPath.get(), LogSource::installation) == LogRead::read;
}

// The installed copy: after the user's Yes (a silent run asks nothing), runs a temporary copy of
// itself on the same log, so that the installed file is free to be deleted.
int runFirstStage(const char* caption) {
    SetupState& s = setupState;
    if (!runEnvironment.tempDir || !runEnvironment.installerPath) return kExitNotInstalled;
    if (!runEnvironment.silentMode &&
        messageBoxFormat(nullptr, caption, uninstallerText(kUnConfirmRemoval), s.productName.get(),
                         MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return kExitCancelled;
    }
    // The copy goes into the run's own folder, which no other user can open: one that could
    // would have the copy run whatever they put there with this run's rights.
    const char* folder = runTempFolder();
    HeapBlock nameBlock(folder ? std::strlen(folder) + kTempNameRoom : 0);
    auto* copyPath = static_cast<char*>(nameBlock.get());
    if (!copyPath || !::GetTempFileNameA(folder, kTempPrefix, 0, copyPath)) {
        writeRunLog("uninstall: no temporary folder for the second stage: %s",
                    systemErrorText(::GetLastError()));
        return kExitNotInstalled;
    }
    // Normal attributes: the self-removal script's plain "del" cannot remove a read-only copy.
    if (!::CopyFileA(runEnvironment.installerPath.get(), copyPath, FALSE) ||
        !::SetFileAttributesA(copyPath, FILE_ATTRIBUTE_NORMAL)) {
        ::DeleteFileA(copyPath);
        return kExitNotInstalled;
    }
    // The second stage is given its own name (quoted, as a command line starts), this run's
    // options, so that it runs and logs as this one was asked to, and the log path last.
    HeapString options(deploymentOptionsText(runEnvironment.deployment));
    HeapString commandLine(
        strConcat5("\"", copyPath, "\" ", options.get(), uninstallState.uninstallLogPath.get()));
    // A silent run hears the outcome through a pipe: its write end becomes the second stage's
    // standard output, the only handle it inherits.
    UniqueHandle outcomeRead;
    UniqueHandle outcomeWrite;
    if (runEnvironment.silentMode) {
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        if (!::CreatePipe(outcomeRead.put(), outcomeWrite.put(), &inherited, 0) ||
            !::SetHandleInformation(outcomeRead.get(), HANDLE_FLAG_INHERIT, 0)) {
            outcomeRead.reset();
            outcomeWrite.reset();
        }
    }
    if (!options || !commandLine || (runEnvironment.silentMode && !outcomeWrite)) {
        ::DeleteFileA(copyPath);
        return kExitNotInstalled;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEONFEEDBACK;
    if (outcomeWrite) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = outcomeWrite.get();
    }
    PROCESS_INFORMATION process = {};
    writeRunLog("uninstall: starting the second stage %s", copyPath);
    if (!::CreateProcessA(
            copyPath, commandLine.get(), nullptr, nullptr, outcomeWrite ? TRUE : FALSE,
            CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr,
            runEnvironment.tempDir.get(), &startup, &process)) {
        ::DeleteFileA(copyPath);
        return kExitNotInstalled;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    handOverRunTempFolder();  // the second stage runs from it, and removes it
    if (!outcomeWrite) return kExitInstalled;
    outcomeWrite.reset();  // the second stage holds the only write end: its end is the pipe's
    return awaitSecondStage(outcomeRead.get(), processHandle.get());
}

// The second stage of a silent run tells the first one the outcome so far: the uninstaller's
// own files are all that is left to remove, and they go once the first stage has ended.
void tellFirstStage() {
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE || ::GetFileType(out) != FILE_TYPE_PIPE) return;
    const int code = uninstallExitCode();
    char line[kOutcomeLineLimit];
    const int length = ::wsprintfA(line, kOutcomeFormat, code);
    DWORD written = 0;
    ::WriteFile(out, line, static_cast<DWORD>(length), &written, nullptr);
    ::SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
    ::CloseHandle(out);
}

// The removal dialog (template 141 + dialogSetOffset, page slot 12 of the page procedure),
// modal and without an owner; its page starts uninstallThread with the dialog as its window
// and the dialog ends when the thread or the user closes it. A dialog that cannot be shown
// undoes nothing, and the run ends without a message as for an unreadable log.
void showRemovalDialog() {
    runRemovalDialog();
}

// The temporary copy: the removal dialog (none when silent: the removal runs here), then the
// script that deletes this copy.
void runSecondStage(const char* caption) {
    SetupState& s = setupState;
    closeProgramsBeforeRemoval(caption);
    // An uninstall cut off before goes on where it stopped (and its stage's copy goes); this one
    // notes its own folder and progress in the install log, which goes last.
    StringList earlierStages;
    const bool listed = earlierStages.create(2);
    resumeUndo(uninstallState.uninstallLogPath.get(), listed ? &earlierStages : nullptr);
    if (listed) takeOverEarlierStages(uninstallState.uninstallLogPath.get(), earlierStages);
    if (runEnvironment.silentMode) {
        writeRunLog("uninstall: removing what the install log names");
        DWORD result = 0;
        if (undoLoggedEntries(nullptr, &result)) {
            tellFirstStage();
            removeOwnFiles(nullptr);
        }
        writeSelfRemovalScript();
        return;
    }
    const int language = s.currentLanguage;
    char subtitle[kFormattedTextRoom];
    formatMessageText(subtitle, sizeof subtitle, uninstallerText(kUnRemovalSubtitle),
                      s.productName.get());
    setText(kUninstallTextsSlot, language, static_cast<int>(kUnCaption), caption);
    // A copy: the carried title is the very item the store replaces.
    HeapString title(strDupExtra(uninstallerText(kUnRemovalTitle), 0));
    setText(kUninstallTextsSlot, language, static_cast<int>(kUnRemovalTitle), title.get());
    setText(kUninstallTextsSlot, language, static_cast<int>(kUnRemovalSubtitle), subtitle);
    setText(kUninstallTextsSlot, language, kUninstallerProductName, s.productName.get());
    showRemovalDialog();
    writeSelfRemovalScript();
}

// What the stages came to: whether the removal ran here (the finish decisions follow), and the
// exit code of a first stage, or of a second stage that could not run.
struct UninstallerResult {
    bool secondStage = false;
    int exitCode = 0;
};

// The first stage (the installed copy) asks for confirmation and starts a temporary copy of
// itself with the deployment options and the log's path; the second stage (that copy) shows the
// removal dialog and then starts the self-removal script. The settings of the log's header
// become the run's (product names, look). Nothing is reported when the log cannot be read.
// Silent (runEnvironment.silentMode): nothing is asked and no dialog shown; the first stage waits
// until the second tells its outcome (just before it removes the installed uninstaller, which
// the first runs from) and takes that as its own exit code.
UninstallerResult runStages() {
    SetupState& s = setupState;
    UninstallerResult result;
    result.exitCode = kExitNotInstalled;
    uninstallState.uninstallLogPath.reset(
        chooseUninstallLog(::GetCommandLineA(), runEnvironment.installerDir.get(),
                           runEnvironment.installerPath.get(), &result.secondStage));
    const LogRead log =
        uninstallState.uninstallLogPath
            ? readLog(uninstallState.uninstallLogPath.get(), LogSource::installation)
            : LogRead::unreadable;
    if (log == LogRead::untrusted) {
        refuseUntrustedLog(uninstallState.uninstallLogPath.get());
    } else if (log == LogRead::read && initStage(kStageDrawing)) {
        HeapString caption(strDupExtra(nullptr, kFormattedTextRoom));
        if (caption) {
            formatMessageText(caption.get(), kFormattedTextRoom, uninstallerText(kUnCaption),
                              s.productShortName.get());
            if (result.secondStage) {
                // The folder the first stage made for this copy is the run's own: the
                // self-removal script goes there, and removes it.
                adoptRunTempFolder(runEnvironment.installerDir.get());
                // Not done until the removal is: a dialog the user aborts leaves it so; a silent
                // removal that does not get through could not run.
                result.exitCode = runEnvironment.silentMode ? kExitNotInstalled : kExitCancelled;
                runSecondStage(caption.get());
            } else if (rightsSettled(!runEnvironment.forUser, caption.get(), result.exitCode)) {
                // The elevated run, when one was needed, did the stages itself.
                if (!recoveredLogRead()) return result;
                result.exitCode = runFirstStage(caption.get());
            }
        }
    } else {
        writeRunLog("uninstall: the install log cannot be read: %s",
                    uninstallState.uninstallLogPath.get());
    }
    uninstallState.uninstallLogPath.reset();
    return result;
}

// Files the uninstall thread could not delete go at the restart; the user is asked whether to
// restart now (not under /NORESTART). True when the restart was started.
bool offerUninstallRestart(const char* caption) {
    RunEnvironment& run = runEnvironment;
    for (int i = 0; i < uninstallState.rebootDeleteFiles.count(); ++i) {
        if (const char* file = uninstallState.rebootDeleteFiles.get(i))
            scheduleAtRestart(file, nullptr);
    }
    if (run.deployment.noRestart) {  // not even asked: the run was told never to restart
        writeRunLog("restart: not started (/NORESTART)");
        return false;
    }
    if (messageBoxFormat(nullptr, caption, uninstallerText(kUnRestartQuestion), nullptr,
                         MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    if (restartWindows(false)) return true;
    messageBoxFormat(nullptr, caption, uninstallerText(kUnRestartFailed), nullptr,
                     MB_SYSTEMMODAL | MB_ICONERROR);
    return false;
}

// A silent uninstall never restarts: the files in use wait for the next restart, and the exit
// code says that one is needed (unless errors outrank it).
void leaveToRestart() {
    for (int i = 0; i < uninstallState.rebootDeleteFiles.count(); ++i) {
        if (const char* file = uninstallState.rebootDeleteFiles.get(i)) {
            writeRunLog("in use, removed at the restart: %s", file);
            scheduleAtRestart(file, nullptr);
        }
    }
}

}  // namespace

// The uninstaller: the running file is no longer needed open. After the uninstallation the
// finish decisions: the restart for files in use, or the success message when nothing is left
// over (the leftover-files page has already told the user otherwise). A run that did not get
// through (not confirmed, no log, aborted) ends without a word. A silent one asks nothing and
// shows nothing. The exit code: 0 removed, 1 removed with errors, 1602 declined or cancelled,
// 1603 could not run, 3010 a restart is needed (1641: it was started).
int runUninstallerMode() {
    RunEnvironment& run = runEnvironment;
    run.selfFile.reset();
    const UninstallerResult result = runStages();
    if (!result.secondStage) return result.exitCode;
    if (::WaitForSingleObject(uninstallState.uninstallDoneEvent.get(), 0) != WAIT_OBJECT_0) {
        return result.exitCode;
    }
    writeRunLog("uninstall: done");
    for (int i = 0; i < uninstallState.leftoverFolders.count(); ++i) {
        writeRunLog("kept, not empty: %s", uninstallState.leftoverFolders.get(i));
    }
    if (run.silentMode) {
        if (uninstallState.rebootDeleteFiles.count() != 0) leaveToRestart();
        return uninstallExitCode();
    }
    const char* caption = text(kUninstallTextsSlot, static_cast<int>(kUnCaption));
    if (uninstallState.rebootDeleteFiles.count() != 0) {
        const bool started = offerUninstallRestart(caption);
        return started ? kExitRestartStarted : uninstallExitCode();
    }
    if (uninstallState.leftoverFolders.count() == 0) {
        // What could not be removed has been told item by item: the end does not say all was.
        messageBoxFormat(
            nullptr, caption,
            uninstallerText(uninstallState.uninstallErrors ? kUnRemovedWithErrors : kUnRemoved),
            text(kUninstallTextsSlot, kUninstallerProductName),
            uninstallState.uninstallErrors ? MB_ICONWARNING : MB_OK);
    }
    return uninstallExitCode();
}

}  // namespace kelvara
