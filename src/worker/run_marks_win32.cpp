#include "worker/run_marks_win32.h"

#include <windows.h>

#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/registry_delete_win32.h"
#include "runtime/system_view_win32.h"

namespace kelvara {
namespace {

constexpr const char* kEngineKey = "Software\\Kelvara";
constexpr const char* kJournalKey = "Software\\Kelvara\\Interrupted";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
// "!": the logon deletes the entry only once its command has run, so that a recovery cut off
// there too runs again at the next one.
constexpr const char* kRunOnceNamePrefix = "!Kelvara recovery: ";
constexpr DWORD kPathRoom = 32 * 1024;

HKEY markRoot(bool forUser) {
    return forUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

bool keyExists(HKEY root, const char* path) {
    UniqueKey key;
    return ::RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | registryViewAccess(), key.put()) ==
           ERROR_SUCCESS;
}

// Writes the text value, the key made when missing; `made` gets `flag` when it was.
bool writeText(HKEY root, const char* keyPath, const char* name, const char* text,
               std::uint32_t flag, std::uint32_t* made) {
    UniqueKey key;
    DWORD disposition = 0;
    char noClass[] = "";
    LONG status =
        ::RegCreateKeyExA(root, keyPath, 0, noClass, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | registryViewAccess(), nullptr, key.put(), &disposition);
    if (status == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY) *made |= flag;
    if (status == ERROR_SUCCESS) {
        status = ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                  static_cast<DWORD>(lstrlenA(text) + 1));
    }
    ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}

}  // namespace

bool setJournalMark(const char* shortName, bool forUser, const char* journalPath,
                    std::uint32_t* madeKeys) {
    RegistryViewScope view(kViewProcess);
    const HKEY root = markRoot(forUser);
    *madeKeys = keyExists(root, kEngineKey) ? 0 : kMadeEngineKey;
    return writeText(root, kJournalKey, shortName, journalPath, kMadeJournalKey, madeKeys);
}

bool setRecoveryAtLogon(const char* shortName, bool forUser, const char* command,
                        std::uint32_t* madeKeys) {
    RegistryViewScope view(kView64);
    HeapString name(strConcat5(kRunOnceNamePrefix, shortName));
    if (!name) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return writeText(markRoot(forUser), kRunOnceKey, name.get(), command, kMadeRunOnceKey,
                     madeKeys);
}

void clearRunMarks(const char* shortName, bool forUser, std::uint32_t madeKeys) {
    const HKEY root = markRoot(forUser);
    if (HeapString name{strConcat5(kRunOnceNamePrefix, shortName)}) {
        RegistryViewScope view(kView64);
        deleteRegistryValue(root, kRunOnceKey, name.get());
        if (madeKeys & kMadeRunOnceKey) deleteRegistryKey(root, kRunOnceKey, false);
    }
    RegistryViewScope view(kViewProcess);
    deleteRegistryValue(root, kJournalKey, shortName);
    // Left when another product's run is in progress, or a key of the engine's holds more.
    if (madeKeys & kMadeJournalKey) deleteRegistryKey(root, kJournalKey, false);
    if (madeKeys & kMadeEngineKey) deleteRegistryKey(root, kEngineKey, false);
}

char* markedJournal(const char* shortName, bool forUser) {
    RegistryViewScope view(kViewProcess);
    UniqueKey key;
    if (!shortName ||
        ::RegOpenKeyExA(markRoot(forUser), kJournalKey, 0, KEY_QUERY_VALUE | registryViewAccess(),
                        key.put()) != ERROR_SUCCESS) {
        return nullptr;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), shortName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size == 0 || size > kPathRoom) {
        return nullptr;
    }
    HeapString path(static_cast<char*>(heapAlloc(size + 1)));
    if (!path || ::RegQueryValueExA(key.get(), shortName, nullptr, &type,
                                    reinterpret_cast<BYTE*>(path.get()), &size) != ERROR_SUCCESS) {
        return nullptr;
    }
    return *path.get() ? path.release() : nullptr;
}

}  // namespace kelvara
