#include <windows.h>

#include "environment/requirements.h"
#include "install/action_lists.h"
#include "environment/system_detection.h"
#include "runtime/message_box.h"
#include "setup/exit_codes.h"
#include "setup/languages.h"
#include "setup/script_format.h"
#include "setup/run.h"
#include "setup/script_records.h"
#include "setup/setup_image.h"
#include "setup/setup_state.h"
#include "setup/silent_run.h"
#include "setup/startup_messages.h"
#include "setup/startup_stages.h"

namespace kelvara {
namespace {

// Stage 1 is left out: it makes the drawing objects, which only a window needs.
constexpr int kStartupOrder[] = {kStageCore,          kStageLanguageNames, kStageTempDir,
                                 kStageInstallerPath, kStageInstallerDir,  kStageSelfFile,
                                 kStageCommandLine};

bool runStartupStages() {
    for (int stage : kStartupOrder) {
        if (!initStage(stage)) return false;
    }
    return true;
}

// Reads the stub header at the start of the running file.
bool readStubHeader() {
    unsigned char bytes[kStubHeaderSize] = {};
    DWORD read = 0;
    if (!::ReadFile(setupState.selfFile, bytes, kStubHeaderSize, &read, nullptr) ||
        read < static_cast<DWORD>(kStubHeaderSize)) {
        return reportStartupFailure(kErrorReadHeader);
    }
    setupState.stubHeader = decodeStubHeader(bytes);
    return true;
}

// The requirement check. False when a requirement is not met: its message has been shown and
// the run ends.
bool requirementsMet() {
    const int result = checkRequirements();
    const char* missingName = nullptr;
    const int item = requirementMessage(setupState, result, &missingName);
    if (item < 0) return true;
    messageBoxFormat(nullptr, setupState.setupCaption, text(kTableSetupMessages, item), missingName,
                     MB_ICONEXCLAMATION);
    return false;
}

// The installer; returns its exit code. The wizard run is not built yet: without the silent
// argument the run ends after the requirement check and the actions of group 0, having
// installed nothing.
int runInstallerMode() {
    const StubHeader& header = setupState.stubHeader;
    if (!verifySetupImage(header) || !loadSetupScript(header)) return kExitNotInstalled;
    applyScript(setupState.script, setupState.scriptSize);
    if (!requirementsMet()) return kExitNotInstalled;
    runActionGroup(0);
    if (setupState.silentMode) return runSilentInstall();
    return kExitNotInstalled;
}

// The uninstaller: the running file is no longer needed open. Starting the uninstaller and its
// finish decisions (restart for files in use, the success message) come with the uninstallation
// subsystem; until then the run ends here as it does for a missing install log.
void runUninstallerMode() {
    SetupState& s = setupState;
    ::CloseHandle(s.selfFile);
    s.selfFile = INVALID_HANDLE_VALUE;
}

}  // namespace

void runSetup() {
    int exitCode = kExitNotInstalled;  // until the run gets further than its start-up
    if (runStartupStages()) {
        setupState.silentMode = isSilentRequest(setupState.argTable, setupState.argCount);
        if (readStubHeader()) {
            if (setupState.stubHeader.packageOffset == 0) {
                runUninstallerMode();
                exitCode = 0;
            } else {
                exitCode = runInstallerMode();
            }
        }
    }
    cleanUp();
    ::ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace kelvara
