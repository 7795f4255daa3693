// The clean-up at the end of every run. The order is fixed: lists before the functions they
// need, the private heap last. Every step tolerates an object that was never made.
#include <windows.h>

#include "environment/folder_tokens.h"
#include "formats/setup_state.h"
#include "runtime/access_check.h"
#include "runtime/heap.h"
#include "setup/startup_stages.h"

namespace kelvara {
namespace {

void freeText(char*& text) {
    heapFree(text);
    text = nullptr;
}

void closeHandle(OsHandle& handle) {
    if (handle) ::CloseHandle(handle);
    handle = nullptr;
}

void deleteObject(OsObject& object) {
    if (object) ::DeleteObject(static_cast<HGDIOBJ>(object));
    object = nullptr;
}

void releaseDrawingObjects(SetupState& s) {
    deleteObject(s.normalFont);
    deleteObject(s.pageBrush);
    deleteObject(s.frameBrush);
    deleteObject(s.headerBrush);
    deleteObject(s.titleFont);
    deleteObject(s.accentBrush);
    deleteObject(s.accentPen);
    deleteObject(s.palette);
    heapFree(s.paletteDescription);
    s.paletteDescription = nullptr;
}

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
    freeText(s.commandLineCopy);
    releaseDrawingObjects(s);
    if (s.richEditLibrary) ::FreeLibrary(static_cast<HMODULE>(s.richEditLibrary));
    s.richEditLibrary = nullptr;
    s.backgroundLines.destroy();
    destroyTextTables(s);
    heapFree(s.script);
    s.script = nullptr;
    freeText(s.installerDir);
    freeText(s.installerPath);
    freeText(s.licenseText);
    freeText(s.readmeText);
    freeText(s.tempDir);
    freeText(s.productName);
    freeText(s.productShortName);
    freeText(s.setupCaption);
    freeText(s.requiredWindows);
    freeText(s.requiredDirectX);
    freeText(s.requiredIe);
    freeText(s.requiredAccess);
    freeText(s.finishViewFile);
    freeText(s.finishRunProgram);
    freeText(s.rollbackLogPath);
    freeText(s.uninstallLogPath);
    freeText(s.logBuffer);
    s.entryText = nullptr;
    if (s.selfFile && s.selfFile != INVALID_HANDLE_VALUE) ::CloseHandle(s.selfFile);
    s.selfFile = INVALID_HANDLE_VALUE;
    s.scratchFields.destroy();
    closeHandle(s.proceedEvent);
    s.uninstallPrograms.destroy();
    s.uninstallDllCalls.destroy();
    s.groupZeroPrograms.destroy();
    s.groupZeroDllCalls.destroy();
    s.variableNames.destroy();
    s.variableValues.destroy();
    s.languageNames.destroy();
    closeHandle(s.installDoneEvent);
    closeHandle(s.uninstallDoneEvent);
    s.shortcutEntries.destroy();
    s.registryEntries.destroy();
    s.iniEntries.destroy();
    s.associationEntries.destroy();
    s.leftoverFolders.destroy();
    s.rebootDeleteFiles.destroy();
    s.deferredTemps.destroy();
    s.deferredTargets.destroy();
    s.deferredShared.destroy();
    s.folderPaths.destroy();
    closeHandle(s.threadToken);
    releaseShellFunctions();
    releaseSecurityFunctions();
    heapDestroy();
}

}  // namespace kelvara
