// What the harnesses share: a check that stops the fuzzer on a broken invariant, and a fresh
// script's configuration and run environment for the harnesses that go through setupState.
#pragma once
#include <cstdio>
#include <new>

#include "environment/run_environment.h"
#include "formats/folder_token_names.h"
#include "formats/setup_state.h"
#include "install/install_state.h"
#include "runtime/heap.h"
#include "runtime/string_list.h"
#include "uninstall/uninstall_state.h"
#include "wizard/wizard_state.h"
#include "worker/worker_state.h"

// Stops the run with a crash the fuzzer records, naming the invariant that does not hold.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::kelvara::fuzz::invariantBroken(#condition, __FILE__, __LINE__))

namespace kelvara::fuzz {

[[noreturn]] inline void invariantBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::fflush(stderr);
    __builtin_trap();
}

// Folders as a machine might resolve the tokens, some of them unknown (holes), one with a comma
// and one with a percent sign, which field splitting and variable expansion must survive.
inline const char* sampleFolder(int token) {
    switch (token) {
        case kTokenProgramFiles:
            return "C:\\Program Files";
        case kTokenWindows:
            return "C:\\WINDOWS";
        case kTokenSystem:
            return "C:\\WINDOWS\\system32";
        case kTokenTemp:
            return "C:\\TEMP";
        case kTokenUserProfile:
            return "C:\\Users\\Smith, John";
        case kTokenDocuments:
            return "C:\\Users\\100%Done\\Documents";
        case kTokenMsAccess:
        case kTokenCommonVideo:
            return nullptr;  // not found on this machine
        default:
            return kFolderTokenNames[token];  // any text will do; the token's own name is one
    }
}

// The records as start-up stage 0 leaves it, with the sample folders resolved, for one
// input; when the input is done its whole private heap goes, so no harness object that holds
// heap blocks may outlive the scope. Each input thus frees what it allocated: libFuzzer runs an
// input a second time, looking for a leak, whenever it allocated more than it freed, and a heap
// left for the next input to free made it do so after nearly every input.
class FreshSetupState {
  public:
    FreshSetupState() {
        // Every state as the process starts (the previous input's heap, which their blocks came
        // from, is gone), then as start-up stage 0 leaves it.
        new (&setupState) SetupState();
        new (&runEnvironment) RunEnvironment();
        new (&installState) InstallState();
        new (&workerState) WorkerState();
        new (&uninstallState) UninstallState();
        new (&wizardState) WizardState();
        setRunDefaults(setupState);
        runEnvironment.scratchFields.create(10);
        createSetupState();
        createRunEnvironment();
        createWorkerState();
        createInstallState();
        createUninstallState();
        createWizardState();
        for (int token = 0; token < kFolderTokenCount; ++token) {
            runEnvironment.folderPaths.append(sampleFolder(token));
        }
    }
    ~FreshSetupState() { heapDestroy(); }
    FreshSetupState(const FreshSetupState&) = delete;
    FreshSetupState& operator=(const FreshSetupState&) = delete;
};

}  // namespace kelvara::fuzz
