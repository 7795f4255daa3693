// The installer's exit code: the one place where the outcome of a run becomes a number that
// deployment scripts read. The numbers are those deployment tools already understand.
#pragma once

namespace kelvara {

constexpr int kExitInstalled = 0;
constexpr int kExitInstalledWithErrors = 1;  // some step failed and the user chose to go on
constexpr int kExitCancelled = 1602;         // cancelled by the user; nothing left installed
constexpr int kExitNotInstalled = 1603;      // damaged image, start-up failure, requirements
                                             // not met, or a failed run that was rolled back
constexpr int kExitAnotherRunning = 1618;    // another installation is in progress
constexpr int kExitNewerInstalled = 1638;    // a newer version is installed; nothing changed
constexpr int kExitRestartStarted = 1641;    // installed, and the restart is under way
constexpr int kExitRestartRequired = 3010;   // installed; a restart is needed and not done

// What the end of an installer run knows.
struct InstallOutcome {
    bool installed = false;        // the install thread passed its finishing point
    bool cancelled = false;        // the user cancelled the run
    bool succeeded = true;         // installSucceeded
    bool restartRequired = false;  // files wait for the restart, or the script asks for one
    bool restartStarted = false;   // the restart was started
    bool notRequested = false;     // a wizard without an installing page, walked to its end
};

// The exit code for an outcome. A run that installed nothing was cancelled, failed, or (a
// wizard without an installing page) did all it was asked: 0. After an installation a started
// restart comes first (the process is ending for it); then errors, which a deployment must see
// even when a restart is also needed; then the restart still required.
int installerExitCode(const InstallOutcome& outcome);

// The uninstaller's exit code once its removal has run: errors first (entries it could not
// remove, uninstallState.uninstallErrors), then files waiting for the restart, else removed.
int uninstallExitCode();

// What an exit code means, in a few words for the run log.
const char* exitCodeMeaning(int code);

}  // namespace kelvara
