#include "install/files_in_use_win32.h"

#include <cstring>

#include "environment/folder_expansion.h"
#include "environment/run_environment.h"
#include "formats/choices.h"
#include "formats/install_log.h"
#include "formats/message_catalogue.h"
#include "formats/package_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/run_log_win32.h"
#include "worker/program_closing_win32.h"
#include "worker/running_programs_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

// The text with every variable expanded, where the values may still name others (before the
// install thread settles them): expanded again while that changes it, as settling would.
HeapString expandedFully(const char* text) {
    HeapString expanded(expandVariables(text));
    for (int pass = 0; expanded && pass <= setupState.variableNames.count(); ++pass) {
        HeapString again(expandVariables(expanded.get()));
        if (!again || std::strcmp(again.get(), expanded.get()) == 0) break;
        expanded.reset(again.release());
    }
    return expanded;
}

// The files of one chosen group that exist now, by the paths its entries will be written to.
void addGroupFiles(PackageWalker& walker, const FileGroupHeader& group, StringList& folders,
                   PathSet& files) {
    HeapString withVariables(expandedFully(group.targetFolder));
    HeapString folder(expandFolderTokens(withVariables.get()));
    if (!folder) return;
    stripTrailingSeparator(folder.get());
    folders.clear();
    folders.set(0, folder.get());
    PackageEntry entry;
    while (walker.nextEntry(entry)) {
        const int depth = entry.depth > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(entry.depth);
        if (!entry.isFile()) {
            if (depth < 0x7FFFFFFF) folders.set(depth + 1, entry.name);
            continue;
        }
        HeapString path(folders.joinPath(depth, entry.name));
        if (path && pathExists(path.get())) files.add(path.get());
    }
}

// The files of the parts an upgrade leaves out, which it removes once it has completed.
void addLeftOutFiles(const StringList& lines, PathSet& files) {
    LogEntry entry;
    if (!entry.fields.create(4)) return;
    for (int i = 0; i < lines.count(); ++i) {
        if (!lines.get(i) || !parseLogLine(lines.get(i), entry)) continue;
        if (entry.kind != kLogFile && entry.kind != kLogSharedFile) continue;
        const char* path = entry.fields.get(0);
        if (path && pathExists(path)) files.add(path);
    }
}

// The files the run replaces that exist now: those of the chosen groups in the package's groups
// (package offsets E to S), and those of the lines it leaves out (may be null).
void collectReplacedFiles(ImageWindow& headers, std::uint32_t groupsStart, std::uint32_t groupsEnd,
                          const StringList* leftOutLines, PathSet& files) {
    StringList folders;
    if (!folders.create(5)) return;
    PackageWalker walker(headers, groupsStart, groupsEnd);
    FileGroupHeader group;
    while (walker.nextGroup(group)) {
        if (choiceConditionMet(setupState.choices, group.conditionComponents,
                               group.conditionTasks)) {
            addGroupFiles(walker, group, folders, files);
        }
    }
    if (leftOutLines) addLeftOutFiles(*leftOutLines, files);
    files.seal();
}

// The person's answer where the plan asks: Yes closes the programs and starts them again.
void askWhetherToClose(InstallRun& run, ClosingPlan& plan) {
    HeapString names(programNames(workerState.runningPrograms));
    plan.close =
        messageBoxFormat(run.owner(), setupState.setupCaption.get(), text(kMsgCloseApplications),
                         names ? names.get() : "", MB_YESNO | MB_ICONQUESTION) == IDYES;
    plan.answered = true;
}

}  // namespace

void planClosingPrograms() {
    workerState.closingPlan = planClosing(setupState.closeApplications, runEnvironment.deployment,
                                          runEnvironment.deployment.quiet);
}

bool programsInUseBeforeInstalling() {
    if (!workerState.closingPlan.ask) return false;
    ImageFile image;
    if (!image.open(runEnvironment.selfFile.get())) return false;
    const std::uint32_t packageOffset = runEnvironment.stubHeader.packageOffset;
    if (packageOffset > image.size()) return false;
    ImageWindow headers;
    headers.open(image, packageOffset);
    PathSet files;
    collectReplacedFiles(headers, runEnvironment.packageHeader.firstEntryOffset,
                         runEnvironment.packageHeader.scriptOffset, nullptr, files);
    headers.close();
    return findRunningPrograms(files, workerState.runningPrograms) != 0;
}

void closeProgramsInUse(InstallRun& run) {
    PathSet files;
    collectReplacedFiles(run.headers, run.groupsStart, run.groupsEnd, &run.leftOutLines, files);
    RunningPrograms& programs = workerState.runningPrograms;
    if (findRunningPrograms(files, programs) == 0) return;
    ClosingPlan& plan = workerState.closingPlan;
    if (plan.ask && !plan.answered) askWhetherToClose(run, plan);
    if (!plan.close) {
        writeRunLog(
            "in use: the programs are left running: their files are replaced at the "
            "restart");
        return;
    }
    closePrograms(programs, plan.force);
}

void restartClosedPrograms() {
    if (workerState.closingPlan.restart) restartPrograms(workerState.runningPrograms);
}

}  // namespace kelvara
