#include "uninstall/programs_in_use_win32.h"

#include <windows.h>

#include <cstring>

#include "environment/run_environment.h"
#include "formats/install_log.h"
#include "formats/uninstaller_texts.h"
#include "formats/script_format.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "uninstall/uninstall_state.h"
#include "uninstall/uninstall_thread_win32.h"
#include "worker/program_closing_win32.h"
#include "worker/running_programs_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

void collectRemovedFiles(PathSet& files) {
    const char* text = uninstallState.entryText ? uninstallState.entryText : "";
    LogLinesBackward lines(text, std::strlen(text));
    LogEntry entry;
    if (!entry.fields.create(4)) return;
    const char* line = nullptr;
    std::size_t length = 0;
    while (lines.next(&line, &length)) {
        if (!parseLogLine(line, length, entry) || entry.kind != kLogFile) continue;
        if (!isUninstallerOwnFile(entry) && entry.fields.get(0)) files.add(entry.fields.get(0));
    }
    files.seal();
}

bool personAgrees(const char* caption, const RunningPrograms& programs) {
    HeapString names(programNames(programs));
    return messageBoxFormat(nullptr, caption, uninstallerText(kUnCloseApplications),
                            names ? names.get() : "", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

void closeProgramsBeforeRemoval(const char* caption) {
    const DeploymentOptions& options = runEnvironment.deployment;
    ClosingPlan plan = planClosing(kCloseApplicationsAsk, options, options.quiet);
    PathSet files;
    collectRemovedFiles(files);
    RunningPrograms& programs = workerState.runningPrograms;
    if (findRunningPrograms(files, programs) == 0) return;
    if (plan.ask) plan.close = personAgrees(caption, programs);
    if (!plan.close) {
        writeRunLog(
            "in use: the programs are left running: their files are removed at the "
            "restart");
        return;
    }
    closePrograms(programs, plan.force);
}

}  // namespace kelvara
