// The association phase: one file association record at a time, written under
// HKEY_CLASSES_ROOT with the value write helper, in a fixed order that stops at the first
// failure.
#include <windows.h>
#include <shlobj.h>

#include "install/config_records.h"
#include "install/install_run.h"
#include "install/record_phases.h"
#include "install/registry_write_win32.h"
#include "runtime/heap_string.h"
#include "setup/setup_state.h"

namespace kelvara {
namespace {

constexpr int kMsgAssociationError = 30;  // extension
constexpr const char* kContentTypeValue = "Content Type";
constexpr const char* kInfoTipValue = "InfoTip";
constexpr const char* kOpenCommandKey = "\\shell\\open\\command";
constexpr const char* kDefaultIconKey = "\\DefaultIcon";

// One value below the document type's key (suffix empty: the key itself).
LONG writeTypeValue(const char* type, const char* suffix, const char* name, const char* text,
                    DWORD valueType = REG_SZ) {
    HeapString key(strConcat5(type, suffix));
    if (!key) return ERROR_NOT_ENOUGH_MEMORY;
    return writeRegistryText(HKEY_CLASSES_ROOT, key.get(), name, text, valueType);
}

// The document type's values, each only when the record gives it.
LONG writeDocumentType(const RecordFields& fields) {
    const char* type = fields.get(kAssociationType);
    LONG status = ERROR_SUCCESS;
    if (const char* description = fields.get(kAssociationDescription); *description)
        status = writeTypeValue(type, "", nullptr, description);
    if (const char* tip = fields.get(kAssociationInfoTip); status == ERROR_SUCCESS && *tip)
        status = writeTypeValue(type, "", kInfoTipValue, tip, REG_EXPAND_SZ);
    if (const char* command = fields.get(kAssociationCommand); status == ERROR_SUCCESS && *command)
        status = writeTypeValue(type, kOpenCommandKey, nullptr, command);
    if (const char* icon = fields.get(kAssociationIcon); status == ERROR_SUCCESS && *icon) {
        HeapString location(iconLocation(icon, fields.get(kAssociationIconIndex)));
        status = location ? writeTypeValue(type, kDefaultIconKey, nullptr, location.get())
                          : ERROR_NOT_ENOUGH_MEMORY;
    }
    return status;
}

}  // namespace

bool installAssociation(InstallRun& run, const char* record) {
    RecordFields fields;
    fields.read(record);
    const char* extension = fields.get(kAssociationExtension);
    const char* type = fields.get(kAssociationType);
    // Keys that were there before this run are not the run's to take away when it fails: their
    // lines go to the install log only (the uninstaller still removes the association).
    const bool newExtension = !registryKeyExists(HKEY_CLASSES_ROOT, extension);
    const bool newType = !registryKeyExists(HKEY_CLASSES_ROOT, type);

    // Without either name the writes would land on HKEY_CLASSES_ROOT itself.
    LONG status = *extension && *type ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    if (status == ERROR_SUCCESS)
        status = writeRegistryText(HKEY_CLASSES_ROOT, extension, nullptr, type);
    if (status == ERROR_SUCCESS) {
        run.log.addRegistryKey(kRootNumberHkcr, extension, true, newExtension ? kLogToRollback : 0);
        status = writeRegistryText(HKEY_CLASSES_ROOT, extension, kContentTypeValue,
                                   fields.get(kAssociationContentType));
    }
    if (status == ERROR_SUCCESS) status = writeDocumentType(fields);
    if (status == ERROR_SUCCESS) {
        ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        run.log.addRegistryKey(kRootNumberHkcr, type, true, newType ? kLogToRollback : 0);
        return true;
    }
    return askUser(run, kMsgAssociationError, extension, nullptr, MB_YESNO | MB_ICONSTOP) == IDYES;
}

}  // namespace kelvara
