#include "install/install_thread.h"

#include <windows.h>
#include <ole2.h>

#include <cstring>

#include "environment/run_environment.h"
#include "formats/image_layout.h"
#include "formats/choices.h"
#include "formats/deployment_options.h"
#include "formats/image_signature.h"
#include "formats/journal.h"
#include "formats/languages.h"
#include "formats/package_format.h"
#include "formats/setup_state.h"
#include "formats/uninstaller_texts.h"
#include "formats/variables.h"
#include "install/file_extraction_win32.h"
#include "install/files_in_use_win32.h"
#include "install/install_messages.h"
#include "install/install_run_win32.h"
#include "install/install_state.h"
#include "install/left_out_parts_win32.h"
#include "install/own_files_win32.h"
#include "install/record_phases.h"
#include "install/settle_variables.h"
#include "runtime/byte_order.h"
#include "runtime/file_deletion_win32.h"
#include "runtime/file_security_win32.h"
#include "runtime/file_version_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/replace_on_reboot_win32.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_view_win32.h"
#include "uninstall/uninstall_log_win32.h"
#include "worker/run_marks_win32.h"
#include "worker/temp_folder_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

constexpr const char* kSelfReferringVariable =
    "The variable %s refers to itself, so its value can never be complete.";
constexpr const char* kNoInstallPath =
    "The installer names no installation folder: %InstallPath% is not set.";
constexpr const char* kNoUninstallerName =
    "The installer names no uninstaller: %UninstallerFileName% is empty.";
constexpr const char* kNoRollbackLog =
    "The installation cannot keep its rollback log in the temporary folder:\n%s";

void deleteFile(const char* path) {
    if (!path) return;
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path);
}

LogSettings settingsOfRun() {
    const SetupState& s = setupState;
    LogSettings settings;
    settings.dialogSetOffset = s.dialogSetOffset;
    settings.accentColor = s.accentColor;
    settings.headerColor = s.headerColor;
    settings.pageColor = s.pageColor;
    settings.frameColor = s.frameColor;
    lstrcpynA(settings.titleFontFace, s.titleFontFace, sizeof settings.titleFontFace);
    settings.titleColor = s.titleColor;
    lstrcpynA(settings.normalFontFace, s.normalFontFace, sizeof settings.normalFontFace);
    settings.textColor = s.textColor;
    settings.forUser = runEnvironment.forUser;
    return settings;
}

// Settles the variables; a value that can never be complete is reported and ends the run.
bool settle(InstallRun& run) {
    int unsettled = settleVariables();
    if (unsettled == -1) return true;
    installState.installSucceeded = false;
    if (unsettled >= 0) {
        messageBoxFormat(run.owner(), setupState.setupCaption.get(), kSelfReferringVariable,
                         setupState.variableNames.get(unsettled), MB_ICONERROR);
    }
    return false;
}

// The uninstaller and install log paths, from the settled values. (Taken after settling: a
// value naming another variable would otherwise put the uninstaller under a path with a
// variable's name in it.)
bool computePaths(InstallRun& run) {
    const char* installPath = lookupVariable("%InstallPath%");
    const char* uninstallerName = lookupVariable("%UninstallerFileName%");
    // Without a folder nothing has a place; without a name the uninstaller would be written
    // over the installation folder's own path.
    const char* missing = !installPath || !*installPath ? kNoInstallPath
                          : setupState.createUninstaller && (!uninstallerName || !*uninstallerName)
                              ? kNoUninstallerName
                              : nullptr;
    if (missing) {
        installState.installSucceeded = false;
        messageBoxFormat(run.owner(), setupState.setupCaption.get(), missing, nullptr,
                         MB_ICONERROR);
        return false;
    }
    run.uninstallerPath.reset(joinFolderName(installPath, uninstallerName));
    run.installLogPath.reset(installLogPath(installPath, uninstallerName));
    return run.uninstallerPath && run.installLogPath;
}

// One line of the earlier install log (without its LF). A line of components this run leaves
// out is kept to be undone once the run completed, and carried over as well: what stays (a
// folder that still holds files, a value this run wrote again) then goes at the uninstall, which
// passes over what is gone. A shared file's count, which the undo lowers, is not lowered twice.
void carryOverLine(InstallRun& run, const char* entry) {
    if (!*entry || (entry[1] != ',' && entry[1] != '\0')) return;
    const char* own = entry;
    bool leftOut = false;
    if (entry[0] == kLogPart) {
        const char* comma = entry[1] ? std::strchr(entry + 2, ',') : nullptr;
        if (!comma) return;
        leftOut = !partChosen(setupState.choices, entry + 2,
                              static_cast<std::size_t>(comma - (entry + 2)));
        own = comma + 1;
    }
    // A line with its view ("v,64,b,...") goes over as it is; the kind after it decides.
    const char* kind = own[0] == kLogView && std::strlen(own) > 5 ? own + 5 : own;
    // Nor what only a journal holds, the progress an uninstall cut off left in the log, or the
    // uninstaller's texts of the earlier run's language.
    if (!*kind || std::strchr("dfiklptuwz", kind[0])) return;
    if (leftOut) {
        run.leftOutLines.append(own);
        if (kind[0] == kLogSharedFile) return;
    }
    const char kindText[2] = {entry[0], '\0'};
    run.log.add(kindText, entry[1] == ',' ? entry + 2 : nullptr, kLogCarriedOver);
}

// The uninstaller has no script: the texts it shows, in the language this run speaks, go with
// the installation (the product name is its own), and the corner's text where the script hides
// the engine's name.
void carryUninstallerTexts(InstallRun& run) {
    const StringList* texts = textList(kUninstallTextsSlot, setupState.currentLanguage);
    for (int item = 0; texts && item < texts->count(); ++item) {
        const char* text = texts->get(item);
        if (!text || !*text || item == kUninstallerProductName) continue;
        char number[12];
        ::wsprintfA(number, "%d", item);
        run.log.addEscaped(kLogText, number, text, 0);
    }
    if (setupState.hideMakerLink) {
        char number[12];
        ::wsprintfA(number, "%d", kUninstallerCornerText);
        run.log.addEscaped(kLogText, number, text(kTableButtonLabels, kMakerTextItem), 0);
    }
}

// The limit of a previous install log that is carried over: far beyond any real one.
constexpr DWORD kPreviousLogLimit = 64u << 20;

// An installation over an earlier one of the same product: the folders, keys and values that
// the earlier run created exist now, so this run logs them as there before. The earlier log's
// lines are carried over ahead of this run's, to the install log only: the uninstaller undoes
// this run's lines first (putting back what the earlier run wrote) and then the earlier run's
// (deleting what it made). Its programs and DLL calls are not: this run logs its own.
void carryOverPreviousLog(InstallRun& run) {
    UniqueFile file(::CreateFileA(run.installLogPath.get(), GENERIC_READ | READ_CONTROL,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kPreviousLogLimit) {
        return;
    }
    // Carried over, its lines would be trusted as this run's: with administrator rights, only
    // those of a log that only administrators could have written.
    if (runEnvironment.isAdministrator && othersMayChange(file.get())) {
        writeRunLog(
            "install: the earlier install log is not carried over: users who are not "
            "administrators may change it");
        return;
    }
    const auto length = static_cast<DWORD>(size.QuadPart);
    HeapString text(static_cast<char*>(heapAlloc(length + 1)));
    DWORD read = 0;
    if (!text || !::ReadFile(file.get(), text.get(), length, &read, nullptr) || read != length)
        return;
    LogHeader header;
    if (!readLogHeader(text.get(), length, header) || !header.productShortName ||
        !setupState.productShortName ||
        std::strcmp(header.productShortName.get(), setupState.productShortName.get()) != 0) {
        return;  // not this product's log: it is replaced, as before
    }
    // Each entry line ends with its LF (bytes after the last one are no line, as for the
    // uninstaller); the buffer is this function's own, so the LFs become terminators.
    if (!run.leftOutLines.isCreated() && !run.leftOutLines.create(16)) return;
    char* end = text.get() + length;
    for (char* entry = text.get() + header.entryOffset; entry < end;) {
        auto* lf =
            static_cast<char*>(std::memchr(entry, '\n', static_cast<std::size_t>(end - entry)));
        if (!lf) break;
        *lf = '\0';
        carryOverLine(run, entry);
        entry = lf + 1;
    }
}

constexpr const char* kRecoveryCopyName = "recovery.exe";

// The command the next logon runs when the run is cut off: the engine copy on the journal,
// quietly, into the run's own log when it has one. Null when out of memory.
char* recoveryCommand(InstallRun& run) {
    HeapString command(strConcat5("\"", run.recoveryCopy.get(), "\" /QUIET /RECOVER=\"",
                                  run.rollbackLogPath.get(), "\""));
    const DeploymentOptions& options = runEnvironment.deployment;
    if (!command || !options.logGiven || !options.logFile || !*options.logFile.get())
        return command.release();
    char full[MAX_PATH + 1] = {};
    const DWORD length = ::GetFullPathNameA(options.logFile.get(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return command.release();
    return strConcat5(command.get(), " /LOG=\"", full, "\"");
}

// The marks that lead the next setup of the product, and the next logon, to the journal, and
// the journal's line that says what it belongs to, all on the disk before the first change. A
// run that cannot be marked installs all the same (the run log says so): only a run cut off
// then is not recovered by itself.
bool markRun(InstallRun& run) {
    const char* shortName = setupState.productShortName.get();
    const bool forUser = runEnvironment.forUser;
    if (shortName && *shortName) {
        run.marked = setJournalMark(shortName, forUser, run.rollbackLogPath.get(), &run.markKeys);
        if (!run.marked) {
            writeRunLog("journal: the next setup cannot be told of it: %s",
                        systemErrorText(::GetLastError()));
        }
    }
    if (run.marked) {
        run.recoveryCopy.reset(joinFolderName(runTempFolder(), kRecoveryCopyName));
        HeapString command(run.recoveryCopy && writeEngineCopy(run, run.recoveryCopy.get())
                               ? recoveryCommand(run)
                               : nullptr);
        if (!command || !setRecoveryAtLogon(shortName, forUser, command.get(), &run.markKeys)) {
            writeRunLog("journal: the next logon cannot recover the run: %s",
                        systemErrorText(::GetLastError()));
        }
    }
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    HeapString info(runInfoText(runEnvironment.installerPath.get(),
                                (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime,
                                ::GetCurrentProcessId(), runTempFolder(), run.markKeys));
    const char kind[] = {kLogRunInfo, '\0'};
    if (!info ||
        run.log.add(kind, info.get(), kLogToRollback | kLogRollbackOnly) != LogAddResult::added) {
        installState.installSucceeded = false;
        return false;
    }
    writeRunLog("journal: %s", run.rollbackLogPath.get());
    return run.rollbackFile.makeDurable() || !journalFailed(run);
}

// The run is over, either way: its marks and the engine copy go.
void unmarkRun(InstallRun& run) {
    if (run.marked)
        clearRunMarks(setupState.productShortName.get(), runEnvironment.forUser, run.markKeys);
    run.marked = false;
    deleteFile(run.recoveryCopy.get());
    run.recoveryCopy.reset();
}

bool startRun(InstallRun& run) {
    if (!settle(run) || !computePaths(run)) return false;
    run.rollbackLogPath.reset(newTempName());
    if (!run.rollbackLogPath || !run.rollbackFile.create(run.rollbackLogPath.get())) {
        // Without it a failed run could not be undone: nothing is installed.
        installState.installSucceeded = false;
        messageBoxFormat(run.owner(), setupState.setupCaption.get(), kNoRollbackLog,
                         systemErrorText(::GetLastError()), MB_ICONERROR);
        return false;
    }
    if (!run.log.start(setupState.productName.get(), setupState.productShortName.get(),
                       settingsOfRun(), &runEnvironment.folderPaths, &run.rollbackFile)) {
        return false;
    }
    carryOverPreviousLog(run);
    carryUninstallerTexts(run);
    // A 64-bit product's lines name native paths and keys: each says so for the uninstaller.
    if (runEnvironment.nativeSide) run.log.setView(kView64);
    if (!run.image.open(runEnvironment.selfFile.get())) {
        reportUnreadableImage(run, ::GetLastError());
        return false;
    }
    const std::uint32_t packageOffset = runEnvironment.stubHeader.packageOffset;
    if (packageOffset > run.image.size()) {
        reportDamagedImage(run);
        return false;
    }

    run.headers.open(run.image, packageOffset);
    run.content.open(run.image, packageOffset);
    run.groupsStart = runEnvironment.packageHeader.firstEntryOffset;
    run.groupsEnd = runEnvironment.packageHeader.scriptOffset;
    // The file entries lie outside the checksum: a damaged one is found before any file is
    // written, not half-way through the groups. The walk reads the entries' headers only.
    PackageWalker walker(run.headers, run.groupsStart, run.groupsEnd);
    FileGroupHeader group;
    PackageEntry entry;
    while (walker.nextGroup(group)) {
        while (walker.nextEntry(entry)) {
        }
    }
    run.largestBlock = walker.largestBlock();
    if (walker.unreadable()) {
        reportUnreadableImage(run, run.headers.error());
        return false;
    }
    if (walker.damaged()) {
        reportDamagedImage(run);
        return false;
    }
    if (!markRun(run)) return false;
    run.display.prepareStatusLine();
    return true;
}

// After the files: the uninstaller's own lines, and the restart for deferred files.
void afterFiles(InstallRun& run) {
    run.display.setPosition(100);
    SetupState& s = setupState;
    if (s.createUninstaller) {
        logPath(run, kLogFile, run.uninstallerPath.get(), !pathExists(run.uninstallerPath.get()));
        logPath(run, kLogFile, run.installLogPath.get(), !pathExists(run.installLogPath.get()));
    }
    installState.restartForInUseFiles = workerState.deferredTemps.count() != 0;
    if (!installState.restartForInUseFiles) return;
    if (installState.restartChosen) {
        installState.restartForInUseFiles = false;
    } else {
        installState.restartNeeded = true;
        installState.restartChosen = true;
        s.finishRunEnabled = false;
        s.finishViewEnabled = false;
    }
}

// The image is given back once the files are in place: the uninstaller copy was made from it.
void releaseImage(InstallRun& run) {
    run.ahead.stop();
    run.blocks.stop();
    run.headers.close();
    run.content.close();
    run.image.close();
}

PhaseOutcome runPhases(InstallRun& run) {
    writeRunLog("phase: files");
    PhaseOutcome files = extractFiles(run);
    // The uninstaller is made from the image too, before it is given back.
    if (files == PhaseOutcome::proceed && setupState.createUninstaller) {
        writeRunLog("phase: uninstaller");
        if (!prepareUninstaller(run)) files = PhaseOutcome::stop;
    }
    releaseImage(run);
    if (files != PhaseOutcome::proceed) return files;
    afterFiles(run);
    using Phase = PhaseOutcome (*)(InstallRun&);
    struct {
        const char* name;
        Phase phase;
    } const phases[] = {{"shortcuts", installShortcuts},
                        {"registry values", installRegistryValues},
                        {"INI entries", installIniEntries},
                        {"file associations", installAssociations}};
    for (const auto& p : phases) {
        writeRunLog("phase: %s", p.name);
        const PhaseOutcome outcome = p.phase(run);
        if (outcome != PhaseOutcome::proceed) return outcome;
    }
    return PhaseOutcome::proceed;
}

// The lines for the uninstaller's programs and DLL calls, expanded.
void logUninstallActions(InstallRun& run) {
    struct {
        const StringList& records;
        const char* kind;
    } kinds[] = {{setupState.uninstallPrograms, "d"}, {setupState.uninstallDllCalls, "f"}};
    for (const auto& k : kinds) {
        for (int i = 0; i < k.records.count(); ++i) {
            HeapString expanded(expandVariables(k.records.get(i)));
            if (expanded) run.log.add(k.kind, expanded.get(), kLogToRollback);
        }
    }
}

// The last steps, then the finishing point: from there on the run completes. The uninstall entry
// and the new install log are written first, so that a failure of either is rolled back like
// any other step, and the earlier installation (an upgrade's) stays as it was.
PhaseOutcome finish(InstallRun& run) {
    writeRunLog("phase: finishing");
    logUninstallActions(run);
    if (setupState.createUninstaller && (!writeUninstallEntry(run) || !prepareInstallLog(run))) {
        return PhaseOutcome::stop;
    }
    ::SetEvent(installState.installDoneEvent.get());
    return PhaseOutcome::proceed;
}

void scheduleDeferredFiles() {
    for (int i = 0; i < workerState.deferredTemps.count(); ++i) {
        writeRunLog("in use, replaced at the restart: %s", workerState.deferredTargets.get(i));
        scheduleAtRestart(workerState.deferredTemps.get(i), workerState.deferredTargets.get(i));
        const char* shared = workerState.deferredShared.get(i);
        if (shared && shared[0] == '1')
            changeSharedCount(workerState.deferredTargets.get(i), false);
    }
}

// The run completed: the old contents it kept for a rollback are not needed any more.
void discardBackups(InstallRun& run) {
    for (int i = 0; i < run.replacedBackups.count(); ++i) {
        const char* backup = run.replacedBackups.get(i);
        deleteFile(backup);
        if (backup && pathExists(backup)) scheduleAtRestart(backup, nullptr);
    }
}

void rollBack(InstallRun& run) {
    writeRunLog("rollback: undoing what the run did");
    // Temporaries carry the packaged attributes, read-only among them: deleteFile clears them.
    for (int i = 0; i < workerState.deferredTemps.count(); ++i)
        deleteFile(workerState.deferredTemps.get(i));
    workerState.deferredTemps.clear();
    if (run.rollbackLogPath) {
        // A file that refused a write lacks every line from there on: the rollback takes them
        // from the run's own record (which has each one) instead.
        if (run.rollbackFile.error()) {
            std::size_t length = 0;
            workerState.rollbackLogText.reset(run.log.rollbackLogText(&length));
        }
        workerState.rollbackLogPath.reset(run.rollbackLogPath.release());
        undoRollbackLog();
    }
    // The rollback log puts every replaced file back; one it could not tell of (a log that
    // could not be written or read) still has its old content next to it: put that back too.
    for (int i = 0; i < run.replacedBackups.count(); ++i) {
        putBackReplacedFile(run.replacedBackups.get(i), run.replacedTargets.get(i));
    }
    writeRunLog("rollback: done");
}

void notifyWizard(InstallRun& run, bool completed) {
    HWND page = run.owner();
    if (!page) return;
    HWND frame = ::GetParent(page);
    if (completed) {
        ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(kInstallCompletedCommand, 0), 0);
    } else {
        ::PostMessageA(frame, kInstallFailedNotice, 0, 0);
    }
}

// The run stands from here: the journal says so before the backups go, so that a run cut off
// now is not undone by its recovery, which only deletes the backups that are left.
void commitRun(InstallRun& run) {
    const char completedLine[] = {kLogRunCompleted, '\n'};
    run.rollbackFile.write(completedLine, sizeof completedLine);
    const bool committed = run.rollbackFile.makeDurable();
    run.rollbackFile.close();
    // A journal that does not say so would have the recovery undo a run whose backups are gone:
    // it goes before they do.
    if (!committed) deleteFile(run.rollbackLogPath.get());
}

InstallEnd endRun(InstallRun& run, PhaseOutcome outcome) {
    const bool completed = outcome == PhaseOutcome::proceed;
    writeRunLog(completed                            ? "installation: completed"
                : outcome == PhaseOutcome::cancelled ? "installation: cancelled"
                                                     : "installation: stopped");
    if (completed) {
        // The earlier uninstaller and log are set aside like any replaced file: a run cut off
        // before its commit puts them back.
        placeOwnFiles(run);
        scheduleDeferredFiles();
        commitRun(run);
        discardBackups(run);
        undoLeftOutParts(run);
        deleteFile(run.rollbackLogPath.get());
    } else {
        run.rollbackFile.close();
        discardOwnFiles(run);
        rollBack(run);
    }
    unmarkRun(run);
    // Their files are in place (or back as they were): the programs closed for them may run.
    restartClosedPrograms();
    notifyWizard(run, completed);
    if (completed) return InstallEnd::installed;
    return outcome == PhaseOutcome::cancelled ? InstallEnd::cancelled : InstallEnd::stopped;
}

}  // namespace

unsigned long __stdcall installThread(void* page) {
    ::OleInitialize(nullptr);
    MSG message;
    ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue the quit message needs
    InstallEnd end = InstallEnd::stopped;
    {
        // A 64-bit product's files are written, backed up and deleted in the native folders.
        NativeFileView nativeFiles(runEnvironment.nativeSide);
        InstallRun run;
        run.display.attach(static_cast<HWND>(page));
        PhaseOutcome outcome = PhaseOutcome::stop;
        if (startRun(run)) {
            closeProgramsInUse(run);
            outcome = runPhases(run);
        }
        if (outcome == PhaseOutcome::proceed) {
            run.display.setCaption(text(kInstallingPage, kCaptionFinishing));
            outcome = checkpoint(run);
            if (outcome == PhaseOutcome::proceed) outcome = finish(run);
        }
        end = endRun(run, outcome);
    }
    // The installation is over: another installer may run now, a product's own next step
    // among them (a program it runs after the installation may be one).
    installState.installationMutex.reset();
    ::OleUninitialize();
    return static_cast<unsigned long>(end);
}

}  // namespace kelvara
