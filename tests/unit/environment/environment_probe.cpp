// Prints the results of start-up stage 0's environment work, one "name=value" line each:
// code, nt, admin, ie, directx, access, architecture, then token<i>=<path> for every folder
// token (empty where the system has no such folder).
#include <cstdio>

#include "environment/folder_tokens_win32.h"
#include "environment/run_environment.h"
#include "environment/system_detection.h"
#include "formats/folder_token_names.h"
#include "runtime/heap.h"

using namespace kelvara;

int main() {
    RunEnvironment& run = runEnvironment;
    if (!heapCreate() || !loadShellFunctions() || !run.folderPaths.create(5)) {
        std::printf("error=start-up\n");
        return 1;
    }
    detectSystemSide();
    if (!fillFolderPaths()) {
        std::printf("error=start-up\n");
        return 1;
    }
    runSystemDetections();
    run.directXVersion = detectDirectX();  // the requirement check's own detection
    std::printf("code=%d\nnt=%d\nadmin=%d\nie=%d\ndirectx=0x%04x\naccess=%d\n",
                run.windowsVersionCode, isNtPlatform() ? 1 : 0, run.isAdministrator ? 1 : 0,
                run.ieLevel, static_cast<unsigned>(run.directXVersion), run.accessLevel);
    std::printf("architecture=%d\n", run.systemArchitecture);
    for (int token = 0; token < kFolderTokenCount; ++token) {
        const char* path = run.folderPaths.get(token);
        std::printf("token%d=%s\n", token, path ? path : "");
    }
    run.folderPaths.destroy();
    releaseShellFunctions();
    return 0;
}
