// The probe's file security commands. Each prints one JSON line and returns an exit code.
#pragma once
#include <string>

#include "probe_output.h"

namespace probe {

// security PATH: the owner and the access list as GetNamedSecurityInfo reads them:
// {"path", "owner" (a SID as text), "protected" (the parent's entries are not inherited),
// "entries": [{"type", "flags", "mask" ("0x%08x"), "sid"}]}.
int securityCommand(const std::wstring& path);

// grant PATH SID MASK: adds an entry that allows MASK (a number) to SID (as text) to the file's
// access list, as an administrator would with the file's security dialog.
int grantCommand(const std::wstring& path, const std::wstring& sid, DWORD mask);

}  // namespace probe
