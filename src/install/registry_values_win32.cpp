// The registry phase: one registry value record at a time, its key made with the key chain,
// the value converted by its type and set, and logged with a "c" line.
#include <windows.h>

#include "environment/install_scope.h"
#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/message_catalogue.h"
#include "formats/script_format.h"
#include "install/config_records.h"
#include "install/install_run_win32.h"
#include "install/record_phases.h"
#include "install/registry_data.h"
#include "install/registry_write_win32.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/registry_roots.h"

namespace kelvara {
namespace {

constexpr REGSAM kValueKeyAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

// The value's line: what it held, or, when it is new, that it goes, with the root as the record
// wrote it unless the scope put another one in its place.
void logValue(InstallRun& run, const PreviousValue& previous, const char* recordRootText,
              unsigned recordRoot, unsigned rootNumber, const char* keyPath, const char* name,
              unsigned flags) {
    if (previous.existed()) {
        previous.log(run, rootNumber, keyPath, name, flags);
        return;
    }
    char rootText[12];
    wsprintfA(rootText, "%u", rootNumber);
    run.log.addRegistryValue(rootNumber == recordRoot ? recordRootText : rootText, keyPath, name,
                             flags);
}

}  // namespace

bool installRegistryValue(InstallRun& run, const char* record) {
    RecordFields fields;
    if (!fields.read(record))
        return askToGoOn(run, kMsgRegistryKeyError, record,
                         systemErrorText(ERROR_NOT_ENOUGH_MEMORY), nullptr);
    // HKA, and HKCR in a user's installation, stand for the scope's own root.
    const unsigned recordRoot = recordRootNumber(fields.get(kRegistryRootField));
    const unsigned rootNumber = scopedRootNumber(recordRoot);
    HeapString scopedKey(
        strConcat5(classesKeyPrefix(recordRoot), normalizeKeyPath(fields.edit(kRegistryKeyField))));
    if (!scopedKey)
        return askToGoOn(run, kMsgRegistryKeyError, record,
                         systemErrorText(ERROR_NOT_ENOUGH_MEMORY), nullptr);
    char* keyPath = scopedKey.get();
    const char* name = fields.get(kRegistryNameField);
    const std::uint32_t type = registryValueType(fields.get(kRegistryTypeField));
    RecordViewScope view(run.log, recordView(fields.get(kRegistryViewField)));

    RegistryData data;
    DataResult converted = data.convert(type, fields.get(kRegistryDataField));
    if (converted == DataResult::unknownType) return true;

    HeapString where(strConcat5(rootKeyName(static_cast<int>(rootNumber)), "\\", keyPath));
    // A user's installation writes nothing of the machine's, even with rights that would let it.
    if (runEnvironment.forUser && rootNumber == kRootNumberHklm)
        return askToGoOn(run, kMsgRegistryKeyError, where.get(), kMachineKeyInUserInstallation);
    if (converted == DataResult::outOfMemory) {
        return askToGoOn(run, kMsgRegistryValueError, name, where.get(),
                         systemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    }
    UniqueKey key;
    LONG status = createKeyChain(run, rootNumber, keyPath, kValueKeyAccess, key);
    if (status != ERROR_SUCCESS) {
        return askToGoOn(run, kMsgRegistryKeyError, where.get(), systemErrorText(status), nullptr);
    }
    // The journal has it before it is written, whatever stops the run after; the install log
    // once it is. A value that was there before is logged with what it held, so that the
    // uninstaller and a rollback put it back instead of deleting it.
    PreviousValue previous;
    previous.read(key.get(), name);
    logValue(run, previous, fields.get(kRegistryRootField), recordRoot, rootNumber, keyPath, name,
             kLogToRollback | kLogRollbackOnly);
    if (journalFailed(run)) return false;
    status = ::RegSetValueExA(key.get(), name, 0, type, data.bytes(), data.size());
    if (status != ERROR_SUCCESS) {
        return askToGoOn(run, kMsgRegistryValueError, name, where.get(), systemErrorText(status));
    }
    logValue(run, previous, fields.get(kRegistryRootField), recordRoot, rootNumber, keyPath, name,
             kLogToRollback);
    return true;
}

}  // namespace kelvara
