// The record phases' loops: a checkpoint, then the record.
#include "install/record_phases.h"

#include "formats/languages.h"
#include "formats/setup_state.h"
#include "install/install_messages.h"
#include "install/install_run_win32.h"

namespace kelvara {
namespace {

using RecordStep = bool (*)(InstallRun&, const char*);

PhaseOutcome runPhase(InstallRun& run, const StringList& records, RecordStep step) {
    for (int i = 0; i < records.count(); ++i) {
        const PhaseOutcome outcome = checkpoint(run);
        if (outcome != PhaseOutcome::proceed) return outcome;
        if (!step(run, records.get(i))) return PhaseOutcome::stop;
    }
    return PhaseOutcome::proceed;
}

const char* caption(int item) {
    return text(kInstallingPage, item);
}

}  // namespace

PhaseOutcome installShortcuts(InstallRun& run) {
    run.display.clearStatus();
    if (setupState.shortcutEntries.count() != 0) run.display.setCaption(caption(kCaptionShortcuts));
    return runPhase(run, setupState.shortcutEntries, installShortcut);
}

PhaseOutcome installRegistryValues(InstallRun& run) {
    run.display.clearStatus();
    if (setupState.registryEntries.count() != 0 || setupState.createUninstaller)
        run.display.setCaption(caption(kCaptionRegistry));
    return runPhase(run, setupState.registryEntries, installRegistryValue);
}

PhaseOutcome installIniEntries(InstallRun& run) {
    if (setupState.iniEntries.count() != 0) run.display.setCaption(caption(kCaptionIni));
    return runPhase(run, setupState.iniEntries, installIniEntry);
}

PhaseOutcome installAssociations(InstallRun& run) {
    if (setupState.associationEntries.count() != 0)
        run.display.setCaption(caption(kCaptionAssociations));
    return runPhase(run, setupState.associationEntries, installAssociation);
}

}  // namespace kelvara
