#include "setup/elevated_restart_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "environment/install_scope.h"
#include "environment/run_environment.h"
#include "formats/deployment_options.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "setup/exit_codes.h"

namespace kelvara {
namespace {

constexpr const char* kRestartMarker = " /ELEVATED";
constexpr const char* kNeedsAdministrator =
    "Setup needs administrator rights to install for all users of this computer.\n\n"
    "Run it again as an administrator, or ask one to install it.";
constexpr const char* kElevationFailed =
    "Setup could not start again with administrator rights.\n\n%s";

}  // namespace

// The elevated run starts in the same folder: a relative /LOG= or /DIR= means the same there.
int restartElevated(const char* caption, const char* options) {
    HeapString parameters(
        strConcat5(skipProgramName(::GetCommandLineA()), options, kRestartMarker));
    char folder[MAX_PATH];
    const DWORD folderLength = ::GetCurrentDirectoryA(sizeof folder, folder);
    if (!parameters || !runEnvironment.installerPath) return kExitNotInstalled;
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    start.lpVerb = "runas";
    start.lpFile = runEnvironment.installerPath.get();
    start.lpParameters = parameters.get();
    start.lpDirectory = folderLength && folderLength < sizeof folder ? folder : nullptr;
    start.nShow = SW_SHOWNORMAL;
    writeRunLog("administrator rights: missing; starting again elevated");
    if (!::ShellExecuteExA(&start) || !start.hProcess) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_CANCELLED) {
            writeRunLog("administrator rights: the request was declined");
            return kExitCancelled;
        }
        messageBoxFormat(nullptr, caption, kElevationFailed, systemErrorText(error), MB_ICONERROR);
        return kExitNotInstalled;
    }
    UniqueHandle process(start.hProcess);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = kExitNotInstalled;
    if (!::GetExitCodeProcess(process.get(), &code)) code = kExitNotInstalled;
    char number[12];
    ::wsprintfA(number, "%lu", code);
    writeRunLog("administrator rights: the elevated run ended with exit code %s", number);
    return static_cast<int>(code);
}

RightsStep rightsStepOfRun(bool machineWide) {
    const RunEnvironment& run = runEnvironment;
    return rightsStep(machineWide, run.isAdministrator, run.windowsVersion,
                      run.deployment.restartedElevated, run.deployment.quiet);
}

bool rightsSettled(bool machineWide, const char* caption, int& exitCode) {
    switch (rightsStepOfRun(machineWide)) {
        case RightsStep::goOn:
            return true;
        case RightsStep::refuse:
            writeRunLog("administrator rights: missing; a quiet run does not ask for them");
            messageBoxFormat(nullptr, caption, kNeedsAdministrator, nullptr, MB_ICONERROR);
            exitCode = kExitNotInstalled;
            return false;
        case RightsStep::restartElevated:
            break;
    }
    exitCode = restartElevated(caption, "");
    return false;
}

}  // namespace kelvara
