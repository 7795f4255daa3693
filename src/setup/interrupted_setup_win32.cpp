#include "setup/interrupted_setup.h"

#include <windows.h>

#include "environment/run_environment.h"
#include "formats/setup_state.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/run_log_win32.h"
#include "setup/exit_codes.h"
#include "setup/installation_lock.h"
#include "uninstall/interrupted_run_win32.h"
#include "uninstall/self_removal_win32.h"
#include "worker/run_marks_win32.h"
#include "worker/temp_folder_win32.h"

namespace kelvara {
namespace {

constexpr const char* kEarlierRunCutOff =
    "The last installation of %s was cut off before it was complete.\n\nSetup will now put back "
    "everything that installation had changed, and then go on.";

// Recovers the product's run that the mark names, if any. A mark without its journal is an old
// one: it goes. True when a run was recovered.
bool recoverMarkedRun(const char* journal) {
    const char* shortName = setupState.productShortName.get();
    switch (recoverInterruptedRun(journal, false)) {
        case Recovery::done:
            return true;
        case Recovery::noJournal:
            clearRunMarks(shortName, runEnvironment.forUser, 0);
            return false;
        case Recovery::untrusted:
            // Never acted on: the new run's own mark takes the old one's place.
            return false;
        case Recovery::inUse:
            return false;
    }
    return false;
}

}  // namespace

bool earlierRunUndone() {
    HeapString journal(markedJournal(setupState.productShortName.get(), runEnvironment.forUser));
    if (!journal) return true;
    // A mark whose journal is gone (its run ended just after deleting it) asks nothing.
    if (!pathExists(journal.get())) {
        clearRunMarks(setupState.productShortName.get(), runEnvironment.forUser, 0);
        return true;
    }
    writeRunLog("recovery: an earlier installation of this product was cut off (journal %s)",
                journal.get());
    if (!runEnvironment.deployment.quiet &&
        messageBoxFormat(nullptr, setupState.setupCaption.get(), kEarlierRunCutOff,
                         setupState.productName.get(), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
        writeRunLog("recovery: not now, the setup ends");
        return false;
    }
    recoverMarkedRun(journal.get());
    return true;
}

bool interruptedRunUndoneBeforeRemoval() {
    HeapString journal(markedJournal(setupState.productShortName.get(), runEnvironment.forUser));
    if (!journal) return false;
    writeRunLog("recovery: an installation of this product was cut off (journal %s)",
                journal.get());
    recoverMarkedRun(journal.get());
    return true;
}

int runRecoveryMode() {
    const char* journal = runEnvironment.deployment.recoverJournal.get();
    // Not beside another installation (a setup of the same product may be undoing the same
    // run): the next setup, or logon, recovers it then. Whose run it was is only known from the
    // journal, so both locks are taken.
    OwnedKernelObject machineLock;
    OwnedKernelObject userLock;
    if (!takeInstallationLock(false, machineLock) || !takeInstallationLock(true, userLock)) {
        writeRunLog("recovery: not now: another installation is in progress");
        return kExitAnotherRunning;
    }
    // Run from the cut-off run's own folder (as the logon does), it takes that folder as its own:
    // its self-removal script removes the folder once this program has ended.
    const bool fromRunFolder = adoptRunTempFolder(runEnvironment.installerDir.get());
    const Recovery outcome = recoverInterruptedRun(journal, true);
    if (outcome == Recovery::noJournal) writeRunLog("recovery: nothing to recover: %s", journal);
    if (fromRunFolder) writeSelfRemovalScript();
    if (outcome == Recovery::inUse) return kExitAnotherRunning;
    return outcome == Recovery::untrusted ? kExitNotInstalled : kExitInstalled;
}

}  // namespace kelvara
