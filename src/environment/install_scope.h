// For whom a run installs the product: every user of the machine, or the current user alone.
// A user's installation needs no administrator: its folders are the user's own, its keys under
// HKEY_CURRENT_USER, its associations under HKEY_CURRENT_USER\Software\Classes, and its shared
// files are counted by no one. Portable: the decision and the roots; the folders are resolved in
// install_scope_win32.cpp.
#pragma once
#include <cstdint>

#include "formats/deployment_options.h"

namespace kelvara {

// What a user's installation says of a record that names the machine's own places (the builder
// refuses them in a "user" product; a "choose" one meets them when the person chooses).
constexpr const char* kMachineKeyInUserInstallation =
    "An installation for the current user alone writes nothing under HKEY_LOCAL_MACHINE.";
constexpr const char* kMachineFolderInUserInstallation =
    "An installation for the current user alone cannot put files into this folder, which "
    "belongs to the whole computer:\n%s\n\nSetup stops and removes what it has installed so far.";

// For whom a run installs, or that it may not install at all.
enum class ScopeChoice : std::uint8_t {
    machine,  // for every user
    user,     // for the current user alone
    refused,  // a user's installation under a service account (below)
};

// A "user" product installs for the current user, a "machine" one (and a scope this engine does
// not know) for every user; a "choose" one as /CURRENTUSER or /ALLUSERS says, else as it was
// installed before (`earlier`: kScopeUser or kScopeMachine, kScopeChoose when it was not), else
// as its default choice: an upgrade keeps the first choice. Under the system's own account (a
// deployment service's; `serviceAccount`) a user's installation would land in a profile no person
// uses: a "choose" product installs for every user instead, unless /CURRENTUSER asks for the
// account's own, and a "user" product or that request is refused.
ScopeChoice chooseScope(std::uint8_t scope, std::uint8_t scopeDefault,
                        const DeploymentOptions& options, std::uint8_t earlier,
                        bool serviceAccount);

// What a run does about administrator rights before it writes anything.
enum class RightsStep : std::uint8_t {
    goOn,             // it has what it needs, or cannot get more
    restartElevated,  // it starts itself again with administrator rights and waits
    refuse,           // needs them and may not ask: /QUIET never shows the system's question
};

// A machine-wide run without administrator rights on a Windows that elevates (NT 6.0, packed as
// formats/windows_version_demand.h does, and later) asks for them, unless it is already the
// elevated restart (which goes on with what it was given) or quiet. Before that Windows there is
// no elevation to ask for: the run goes on, as it always did.
RightsStep rightsStep(bool machineWide, bool administrator, std::uint32_t windowsVersion,
                      bool restartedElevated, bool quiet);

// The root a record's root number stands for in this run (runEnvironment.forUser): HKA becomes
// HKCU in a user's installation and HKLM in one for every user; HKCR becomes HKCU in a user's
// installation too, its key under Software\Classes (classesKeyPrefix). Other numbers stay.
unsigned scopedRootNumber(unsigned root);
// "Software\Classes\" when HKCR stands for the user's classes in this run, else "".
const char* classesKeyPrefix(unsigned root);

}  // namespace kelvara
