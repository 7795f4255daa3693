// The uninstall entry: the product in the system's list of installed programs, written at the
// finishing point and removed by the uninstaller with everything below its key.
#include <windows.h>

#include <cstring>

#include "environment/install_scope.h"
#include "environment/registry_text_win32.h"
#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/message_catalogue.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "install/config_records.h"
#include "install/install_run_win32.h"
#include "install/record_phases.h"
#include "install/registry_write_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/registry_delete_win32.h"
#include "runtime/registry_keys_win32.h"
#include "runtime/registry_roots.h"
#include "runtime/system_view_win32.h"

namespace kelvara {

namespace {

constexpr const char* kDisplayVersionValue = "DisplayVersion";

// Writes the entry's values and says whether the run goes on: a value that cannot be written is
// a failing step (Yes goes on with errors, No ends the run, which is rolled back). An entry of an
// earlier installation (an upgrade's) is what a rollback puts back, value by value; a new one it
// deletes whole.
class EntryWriter {
  public:
    EntryWriter(InstallRun& run, const char* key) : run_(run), key_(key) {
        existed_ = ::RegOpenKeyExA(root(), key, 0, KEY_QUERY_VALUE | registryViewAccess(),
                                   earlier_.put()) == ERROR_SUCCESS;
        // The uninstaller deletes the entry whole; a rollback only one it made.
        run.log.addRegistryKey(rootNumber_, key, true, existed_ ? 0 : kLogToRollback);
    }

    bool text(const char* name, const char* value) {
        return remember(name) && check(name, writeRegistryText(root(), key_, name, value));
    }
    bool number(const char* name, DWORD value) {
        return remember(name) && check(name, writeRegistryDword(root(), key_, name, value));
    }

  private:
    // What an earlier entry held goes to the journal before it is written over. False when the
    // journal could not take it (told): nothing is written.
    bool remember(const char* name) {
        if (!existed_) return true;
        PreviousValue previous;
        previous.read(earlier_.get(), name);
        previous.log(run_, rootNumber_, key_, name, kLogToRollback | kLogRollbackOnly);
        return !journalFailed(run_);
    }

    bool check(const char* name, LONG status) {
        if (status == ERROR_SUCCESS) return true;
        HeapString where(strConcat5(rootKeyName(static_cast<int>(rootNumber_)), "\\", key_));
        return askToGoOn(run_, kMsgRegistryValueError, name, where ? where.get() : key_,
                         systemErrorText(status));
    }

    HKEY root() const { return registryRoot(static_cast<int>(rootNumber_)); }

    InstallRun& run_;
    // The list of installed programs of the scope: the machine's, or the user's own.
    unsigned rootNumber_ = scopedRootNumber(kRootScoped);
    const char* key_;
    UniqueKey earlier_;
    bool existed_ = false;
};

}  // namespace

std::uint8_t installedScope(const char* productShortName) {
    HeapString key(uninstallKeyPath(productShortName));
    if (!key) return kScopeChoose;
    if (registryKeyExists(HKEY_CURRENT_USER, key.get())) return kScopeUser;
    if (registryKeyExists(HKEY_LOCAL_MACHINE, key.get())) return kScopeMachine;
    return kScopeChoose;
}

char* installedChoice(const char* productShortName, bool tasks) {
    HeapString key(uninstallKeyPath(productShortName));
    if (!key) return nullptr;
    return readRegistryText(registryRoot(static_cast<int>(scopedRootNumber(kRootScoped))),
                            key.get(), tasks ? kChosenTasksValue : kChosenComponentsValue);
}

char* installedVersion(const char* productShortName) {
    HeapString key(uninstallKeyPath(productShortName));
    if (!key) return nullptr;
    return readRegistryText(registryRoot(static_cast<int>(scopedRootNumber(kRootScoped))),
                            key.get(), kDisplayVersionValue);
}

bool writeUninstallEntry(InstallRun& run) {
    // A short name that names no key of its own gets no entry: the uninstaller would otherwise
    // delete the whole list of installed programs, or another product's entry.
    HeapString key(uninstallKeyPath(setupState.productShortName.get()));
    if (!key) return true;
    const char* uninstaller = run.uninstallerPath.get();
    EntryWriter entry(run, key.get());
    // Quoted when it holds a blank: the system runs the value as a command line, and of
    // C:\Apps\Hello World\uninstall.exe unquoted it would first try C:\Apps\Hello.exe.
    const bool blank = std::strchr(uninstaller, ' ') != nullptr;
    HeapString command(blank ? strConcat5("\"", uninstaller, "\"") : strConcat5(uninstaller));
    // The command a deployment tool runs to remove the product unattended.
    HeapString quiet(strConcat5("\"", uninstaller, "\" /S"));
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    char date[12];
    ::wsprintfA(date, "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    if (!entry.text("DisplayName", setupState.productName.get()) ||
        !entry.text("UninstallString", command.get()) ||
        !entry.text("QuietUninstallString", quiet.get()) ||
        !entry.text("InstallLocation", lookupVariable("%InstallPath%")) ||
        !entry.text("DisplayIcon", uninstaller) ||
        !entry.number("EstimatedSize",
                      estimatedSizeKb(runEnvironment.packageHeader.requiredSpace +
                                      selectedComponentBytes(setupState.choices)))) {
        return false;
    }
    // What the project says of itself, where it says it; the day of the installation always.
    const struct {
        const char* name;
        const char* value;
    } details[] = {{kDisplayVersionValue, setupState.productVersion.get()},
                   {"Publisher", setupState.publisher.get()},
                   {"URLInfoAbout", setupState.aboutUrl.get()},
                   {"HelpLink", setupState.helpUrl.get()}};
    for (const auto& detail : details) {
        if (detail.value && *detail.value && !entry.text(detail.name, detail.value)) return false;
    }
    // The parts chosen, ticked and cleared, where the next run of a setup of the product starts.
    const Choices& choices = setupState.choices;
    for (bool tasks : {false, true}) {
        if (!(tasks ? choices.taskCount : choices.componentCount)) continue;
        HeapString list(formatChoiceList(choices, tasks));
        if (!list || !entry.text(tasks ? kChosenTasksValue : kChosenComponentsValue, list.get()))
            return false;
    }
    return entry.text("InstallDate", date) && entry.number("NoModify", 1) &&
           entry.number("NoRepair", 1);
}

}  // namespace kelvara
