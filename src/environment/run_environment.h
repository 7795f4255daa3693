// RunEnvironment: what the running process opened, was told or found on the system: the image
// file and what was read from it, the command line, the token, the libraries and windows the run
// uses, the folders the tokens stand for and the system detections. The setup script's
// configuration is SetupState (formats/setup_state.h); what only one layer keeps lives with it
// (install/install_state.h, uninstall/uninstall_state.h, wizard/wizard_state.h).
// Portable: system objects are held through owner types and windows as opaque pointers. Every
// field starts as zero bytes (see RunStateStorage), so the record costs nothing in the executable.
#pragma once
#include <cstdint>

#include "formats/command_line.h"
#include "formats/deployment_options.h"
#include "formats/image_layout.h"
#include "runtime/heap_string.h"
#include "runtime/run_state_storage.h"
#include "runtime/string_list.h"
#include "runtime/system_objects.h"

namespace kelvara {

struct RunEnvironment {
    // Files and paths.
    OwnedFile selfFile;
    HeapString installerPath;
    HeapString installerDir;
    HeapString tempDir;
    StubHeader stubHeader;
    // Where the image's own bytes end: its size, or where a code signature's certificate table
    // starts. Set by the verification.
    std::uint64_t imageDataEnd = 0;
    PackageHeader packageHeader;
    HeapOwned<unsigned char> script;  // the inflated setup script, kept until clean-up
    std::uint32_t scriptSize = 0;

    // Run mode.
    HeapString commandLineCopy;
    char* argTable[kArgTableSize] = {};
    int argCount = 0;
    bool silentMode = false;
    DeploymentOptions deployment;  // from the command line as given, its case kept

    // The token for access checks.
    OwnedKernelObject threadToken;
    // Loaded when a window is first about to be shown (a silent run needs neither: loading them
    // makes the system start its desktop for their window classes).
    OwnedLibrary commonControlsLibrary;
    OwnedLibrary richEditLibrary;
    OsReference moduleHandle = nullptr;  // the engine's own module

    // The windows message boxes are owned by.
    OsWindow ownerWindow = nullptr;
    OsWindow wizardDialog = nullptr;

    StringList scratchFields;  // the main thread's field list
    StringList languageNames;  // the system's names of the languages, by language number

    // Folder tokens resolved at start-up, in the token table's order.
    StringList folderPaths;

    // System detections (start-up stage 0) and the requirement check. Release codes as in
    // environment/windows_release.h; missing names point to constant texts, null when met.
    int windowsVersionCode = 0;
    // The NT version as formats/windows_version_demand.h packs it (the build in the low 16
    // bits); 0 on Windows 95, 98 and Me, which no version demand accepts.
    std::uint32_t windowsVersion = 0;
    int ieLevel = 0;
    std::uint32_t directXVersion = 0;  // 0xMMmm, 0 when none was found
    int accessLevel = 0;
    // The processor of the system's Windows, a kArchitecture* value (formats/script_format.h):
    // what the system runs natively, whatever the engine itself is built for.
    std::uint8_t systemArchitecture = 0;
    // The product is a 64-bit one on a system that runs it: its folder tokens name the native
    // folders, its keys are in the 64-bit view, its files are written without the System32
    // redirection (environment/product_side_win32.h).
    bool nativeSide = false;
    // The run installs for the current user alone (environment/install_scope_win32.h): its
    // folders are the user's, its keys under HKEY_CURRENT_USER.
    bool forUser = false;
    // The run's process is a service account's (environment/system_detection.h); asked only
    // for a product that may install for a user.
    bool serviceAccount = false;
    bool isAdministrator = false;
    bool ntPlatform = false;  // the last answer of isNtPlatform
    int requirementResult = 0;
    const char* missingWindowsName = nullptr;
    const char* missingIeName = nullptr;
    const char* missingDirectXName = nullptr;
    const char* missingAccessName = nullptr;
    // The missing name of a version demand, made from the demand as written.
    HeapString missingWindowsText;
};

// The run's environment, for the whole process (see RunStateStorage).
extern RunStateStorage<RunEnvironment> runEnvironmentStorage;
inline constexpr RunEnvironment& runEnvironment = runEnvironmentStorage.state;

// Makes the lists of the record but the main thread's field list (which start-up makes first,
// with a growth of its own). False when out of memory.
bool createRunEnvironment();

// Gives back everything the record owns (strings, lists, the image file, libraries, the token);
// its owners are empty afterwards. Called by the clean-up, once, after the other records.
void releaseRunEnvironment();

}  // namespace kelvara
