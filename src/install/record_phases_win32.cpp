// The record phases' loops. What each record does (creating the shortcut, writing the value,
// the INI entry, the association, the uninstall entry) is not built yet: every record passes its
// checkpoint and is left as it is, so an image with such records installs its files and nothing
// else. The operations will be called from applyRecord.
#include "install/record_phases.h"

#include "install/install_messages.h"
#include "install/install_run.h"
#include "setup/languages.h"
#include "setup/setup_state.h"

namespace kelvara {
namespace {

enum class RecordKind { shortcut, registryValue, iniEntry, association };

// Not built yet: the record is not applied.
bool applyRecord(InstallRun&, RecordKind, const char*) {
    return true;
}

bool runPhase(InstallRun& run, const StringList& records, RecordKind kind) {
    for (int i = 0; i < records.count(); ++i) {
        if (!checkpoint(run) || !applyRecord(run, kind, records.get(i))) return false;
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
    return runPhase(run, setupState.shortcutEntries, RecordKind::shortcut);
}

bool installRegistryValues(InstallRun& run) {
    run.display.clearStatus();
    if (setupState.registryEntries.count() != 0 || setupState.createUninstaller)
        run.display.setCaption(caption(kCaptionRegistry));
    return runPhase(run, setupState.registryEntries, RecordKind::registryValue);
}

bool installIniEntries(InstallRun& run) {
    if (setupState.iniEntries.count() != 0) run.display.setCaption(caption(kCaptionIni));
    return runPhase(run, setupState.iniEntries, RecordKind::iniEntry);
}

bool installAssociations(InstallRun& run) {
    if (setupState.associationEntries.count() != 0)
        run.display.setCaption(caption(kCaptionAssociations));
    return runPhase(run, setupState.associationEntries, RecordKind::association);
}

// Not built yet: no uninstall entry is written.
void writeUninstallEntry(InstallRun&) {}

}  // namespace kelvara
