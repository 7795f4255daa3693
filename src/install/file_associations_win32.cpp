// The association phase: one file association record at a time, written under
// HKEY_CLASSES_ROOT (a user's installation: HKEY_CURRENT_USER\Software\Classes) with the value
// write helper, in a fixed order that stops at the first failure.
#include <windows.h>
#include <shlobj.h>

#include "environment/install_scope.h"
#include "formats/message_catalogue.h"
#include "install/config_records.h"
#include "install/install_run_win32.h"
#include "install/record_phases.h"
#include "install/registry_write_win32.h"
#include "runtime/heap_string.h"
#include "runtime/registry_delete_win32.h"
#include "runtime/registry_keys_win32.h"
#include "runtime/system_view_win32.h"

namespace kelvara {
namespace {

constexpr const char* kContentTypeValue = "Content Type";
constexpr const char* kInfoTipValue = "InfoTip";
constexpr const char* kOpenCommandKey = "\\shell\\open\\command";
constexpr const char* kDefaultIconKey = "\\DefaultIcon";

// Writes the association's values. Into a key the run makes, values go as they are: the key is
// logged to go with everything below it. Into a key that was there before (a product that
// associates ".txt"), every value is logged first with what it held, so that the uninstaller
// puts the machine's association back instead of taking the key away.
struct AssociationWriter {
    InstallRun& run;
    bool keepsPrevious;
    unsigned root;  // the classes' root number in this run

    LONG text(const char* keyPath, const char* name, const char* value, DWORD type = REG_SZ) {
        if (!value) value = "";
        if (!keepsPrevious)
            return writeRegistryText(registryRoot(static_cast<int>(root)), keyPath, name, value,
                                     type);
        return writeRegistryValueLogged(run, root, keyPath, name, type, value,
                                        static_cast<DWORD>(lstrlenA(value) + 1));
    }
    // One value below the document type's key (suffix empty: the key itself).
    LONG typeText(const char* type, const char* suffix, const char* name, const char* value,
                  DWORD valueType = REG_SZ) {
        HeapString key(strConcat5(type, suffix));
        if (!key) return ERROR_NOT_ENOUGH_MEMORY;
        return text(key.get(), name, value, valueType);
    }
};

// The document type's values, each only when the record gives it.
LONG writeDocumentType(AssociationWriter& out, const RecordFields& fields, const char* type) {
    LONG status = ERROR_SUCCESS;
    if (const char* description = fields.get(kAssociationDescription); *description)
        status = out.typeText(type, "", nullptr, description);
    if (const char* tip = fields.get(kAssociationInfoTip); status == ERROR_SUCCESS && *tip)
        status = out.typeText(type, "", kInfoTipValue, tip, REG_EXPAND_SZ);
    if (const char* command = fields.get(kAssociationCommand); status == ERROR_SUCCESS && *command)
        status = out.typeText(type, kOpenCommandKey, nullptr, command);
    if (const char* icon = fields.get(kAssociationIcon); status == ERROR_SUCCESS && *icon) {
        HeapString location(iconLocation(icon, fields.get(kAssociationIconIndex)));
        status = location ? out.typeText(type, kDefaultIconKey, nullptr, location.get())
                          : ERROR_NOT_ENOUGH_MEMORY;
    }
    return status;
}

}  // namespace

bool installAssociation(InstallRun& run, const char* record) {
    RecordFields fields;
    fields.read(record);
    const char* extensionName = fields.get(kAssociationExtension);
    const char* typeName = fields.get(kAssociationType);
    // A user's installation keeps its file types in the user's own classes.
    const unsigned root = scopedRootNumber(kRootNumberHkcr);
    const char* prefix = classesKeyPrefix(kRootNumberHkcr);
    HeapString extensionKey(strConcat5(prefix, extensionName));
    HeapString typeKey(strConcat5(prefix, typeName));
    if (!extensionKey || !typeKey) return askToGoOn(run, kMsgAssociationError, extensionName);
    const char* extension = extensionKey.get();
    const char* type = typeKey.get();
    HKEY classes = registryRoot(static_cast<int>(root));
    // Keys that were there before this run stay the machine's: only what the run wrote into
    // them is undone (see AssociationWriter).
    const bool newExtension = !registryKeyExists(classes, extension);
    const bool newType = !registryKeyExists(classes, type);
    AssociationWriter extensionWriter{run, !newExtension, root};
    AssociationWriter typeWriter{run, !newType, root};

    // Without either name the writes would land on the classes' root itself.
    LONG status = *extensionName && *typeName ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    if (status == ERROR_SUCCESS) status = extensionWriter.text(extension, nullptr, typeName);
    if (status == ERROR_SUCCESS) {
        if (newExtension) run.log.addRegistryKey(root, extension, true, kLogToRollback);
        status =
            extensionWriter.text(extension, kContentTypeValue, fields.get(kAssociationContentType));
    }
    if (status == ERROR_SUCCESS) {
        status = writeDocumentType(typeWriter, fields, type);
        // A new document type's key is logged once it is written, and also when a write into
        // it failed half-way: a rollback then leaves none of it behind.
        if (newType && (status == ERROR_SUCCESS || registryKeyExists(classes, type)))
            run.log.addRegistryKey(root, type, true, kLogToRollback);
    }
    if (status == ERROR_SUCCESS) {
        FileRedirectionPause shellLoads;
        ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        return true;
    }
    return askToGoOn(run, kMsgAssociationError, extensionName);
}

}  // namespace kelvara
