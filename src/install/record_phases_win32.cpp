// The record phases' loops: a checkpoint, then the record.
#include "install/record_phases.h"

#include "formats/languages.h"
#include "formats/setup_state.h"
#include "install/install_messages.h"
#include "install/install_run.h"

namespace kelvara {
namespace {

using RecordStep = bool (*)(InstallRun&, const char*);

bool runPhase(InstallRun& run, const StringList& records, RecordStep step) {
    for (int i = 0; i < records.count(); ++i) {
        if (!checkpoint(run) || !step(run, records.get(i))) return false;
    }
    return true;
}

const char* caption(int item) {
    return text(kInstallingPage, item);
}

}  // namespace

bool installShortcuts(InstallRun& run) {
    run.display.clearStatus();
    if (setupState.shortcutEntries.count() != 0) run.display.setCaption(caption(kCaptionShortcuts));
    return runPhase(run, setupState.shortcutEntries, installShortcut);
}

bool installRegistryValues(InstallRun& run) {
    run.display.clearStatus();
    if (setupState.registryEntries.count() != 0 || setupState.createUninstaller)
        run.display.setCaption(caption(kCaptionRegistry));
    return runPhase(run, setupState.registryEntries, installRegistryValue);
}

bool installIniEntries(InstallRun& run) {
    if (setupState.iniEntries.count() != 0) run.display.setCaption(caption(kCaptionIni));
    return runPhase(run, setupState.iniEntries, installIniEntry);
}

bool installAssociations(InstallRun& run) {
    if (setupState.associationEntries.count() != 0)
        run.display.setCaption(caption(kCaptionAssociations));
    return runPhase(run, setupState.associationEntries, installAssociation);
}

}  // namespace kelvara
