#include "environment/run_environment.h"

namespace kelvara {

constinit RunStateStorage<RunEnvironment> runEnvironmentStorage;

bool createRunEnvironment() {
    constexpr int kListGrowth = 5;
    return runEnvironment.languageNames.create(kListGrowth) &&
           runEnvironment.folderPaths.create(kListGrowth);
}

void releaseRunEnvironment() {
    runEnvironment.~RunEnvironment();
}

}  // namespace kelvara
