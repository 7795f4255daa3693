#include "setup/wizard_run.h"

#include <windows.h>

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/message_catalogue.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "install/action_lists.h"
#include "install/install_messages.h"
#include "install/install_state.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "setup/elevated_restart_win32.h"
#include "setup/exit_codes.h"
#include "setup/finish_decisions_win32.h"
#include "setup/choice_options_win32.h"
#include "setup/scope_choice_win32.h"
#include "setup/startup_stages.h"
#include "wizard/background_window_win32.h"
#include "wizard/wizard_frame_win32.h"
#include "wizard/wizard_state.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

void pumpWizardMessages(HWND frame) {
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        // The dialog manager translates and dispatches what belongs to the frame and its page.
        if (!::IsDialogMessageA(frame, &message)) ::DispatchMessageA(&message);
    }
}

// The action groups of the pages after the one the wizard ended on; the finish page's button
// counts as the finish page itself (so only group 12 runs after it).
void runGroupsAfterWizard() {
    int position = wizardState.wizardPosition;
    if (position < 0) return;
    if (position == kFinishedWizardPosition) position = kFinishPageIndex;
    for (int group = actionGroupAfterPage(position); group <= kActionGroupLast; ++group) {
        if (!runActionGroup(group)) return;  // a failing step not gone on from: the rest waits
    }
}

// The run-after program, then the view-after file, each when its box (or the script) says so.
void openAfterSetup() {
    SetupState& s = setupState;
    const char* installPath = lookupVariable("%InstallPath%");
    const struct {
        const char* path;
        bool enabled;
    } items[] = {{s.finishRunProgram.get(), s.finishRunEnabled},
                 {s.finishViewFile.get(), s.finishViewEnabled}};
    for (const auto& item : items) {
        if (!item.enabled) continue;
        HeapString expanded(expandVariables(item.path));
        if (expanded) openThroughShell(expanded.get(), installPath);
    }
}

// The restart decisions. The finish page's restart box decides without a question, and a
// cleared box earns a reminder. Without a finish page the restart is asked for when wanted; so
// it is when the user quit the wizard after the installation was done, and never saw the box.
bool restartDecided(HWND owner, UINT style) {
    SetupState& s = setupState;
    if (isPageShown(kFinishPageIndex) && !wizardState.wizardCancelled) {
        if (installState.restartChosen) return true;
        messageBoxFormat(owner, s.setupCaption.get(), text(kMsgRestartReminder),
                         s.productShortName.get() ? s.productShortName.get() : "", style);
        return false;
    }
    if (!installState.restartChosen) return false;
    // Not asked: the run was told never to restart.
    if (runEnvironment.deployment.noRestart) return false;
    return messageBoxFormat(owner, s.setupCaption.get(), text(restartQuestion()), nullptr,
                            style | MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

int runWizardInstall() {
    SetupState& s = setupState;
    InstallOutcome outcome;
    if (!initStage(kStageDrawing)) return installerExitCode(outcome);
    HWND background = s.backgroundEnabled ? createBackgroundWindow() : nullptr;
    wizardState.backgroundWindow.reset(background);
    // Without its background window the wizard runs on the desktop, as it does without one.
    HWND owner = background ? background : ::GetDesktopWindow();
    runEnvironment.ownerWindow = owner;
    // The pages of the parts show only for a product that has such parts.
    s.pageSlots[kPageComponents].enabled &= s.choices.componentCount > 0;
    s.pageSlots[kPageTasks].enabled &= s.choices.taskCount > 0;
    wizardState.choicesChanged = keepChosenRecords;
    HWND frame = hasShownPage() ? createWizardFrame(owner) : nullptr;
    if (!frame) {
        messageBoxFormat(owner, s.setupCaption.get(), text(kMsgNoWizardWindow), nullptr,
                         MB_ICONERROR);
        wizardState.backgroundWindow.reset();
        return installerExitCode(outcome);
    }
    wizardState.scopeChosen = applyScopeChoice;
    pumpWizardMessages(frame);
    if (wizardState.elevatedRestartChosen) {
        // "For all users" without the rights: the elevated run takes over, from its start.
        wizardState.backgroundWindow.reset();
        installState.installationMutex.reset();  // it must not find this run in its way
        return restartElevated(s.setupCaption.get(), " /ALLUSERS");
    }
    runGroupsAfterWizard();

    const UINT style = background ? 0 : MB_SYSTEMMODAL;
    outcome.installed = isSignalled(installState.installDoneEvent.get());
    // The install thread is cancelled only by the wizard's own Cancel.
    outcome.cancelled = wizardState.wizardCancelled;
    // A wizard without an Installing page installs nothing by design: walked to its end, the
    // run did what it was asked to.
    outcome.notRequested =
        !outcome.installed && workerState.workerThreadId == 0 && wizardState.wizardPosition >= 0;
    bool restart = false;
    if (outcome.installed) {
        outcome.succeeded = installState.installSucceeded;
        if (!installState.installSucceeded && !isPageShown(kFinishPageIndex)) {
            messageBoxFormat(owner, s.setupCaption.get(), text(kMsgCompletedWithErrors), nullptr,
                             style | MB_ICONEXCLAMATION);
        }
        if (installState.restartNeeded) {
            outcome.restartRequired = true;
            restart = restartDecided(owner, style);
        } else if (!wizardState.wizardCancelled) {
            openAfterSetup();
        }
    }
    wizardState.backgroundWindow.reset();
    runEnvironment.ownerWindow = ::GetDesktopWindow();
    if (restart) outcome.restartStarted = restartComputer(style);
    return installerExitCode(outcome);
}

}  // namespace kelvara
