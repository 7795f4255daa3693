// The record phases' loops: a checkpoint, then the record.
#include "install/record_phases.h"

#include "formats/languages.h"
#include "formats/setup_state.h"
#include "install/install_messages.h"
#include "install/install_run_win32.h"

namespace kelvara {
namespace {

using RecordStep = bool (*)(InstallRun&, const char*);

// Each record's lines in the install log name the components it belongs to (`parts`).
PhaseOutcome runPhase(InstallRun& run, const StringList& records, const StringList& parts,
                      RecordStep step) {
    for (int i = 0; i < records.count(); ++i) {
        const PhaseOutcome outcome = checkpoint(run);
        if (outcome != PhaseOutcome::proceed) return outcome;
        run.log.setPart(parts.get(i));
        const bool goOn = step(run, records.get(i));
        run.log.setPart(nullptr);
        if (!goOn) return PhaseOutcome::stop;
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
    return runPhase(run, setupState.shortcutEntries, setupState.shortcutParts, installShortcut);
}

PhaseOutcome installRegistryValues(InstallRun& run) {
    run.display.clearStatus();
    if (setupState.registryEntries.count() != 0 || setupState.createUninstaller)
        run.display.setCaption(caption(kCaptionRegistry));
    return runPhase(run, setupState.registryEntries, setupState.registryParts,
                    installRegistryValue);
}

PhaseOutcome installIniEntries(InstallRun& run) {
    if (setupState.iniEntries.count() != 0) run.display.setCaption(caption(kCaptionIni));
    return runPhase(run, setupState.iniEntries, setupState.iniParts, installIniEntry);
}

PhaseOutcome installAssociations(InstallRun& run) {
    if (setupState.associationEntries.count() != 0)
        run.display.setCaption(caption(kCaptionAssociations));
    return runPhase(run, setupState.associationEntries, setupState.associationParts,
                    installAssociation);
}

}  // namespace kelvara
