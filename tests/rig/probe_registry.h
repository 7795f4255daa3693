// The probe's registry commands. Each prints one JSON line and returns an exit code.
#pragma once
#include <string>

#include "probe_output.h"

namespace probe {

// reg-query ROOT KEY [VALUE]: one value (valueName given, "" for the default value), or all
// values and subkeys of the key.
int regQueryCommand(const std::wstring& rootName, const std::wstring& keyPath,
                    const std::wstring* valueName);

// shared-count PATH: the REG_DWORD named PATH under HKLM's SharedDLLs key.
int sharedCountCommand(const std::wstring& path);

// pending-renames: PendingFileRenameOperations as source/target pairs.
int pendingRenamesCommand();

// deny-writes ROOT KEY: an entry denying Everyone the right to set values in the key and to
// delete it goes first in the key's access list, as an administrator would make it.
int denyWritesCommand(const std::wstring& rootName, const std::wstring& keyPath);

}  // namespace probe
