// Creating a folder with every missing folder above it, logging each one the run creates.
#pragma once
#include <windows.h>

namespace kelvara {

struct InstallRun;

// Creates path and the folders leading to it. Every folder the run creates gets an "a" line
// (the final one with the system-folder exclusion, and also when it already existed). A folder
// that cannot be made is reported (errorMessages 21, or 35 to 38 for access denied), and Yes
// goes on without the rest of the chain (installSucceeded stays as it was). Returns 0 to go on,
// or the error code when the user gave up (No); installSucceeded is then cleared.
DWORD createFolderChain(InstallRun& run, const char* path);

// Reports a folder that access denied kept from being made (35 to 38 by the parent's rights and
// whether the parent is a drive); lastError is the error at hand. The button pressed.
int reportFolderAccessDenied(InstallRun& run, const char* requested, const char* failing,
                             DWORD lastError);

}  // namespace kelvara
