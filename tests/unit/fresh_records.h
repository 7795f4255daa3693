// The script's configuration and the run's environment as start-up stage 0 leaves them, before
// any record is applied: where a test that applies a script starts.
#pragma once
#include <new>

#include "environment/run_environment.h"
#include "formats/setup_state.h"

namespace kelvara {

// False when a list cannot be made.
inline bool freshScriptRecords() {
    releaseSetupState();
    new (&setupState) SetupState();
    setRunDefaults(setupState);
    releaseRunEnvironment();
    new (&runEnvironment) RunEnvironment();
    return createSetupState() && createRunEnvironment();
}

}  // namespace kelvara
