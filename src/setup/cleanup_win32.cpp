// The clean-up at the end of every run. The order is fixed: lists before the functions they
// need, the private heap last. Every step tolerates an object that was never made.
#include <windows.h>

#include "environment/folder_tokens_win32.h"
#include "formats/setup_state.h"
#include "install/install_state.h"
#include "install/temp_folder_win32.h"
#include "runtime/access_check_win32.h"
#include "runtime/file_version_win32.h"
#include "runtime/heap.h"
#include "runtime/run_log_win32.h"
#include "setup/startup_stages.h"
#include "uninstall/uninstall_state.h"
#include "wizard/wizard_state.h"

namespace kelvara {
namespace {

void destroyTextTables(SetupState& s) {
    for (int language = 0; language < kLanguageCount; ++language) {
        s.buttonLabels[language].destroy();
        s.setupMessages[language].destroy();
        s.errorMessages[language].destroy();
    }
    for (PageSlot& slot : s.pageSlots) {
        for (StringList& texts : slot.texts) texts.destroy();
        slot.runPrograms.destroy();
        slot.dllCalls.destroy();
    }
}

}  // namespace

void cleanUp() {
    SetupState& s = setupState;
    closeRunLog();  // the run's last line is written: nothing below speaks
    s.commandLineCopy.reset();
    s.deployment.folder.reset();
    s.deployment.logFile.reset();
    s.deployment.unknownOptions.destroy();
    releaseWizardState();  // the drawing objects and windows
    s.richEditLibrary.reset();
    s.commonControlsLibrary.reset();
    s.backgroundLines.destroy();
    destroyTextTables(s);
    s.script.reset();
    s.installerDir.reset();
    s.installerPath.reset();
    s.licenseText.reset();
    s.readmeText.reset();
    removeRunTempFolder();
    releaseInstallState();  // after its temporary folder has gone
    releaseUninstallState();
    s.tempDir.reset();
    s.productName.reset();
    s.productShortName.reset();
    s.productVersion.reset();
    s.publisher.reset();
    s.aboutUrl.reset();
    s.helpUrl.reset();
    s.setupCaption.reset();
    s.requiredWindows.reset();
    s.requiredDirectX.reset();
    s.requiredIe.reset();
    s.requiredAccess.reset();
    s.finishViewFile.reset();
    s.finishRunProgram.reset();
    s.selfFile.reset();
    s.scratchFields.destroy();
    s.uninstallPrograms.destroy();
    s.uninstallDllCalls.destroy();
    s.groupZeroPrograms.destroy();
    s.groupZeroDllCalls.destroy();
    s.variableNames.destroy();
    s.variableValues.destroy();
    s.languageNames.destroy();
    s.shortcutEntries.destroy();
    s.registryEntries.destroy();
    s.iniEntries.destroy();
    s.associationEntries.destroy();
    s.folderPaths.destroy();
    s.threadToken.reset();
    releaseShellFunctions();
    releaseSecurityFunctions();
    releaseVersionFunctions();
    heapDestroy();
}

}  // namespace kelvara
