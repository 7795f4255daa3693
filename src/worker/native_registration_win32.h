// Registering a 64-bit DLL. The 32-bit engine cannot load it: the system's own 64-bit regsvr32
// registers it instead, in the native System32, and its exit code says whether it did.
#pragma once

#include "worker/action_runners_win32.h"

namespace kelvara {

// True when the file is a 64-bit library (x64 or ARM64) and the engine is 32-bit.
bool isForeignLibrary(const char* path);

// Runs the native regsvr32 for DllRegisterServer (or, with /u, DllUnregisterServer) of the
// record's DLL and judges its exit code; any other function of such a DLL cannot be called.
// Logs what it did; the run-once removal follows a registration that ran.
ActionResult registerForeignLibrary(const DllCallRecord& record, StringList* list, int* index);

}  // namespace kelvara
