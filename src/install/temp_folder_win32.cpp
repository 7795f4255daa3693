#include "install/temp_folder_win32.h"

#include <windows.h>

#include "environment/run_environment.h"
#include "install/install_state.h"
#include "runtime/file_security_win32.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/replace_on_reboot_win32.h"
#include "runtime/text_case.h"

namespace kelvara {

const char* runTempFolder() {
    RunEnvironment& run = runEnvironment;
    if (!installState.runTempDir && run.tempDir) {
        installState.runTempDir.reset(makePrivateFolder(run.tempDir.get()));
    }
    return installState.runTempDir.get();
}

bool adoptRunTempFolder(const char* folder) {
    RunEnvironment& run = runEnvironment;
    if (!folder || !run.tempDir) return false;
    HeapString parent(folderPart(folder));
    const char* name = fileNamePart(folder);
    char prefix[4];
    ::lstrcpynA(prefix, name, sizeof prefix);
    if (!parent || compareTextNoCase(parent.get(), run.tempDir.get()) != 0 ||
        compareTextNoCase(prefix, "KVR") != 0 || !name[3]) {
        return false;
    }
    // This program runs from it: its self-removal script removes it, not the clean-up.
    installState.runTempDirHandedOver = true;
    return copyText(installState.runTempDir, folder);
}

void handOverRunTempFolder() {
    installState.runTempDirHandedOver = true;
}

void removeRunTempFolder() {
    if (installState.runTempDir && !installState.runTempDirHandedOver &&
        !::RemoveDirectoryA(installState.runTempDir.get())) {
        scheduleAtRestart(installState.runTempDir.get(), nullptr);
    }
    installState.runTempDir.reset();
    installState.runTempDirHandedOver = false;
}

}  // namespace kelvara
