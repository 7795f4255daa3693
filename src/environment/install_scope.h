// For whom a run installs the product: every user of the machine, or the current user alone.
// A user's installation needs no administrator: its folders are the user's own, its keys under
// HKEY_CURRENT_USER, its associations under HKEY_CURRENT_USER\Software\Classes, and its shared
// files are counted by no one. Portable: the decision and the roots; the folders are resolved in
// install_scope_win32.cpp.
#pragma once
#include <cstdint>

#include "formats/deployment_options.h"

namespace kelvara {

// A "user" product installs for the current user, a "machine" one (and a scope this engine does
// not know) for every user; a "choose" one as /CURRENTUSER or /ALLUSERS says, else as it was
// installed before (`earlier`: kScopeUser or kScopeMachine, kScopeChoose when it was not), else
// as its default choice: an upgrade keeps the first choice.
bool installsForUser(std::uint8_t scope, std::uint8_t scopeDefault,
                     const DeploymentOptions& options, std::uint8_t earlier);

// The root a record's root number stands for in this run (runEnvironment.forUser): HKA becomes
// HKCU in a user's installation and HKLM in one for every user; HKCR becomes HKCU in a user's
// installation too, its key under Software\Classes (classesKeyPrefix). Other numbers stay.
unsigned scopedRootNumber(unsigned root);
// "Software\Classes\" when HKCR stands for the user's classes in this run, else "".
const char* classesKeyPrefix(unsigned root);

}  // namespace kelvara
