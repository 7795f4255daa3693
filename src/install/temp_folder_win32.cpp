#include "install/temp_folder_win32.h"

#include <windows.h>

#include "formats/setup_state.h"
#include "runtime/file_security_win32.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/replace_on_reboot_win32.h"
#include "runtime/text_case.h"

namespace kelvara {

const char* runTempFolder() {
    SetupState& s = setupState;
    if (!s.runTempDir && s.tempDir) s.runTempDir.reset(makePrivateFolder(s.tempDir.get()));
    return s.runTempDir.get();
}

bool adoptRunTempFolder(const char* folder) {
    SetupState& s = setupState;
    if (!folder || !s.tempDir) return false;
    HeapString parent(folderPart(folder));
    const char* name = fileNamePart(folder);
    char prefix[4];
    ::lstrcpynA(prefix, name, sizeof prefix);
    if (!parent || compareTextNoCase(parent.get(), s.tempDir.get()) != 0 ||
        compareTextNoCase(prefix, "KVR") != 0 || !name[3]) {
        return false;
    }
    // This program runs from it: its self-removal script removes it, not the clean-up.
    s.runTempDirHandedOver = true;
    return copyText(s.runTempDir, folder);
}

void handOverRunTempFolder() {
    setupState.runTempDirHandedOver = true;
}

void removeRunTempFolder() {
    SetupState& s = setupState;
    if (s.runTempDir && !s.runTempDirHandedOver && !::RemoveDirectoryA(s.runTempDir.get())) {
        scheduleAtRestart(s.runTempDir.get(), nullptr);
    }
    s.runTempDir.reset();
    s.runTempDirHandedOver = false;
}

}  // namespace kelvara
