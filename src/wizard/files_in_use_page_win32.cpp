// The programs-in-use page: the programs that hold files the installation replaces, and the
// person's choice whether Setup closes them (and starts them again) or leaves them running.
#include "resources/resource_ids.h"
#include "wizard/wizard_pages_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

// The two answers are page texts 4 and 5.
constexpr int kCloseChoice = IDC_PAGE_TEXT_4;
constexpr int kLeaveChoice = IDC_PAGE_TEXT_5;

}  // namespace

void initialiseFilesInUsePage(HWND page) {
    const RunningPrograms& programs = workerState.runningPrograms;
    for (int i = 0; i < programs.count; ++i) {
        const char* name = programs.items[i].name.get();
        ::SendDlgItemMessageA(page, IDC_GROUP_LIST, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(name ? name : ""));
    }
    // A page visited again shows the answer given; the first visit offers to close them.
    const ClosingPlan& plan = workerState.closingPlan;
    ::CheckRadioButton(page, kCloseChoice, kLeaveChoice,
                       plan.answered && !plan.close ? kLeaveChoice : kCloseChoice);
}

void saveFilesInUsePage(HWND page) {
    ClosingPlan& plan = workerState.closingPlan;
    plan.answered = true;
    plan.close = ::IsDlgButtonChecked(page, kCloseChoice) == BST_CHECKED;
}

}  // namespace kelvara
