#include "wizard/scope_page_win32.h"

#include "environment/run_environment.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_state.h"

namespace kelvara {
namespace {

// The two answers are page texts 3 and 5; texts 4 and 6 say what each needs.
constexpr int kAllUsersChoice = IDC_PAGE_TEXT_3;
constexpr int kJustMeChoice = IDC_PAGE_TEXT_5;

}  // namespace

void initialiseScopePage(HWND page) {
    ::CheckRadioButton(page, kAllUsersChoice, kJustMeChoice,
                       runEnvironment.forUser ? kJustMeChoice : kAllUsersChoice);
}

bool scopeChoiceTaken(HWND page) {
    const bool forUser = page && ::IsDlgButtonChecked(page, kJustMeChoice) == BST_CHECKED;
    if (!wizardState.scopeChosen || wizardState.scopeChosen(forUser)) return true;
    wizardState.elevatedRestartChosen = true;
    return false;
}

}  // namespace kelvara
