// One installation at a time, of any product, for the whole machine: the system's installers
// share its files and keys (shared counts, the restart's renames, the list of programs). A
// user's installation shares only that user's, so it waits only for another of the same user's.
// A system without the global name space (before Windows 2000) has the session's only, which is
// all there is there.
#pragma once

#include "runtime/system_objects.h"

namespace kelvara {

// Takes the machine's installation lock (forUser: the current user's) into `lock`, which holds
// it for as long as it lives. False when another run holds it already; true too when the system
// cannot tell (no reason to refuse).
bool takeInstallationLock(bool forUser, OwnedKernelObject& lock);

}  // namespace kelvara
