// Texts of the messages shown before a setup script is loaded: fixed English, exact as written.
#pragma once

namespace kelvara {

// Caption of every start-up failure message.
constexpr const char* kStartupCaption = "Kelvara";

constexpr const char* kErrorModuleHandle = "Error retrieving the module handle.";
constexpr const char* kErrorLoadLibrary = "Error loading %s library.";
constexpr const char* kErrorCreateEvent = "Error creating an event handle.";
constexpr const char* kErrorCreateList = "Error creating DPA.";
constexpr const char* kErrorInstallerPath = "Error retrieving the installer module path.";
constexpr const char* kErrorTempPath = "Error getting temporary path.";
constexpr const char* kErrorOpenSelf = "Error opening itself.";
constexpr const char* kErrorReadHeader = "Error reading the module file header.";
constexpr const char* kErrorDamaged = "The installer file is damaged!";
constexpr const char* kErrorAnotherInstallation =
    "Another installation is in progress.\n\nWait until it has finished, then run this one "
    "again.";
// A product for one user, started under a system account (a deployment service's): it would
// land in a profile no person uses.
constexpr const char* kErrorUserScopeAsService =
    "This program is installed for one user, and Setup is running under a system account, "
    "not as a person.\n\nRun Setup as the user who is to have the program.";
// The Unicode edition where the system did not make UTF-8 its code page.
constexpr const char* kErrorNeedsUtf8CodePage =
    "This setup program needs Windows 10 version 1903 or later.";
// The run log named by /LOG= (the file, the system's reason); the run goes on without it.
constexpr const char* kErrorRunLog =
    "The log file %s cannot be written.\n\n%sThe run goes on without a log.";

// A part the command line names (/TYPE=, /COMPONENTS=, /TASKS=) that the product does not have.
constexpr const char* kErrorUnknownSetupType =
    "This product has no setup type \"%s\".\n\nSetup ends without installing anything.";
constexpr const char* kErrorUnknownComponent =
    "This product has no component \"%s\".\n\nSetup ends without installing anything.";
constexpr const char* kErrorUnknownTask =
    "This product has no task \"%s\".\n\nSetup ends without installing anything.";

// Library names as the load-failure message gives them.
constexpr const char* kLibraryAdvapi = "advapi32.dll";
constexpr const char* kLibraryComctl = "commctl32.dll";
constexpr const char* kLibraryShell = "shell32.dll";
constexpr const char* kLibraryRichEdit = "riched32.dll";
constexpr const char* kLibraryCommonControls = "comctl32.dll";

}  // namespace kelvara
