#include "worker/closing_rules.h"

#include "formats/deployment_options.h"
#include "formats/script_format.h"

namespace kelvara {

ClosingPlan planClosing(std::uint8_t projectSetting, const DeploymentOptions& options, bool quiet) {
    ClosingPlan plan;
    switch (options.closeApplications) {
        case kCloseGiven:
            plan.close = true;
            plan.force = projectSetting == kCloseApplicationsForce;
            break;
        case kForceCloseGiven:
            plan.close = plan.force = true;
            break;
        case kNoCloseGiven:
            break;
        default:
            plan.close = plan.force = projectSetting == kCloseApplicationsForce;
            plan.ask = projectSetting == kCloseApplicationsAsk && !quiet;
            break;
    }
    plan.restart = options.restartApplications == kOptionNotGiven
                       ? !quiet
                       : options.restartApplications == kCloseGiven;
    if (!plan.close && !plan.ask) plan.restart = false;
    return plan;
}

void RunningPrograms::clear() {
    for (int i = 0; i < count; ++i) items[i] = RunningProgram();
    count = 0;
}

char* programNames(const RunningPrograms& programs) {
    HeapString names(strDupExtra(nullptr, 0));
    for (int i = 0; names && i < programs.count; ++i) {
        const char* name = programs.items[i].name.get();
        names.reset(strConcat5(names.get(), i ? "\n" : "", name ? name : ""));
    }
    return names.release();
}

bool PathSet::add(const char* path) {
    if (!paths_.isCreated() && !paths_.create(64)) return false;
    return path && paths_.append(path) >= 0;
}

void PathSet::seal() {
    if (paths_.isCreated()) paths_.sort(kSortAlphabetical);
}

bool PathSet::contains(const char* path) const {
    return paths_.sortedHolds(path);
}

}  // namespace kelvara
