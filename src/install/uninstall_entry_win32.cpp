// The uninstall entry: the product in the system's list of installed programs, written at the
// finishing point and removed by the uninstaller with everything below its key.
#include <windows.h>

#include <cstring>

#include "formats/setup_state.h"
#include "formats/variables.h"
#include "install/config_records.h"
#include "install/install_run_win32.h"
#include "install/record_phases.h"
#include "install/registry_write_win32.h"
#include "runtime/heap_string.h"

namespace kelvara {

void writeUninstallEntry(InstallRun& run) {
    // A short name that names no key of its own gets no entry: the uninstaller would otherwise
    // delete the whole list of installed programs, or another product's entry.
    HeapString key(uninstallKeyPath(setupState.productShortName.get()));
    if (!key) return;
    const char* uninstaller = run.uninstallerPath.get();
    // Failures are not checked: the run is complete, and the entry only helps to find it.
    writeRegistryText(HKEY_LOCAL_MACHINE, key.get(), "DisplayName", setupState.productName.get());
    // Quoted when it holds a blank: the system runs the value as a command line, and of
    // C:\Apps\Hello World\uninstall.exe unquoted it would first try C:\Apps\Hello.exe.
    const bool blank = std::strchr(uninstaller, ' ') != nullptr;
    HeapString command(blank ? strConcat5("\"", uninstaller, "\"") : strConcat5(uninstaller));
    writeRegistryText(HKEY_LOCAL_MACHINE, key.get(), "UninstallString", command.get());
    // The command a deployment tool runs to remove the product unattended.
    HeapString quiet(strConcat5("\"", uninstaller, "\" /S"));
    if (quiet)
        writeRegistryText(HKEY_LOCAL_MACHINE, key.get(), "QuietUninstallString", quiet.get());
    writeRegistryText(HKEY_LOCAL_MACHINE, key.get(), "InstallLocation",
                      lookupVariable("%InstallPath%"));
    writeRegistryText(HKEY_LOCAL_MACHINE, key.get(), "DisplayIcon", uninstaller);
    writeRegistryDword(HKEY_LOCAL_MACHINE, key.get(), "EstimatedSize",
                       estimatedSizeKb(setupState.packageHeader.requiredSpace));
    // What the project says of itself, where it says it; the day of the installation always.
    const struct {
        const char* name;
        const char* value;
    } details[] = {{"DisplayVersion", setupState.productVersion.get()},
                   {"Publisher", setupState.publisher.get()},
                   {"URLInfoAbout", setupState.aboutUrl.get()},
                   {"HelpLink", setupState.helpUrl.get()}};
    for (const auto& detail : details) {
        if (detail.value && *detail.value) {
            writeRegistryText(HKEY_LOCAL_MACHINE, key.get(), detail.name, detail.value);
        }
    }
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    char date[12];
    ::wsprintfA(date, "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    writeRegistryText(HKEY_LOCAL_MACHINE, key.get(), "InstallDate", date);
    writeRegistryDword(HKEY_LOCAL_MACHINE, key.get(), "NoModify", 1);
    writeRegistryDword(HKEY_LOCAL_MACHINE, key.get(), "NoRepair", 1);
    run.log.addRegistryKey(kRootNumberHklm, key.get(), true, kLogToRollback);
}

}  // namespace kelvara
