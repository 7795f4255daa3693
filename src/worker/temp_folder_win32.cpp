#include "worker/temp_folder_win32.h"

#include <windows.h>

#include "environment/run_environment.h"
#include "runtime/file_security_win32.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/replace_on_reboot_win32.h"
#include "runtime/text_case.h"
#include "worker/worker_state.h"

namespace kelvara {

const char* runTempFolder() {
    RunEnvironment& run = runEnvironment;
    if (!workerState.runTempDir && run.tempDir) {
        workerState.runTempDir.reset(makePrivateFolder(run.tempDir.get()));
    }
    return workerState.runTempDir.get();
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
    workerState.runTempDirHandedOver = true;
    return copyText(workerState.runTempDir, folder);
}

void handOverRunTempFolder() {
    workerState.runTempDirHandedOver = true;
}

void removeRunTempFolder() {
    if (workerState.runTempDir && !workerState.runTempDirHandedOver &&
        !::RemoveDirectoryA(workerState.runTempDir.get())) {
        scheduleAtRestart(workerState.runTempDir.get(), nullptr);
    }
    workerState.runTempDir.reset();
    workerState.runTempDirHandedOver = false;
}

}  // namespace kelvara
