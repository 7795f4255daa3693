// Phase 2 of the install thread: one shortcut record at a time, filtered by the wizard's
// choices, expanded, its folder made, the link written and logged.
#include <windows.h>

#include "environment/run_environment.h"
#include "formats/install_log.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "install/folder_chain_win32.h"
#include "install/install_messages.h"
#include "install/install_run_win32.h"
#include "install/record_phases.h"
#include "install/shell_link_win32.h"
#include "install/shortcut_record.h"
#include "runtime/file_version_win32.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"

namespace kelvara {
namespace {

constexpr const char* kInstallPathVariable = "%InstallPath%";

ShortcutChoices wizardChoices() {
    ShortcutChoices choices;
    choices.group = setupState.createGroupShortcuts;
    choices.desktop = setupState.createDesktopShortcuts;
    choices.quickLaunch = setupState.createQuickLaunchShortcuts;
    return choices;
}

// The shortcut could not be made: message 27 with its path. True to go on (Yes).
bool reportShortcutFailure(InstallRun& run, const char* path) {
    return askToGoOn(run, kMsgShortcutError, path);
}

bool writeLink(const ShortcutRecord& record) {
    ShellLinkFields fields;
    fields.linkPath = record.linkPath();
    fields.target = record.target();
    fields.arguments = record.arguments();
    fields.workingFolder = record.workingFolder.get();
    fields.iconFile = record.iconFile();
    fields.iconIndex = record.iconIndex;
    fields.showCommand = record.showCommand;
    fields.hotKey = record.hotKey;
    return createShellLink(fields);
}

}  // namespace

bool installShortcut(InstallRun& run, const char* raw) {
    if (!shortcutWanted(raw, wizardChoices())) return true;

    HeapString expanded(expandShortcutRecord(raw));
    ShortcutRecord record;
    if (!expanded ||
        !readShortcutRecord(expanded.get(), lookupVariable(kInstallPathVariable), record)) {
        return reportShortcutFailure(run, raw);
    }
    const char* path = record.linkPath();
    const bool existed = pathExists(path);
    run.display.showPath(path);

    // A relative link path would be saved wherever the current folder is, and later deleted
    // wherever the uninstaller's is: it is refused like a link that cannot be saved.
    if (!isFullLinkPath(path)) return reportShortcutFailure(run, path);
    HeapString folder(linkFolder(path));
    if (!folder) return reportShortcutFailure(run, path);
    if (*folder.get() && createFolderChain(run, folder.get()) != 0) return false;

    // A link that was there before is kept for the rollback, which puts it back as it was.
    // Without its copy only because the journal failed: nothing is written then.
    if (existed && !keepCopyForRollback(run, path) && journalFailed(run)) return false;
    // A new one: the journal names it before it is saved.
    if (!existed && !journalNewItem(run, kLogShortcut, path)) return false;
    if (!writeLink(record)) {
        // A save that failed half-way may leave a file this run made; it is not logged, so it
        // goes now rather than stay behind after a rollback or an uninstall.
        if (!existed && pathExists(path)) ::DeleteFileA(path);
        return reportShortcutFailure(run, path);
    }
    if (record.shared && !runEnvironment.forUser) {
        // One that was there before is never offered for deletion by a rollback: the rollback
        // only gives its count back.
        logPath(run, kLogSharedFile, path, !existed);
        if (existed) {
            run.log.addEscaped(kLogExistingShared, path, nullptr,
                               kLogToRollback | kLogRollbackOnly);
        }
        changeSharedCount(path, false);
    } else {
        logPath(run, kLogShortcut, path, !existed);
    }
    return true;
}

}  // namespace kelvara
