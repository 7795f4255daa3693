#include "setup/choice_options_win32.h"

#include <windows.h>

#include "environment/run_environment.h"
#include "formats/choices.h"
#include "formats/setup_state.h"
#include "formats/startup_messages.h"
#include "install/record_phases.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "setup/script_records.h"

namespace kelvara {
namespace {

bool refuse(const char* format, const char* id) {
    messageBoxFormat(nullptr, setupState.setupCaption.get(), format, id, MB_ICONERROR);
    return false;
}

void logChoice(bool tasks) {
    const Choices& choices = setupState.choices;
    if (!(tasks ? choices.taskCount : choices.componentCount)) return;
    HeapString list(formatChoiceList(choices, tasks));
    if (list) writeRunLog(tasks ? "tasks: %s" : "components: %s", list.get());
}

}  // namespace

bool choicesApplied() {
    Choices& choices = setupState.choices;
    if (!choices.any()) return true;
    const DeploymentOptions& options = runEnvironment.deployment;
    // An id an earlier version had and this one dropped is passed over.
    for (bool tasks : {false, true}) {
        HeapString saved(installedChoice(setupState.productShortName.get(), tasks));
        if (saved) applyChoiceList(choices, saved.get(), tasks, nullptr, 0);
    }
    if (options.setupTypeGiven) {
        const int type = findSetupType(choices, options.setupType.get());
        if (type < 0) return refuse(kErrorUnknownSetupType, options.setupType.get());
        chooseSetupType(choices, type);
    }
    char unknown[128];
    if (options.componentsGiven &&
        !applyChoiceList(choices, options.components.get(), false, unknown, sizeof unknown)) {
        return refuse(kErrorUnknownComponent, unknown);
    }
    if (options.tasksGiven &&
        !applyChoiceList(choices, options.tasks.get(), true, unknown, sizeof unknown)) {
        return refuse(kErrorUnknownTask, unknown);
    }
    keepChosenRecords();
    return true;
}

void keepChosenRecords() {
    Choices& choices = setupState.choices;
    choices.keptComponents = choices.components;
    choices.keptTasks = choices.tasks;
    logChoice(false);
    logChoice(true);
    reapplyChosenRecords(runEnvironment.script.get(), runEnvironment.scriptSize,
                         systemRecordPlatform());
}

}  // namespace kelvara
