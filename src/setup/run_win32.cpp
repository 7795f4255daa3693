#include <windows.h>

#include "environment/install_scope_win32.h"
#include "environment/product_architecture.h"
#include "environment/product_side_win32.h"
#include "environment/requirements.h"
#include "environment/run_environment.h"
#include "environment/system_detection.h"
#include "formats/languages.h"
#include "formats/message_catalogue.h"
#include "formats/product_version.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/startup_messages.h"
#include "formats/variables.h"
#include "install/action_lists.h"
#include "install/install_folder_win32.h"
#include "install/install_state.h"
#include "install/install_thread.h"
#include "install/record_phases.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_libraries_win32.h"
#include "runtime/text_encoding.h"
#include "setup/elevated_restart_win32.h"
#include "setup/installation_lock.h"
#include "setup/interrupted_setup.h"
#include "setup/exit_codes.h"
#include "setup/run.h"
#include "install/files_in_use_win32.h"
#include "setup/choice_options_win32.h"
#include "setup/scope_choice_win32.h"
#include "setup/script_records.h"
#include "setup/setup_image.h"
#include "setup/silent_run.h"
#include "setup/startup_stages.h"
#include "setup/uninstaller_run.h"
#include "setup/wizard_run.h"
#include "uninstall/uninstall_log_win32.h"

namespace kelvara {
namespace {

// The drawing stage is left out: it makes the drawing objects, which only a window needs.
constexpr int kStartupOrder[] = {kStageCore,          kStageLanguageNames, kStageTempDir,
                                 kStageInstallerPath, kStageInstallerDir,  kStageSelfFile,
                                 kStageCommandLine};

bool runStartupStages() {
    for (int stage : kStartupOrder) {
        if (!initStage(stage)) return false;
    }
    return true;
}

// The classic edition's texts read right in any code page. The Unicode edition on a release that
// ignored its manifest would show every text that is not ASCII as garbage and write names no one
// asked for: it stops before it reads its script.
bool editionRunsHere(Edition edition) {
    if (edition == Edition::classic || textIsUtf8()) return true;
    return reportStartupFailure(kErrorNeedsUtf8CodePage);
}

// Reads the stub header at the start of the running file.
bool readStubHeader() {
    unsigned char bytes[kStubHeaderSize] = {};
    DWORD read = 0;
    if (!::ReadFile(runEnvironment.selfFile.get(), bytes, kStubHeaderSize, &read, nullptr) ||
        read < static_cast<DWORD>(kStubHeaderSize)) {
        return reportStartupFailure(kErrorReadHeader);
    }
    runEnvironment.stubHeader = decodeStubHeader(bytes);
    return true;
}

// The requirement check. False when a requirement is not met: its message has been shown and
// the run ends.
bool requirementsMet() {
    const int result = checkRequirements();
    const char* missingName = nullptr;
    const int item = requirementMessage(runEnvironment, result, &missingName);
    if (item < 0) {
        writeRunLog("requirements: met");
        return true;
    }
    messageBoxFormat(nullptr, setupState.setupCaption.get(), text(SetupMessage{item}), missingName,
                     MB_ICONEXCLAMATION);
    return false;
}

// The installation folder of the command line (/DIR=) replaces the script's and the previous
// location's, once it has passed the destination page's check. False when it did not: the
// reason has been shown and the run ends before anything is written.
bool folderOptionApplied() {
    const DeploymentOptions& options = runEnvironment.deployment;
    if (!options.folderGiven) return true;
    // Checked as given.
    if (!installFolderAccepted(nullptr, options.folder.get())) return false;
    return applyFolderOption(options);
}

// One installation at a time (setup/installation_lock.h): a second installer says so and ends
// before it reads the script's records. The install thread lets go when it ends.
bool installationMayRun() {
    if (takeInstallationLock(runEnvironment.forUser, installState.installationMutex)) return true;
    messageBoxFormat(nullptr, kStartupCaption, kErrorAnotherInstallation, nullptr,
                     MB_ICONEXCLAMATION);
    return false;
}

// An older version does not replace a newer one unless the project allows it: its files would
// stand beside the newer ones, and the list of programs would name the older version. The same
// version installs again (a repair). A product without a version is not compared.
bool olderThanInstalled() {
    const char* version = setupState.productVersion.get();
    if (!version || !*version || setupState.allowDowngrade) return false;
    HeapString installed(installedVersion(setupState.productShortName.get()));
    if (!installed || compareProductVersions(version, installed.get()) >= 0) return false;
    writeRunLog("version: %s is installed, newer than this setup's %s", installed.get(), version);
    messageBoxFormat(nullptr, setupState.setupCaption.get(), text(kMsgNewerVersionInstalled),
                     setupState.productName.get(), installed.get(), version, MB_ICONSTOP);
    return true;
}

// Where the product was installed before (an upgrade keeps that scope), by the short name of its
// settings record, read ahead of the records; kScopeChoose when it was not.
std::uint8_t scopeInstalledBefore() {
    ScriptRecord record;
    SettingsRecord settings;
    if (!lastRecordOfType(runEnvironment.script.get(), runEnvironment.scriptSize, kRecordSettings,
                          record)) {
        return kScopeChoose;
    }
    PayloadReader reader(record.payload, record.length);
    return settings.read(reader) ? installedScope(settings.shortName) : kScopeChoose;
}

// The installer; returns its exit code.
int runInstallerMode() {
    const StubHeader& header = runEnvironment.stubHeader;
    if (!verifySetupImage(header) || !loadSetupScript(header)) return kExitNotInstalled;
    // A script without its end record is refused whole: half a configuration could install
    // anywhere, with any name.
    if (!scriptIsWhole(runEnvironment.script.get(), runEnvironment.scriptSize)) {
        reportStartupFailure(kErrorDamaged);
        return kExitNotInstalled;
    }
    // A value no engine ever wrote is a damaged record: taken for x86 it would put a 64-bit
    // product among the 32-bit programs.
    const std::uint8_t architecture =
        scriptArchitecture(runEnvironment.script.get(), runEnvironment.scriptSize);
    if (!architectureKnown(architecture)) {
        reportStartupFailure(kErrorDamaged);
        return kExitNotInstalled;
    }
    chooseProductSide(architecture);
    if (runEnvironment.nativeSide)
        writeRunLog("product: 64-bit, installed in the native folders and registry view");
    const std::uint8_t earlierScope = scopeInstalledBefore();
    if (!chooseInstallScope(runEnvironment.script.get(), runEnvironment.scriptSize, earlierScope))
        return kExitNotInstalled;
    if (setupState.scope != kScopeMachine)
        writeRunLog(runEnvironment.forUser ? "scope: the current user" : "scope: every user");
    applyScript(runEnvironment.script.get(), runEnvironment.scriptSize);
    // Where the person chooses on the scope page, the rights follow that choice there.
    if (!prepareScopePage(earlierScope)) {
        int exitCode = kExitNotInstalled;
        if (!rightsSettled(!runEnvironment.forUser, setupState.setupCaption.get(), exitCode))
            return exitCode;
    }
    if (!installationMayRun()) return kExitAnotherRunning;
    if (!earlierRunUndone()) return kExitCancelled;
    if (olderThanInstalled()) return kExitNewerInstalled;
    if (!requirementsMet()) return kExitNotInstalled;
    if (!choicesApplied() || !folderOptionApplied()) return kExitNotInstalled;
    planClosingPrograms();
    // A failing step before anything is installed that the user (or a quiet run) would not go
    // on from ends the run: nothing was done.
    if (!runActionGroup(0)) return kExitNotInstalled;
    return runEnvironment.silentMode ? runSilentInstall() : runWizardInstall();
}

// The run log's last line, the exit code and what it means; a log that could not be written
// to the end is reported now, once (unless the run is quiet).
void endRunLog(int exitCode) {
    char code[12];
    ::wsprintfA(code, "%d", exitCode);
    writeRunLog("exit code %s: %s", code, exitCodeMeaning(exitCode));
    closeRunLog();
    if (runLogFailed()) {
        messageBoxFormat(nullptr, kStartupCaption, kErrorRunLog,
                         runEnvironment.deployment.logFile.get(), "", MB_ICONWARNING);
    }
}

}  // namespace

int runSetup(Edition edition) {
    // Before anything loads a library: none may come from beside the setup.
    restrictLibrarySearch();
    int exitCode = kExitNotInstalled;  // until the run gets further than its start-up
    if (runStartupStages() && editionRunsHere(edition)) {
        if (readStubHeader()) {
            if (runEnvironment.stubHeader.packageOffset == 0) {
                // The uninstaller's silent switch is its option /S (or /QUIET): its first
                // argument may be the log path of its second stage, on a drive S: too.
                runEnvironment.silentMode = runEnvironment.deployment.silent;
                exitCode = runEnvironment.deployment.recoverGiven ? runRecoveryMode()
                                                                  : runUninstallerMode();
            } else {
                // The installer's is its first argument's S too.
                runEnvironment.silentMode =
                    isSilentRequest(runEnvironment.argTable, runEnvironment.argCount) ||
                    runEnvironment.deployment.silent;
                exitCode = runInstallerMode();
            }
        }
    }
    endRunLog(exitCode);
    cleanUp();
    return exitCode;
}

}  // namespace kelvara
