// The last two pages: Installing, which starts the install thread, and Finish, which tells how
// the installation ended and offers the restart or the launches after setup.
#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "install/install_messages.h"
#include "install/install_state.h"
#include "install/install_thread.h"
#include "resources/resource_ids.h"
#include "runtime/message_box_win32.h"
#include "wizard/dialog_helpers_win32.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/wizard_pages_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

constexpr int kCurrentFileLine = IDC_PAGE_TEXT_5;

// The finish page's controls.
constexpr int kCompletionText = IDC_PAGE_TEXT_3;
constexpr int kOpenAfterBox = IDC_PAGE_TEXT_4;
constexpr int kRunAfterBox = IDC_PAGE_TEXT_5;
constexpr int kRestartBox = IDC_PAGE_TEXT_6;
constexpr int kErrorNote = IDC_PAGE_TEXT_7;
constexpr int kRestartNote = IDC_PAGE_TEXT_8;
// Page texts the finish page shows as stored, without variables.
constexpr int kInUseRestartText = 9;
constexpr int kOtherRestartText = 10;

void show(HWND page, int id) {
    if (HWND control = ::GetDlgItem(page, id)) ::ShowWindow(control, SW_SHOW);
}

void showChecked(HWND page, int id) {
    ::CheckDlgButton(page, id, BST_CHECKED);
    show(page, id);
}

}  // namespace

void initialiseInstallingPage(HWND page) {
    SetupState& s = setupState;
    ::SetDlgItemTextA(page, kCurrentFileLine, "");
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, installThread, page, 0, &id);
    workerState.workerThread.reset(thread);
    workerState.workerThreadId = thread ? id : 0;
    if (thread) return;
    // Without its thread the installation cannot happen: said so, and the wizard closes as
    // after a failed installation (nothing has been installed).
    HWND frame = ::GetParent(page);
    messageBoxFormat(frame, s.setupCaption.get(), text(kMsgNoWizardWindow), nullptr, MB_ICONERROR);
    ::PostMessageA(frame, kInstallFailedNotice, 0, 0);
}

void initialiseFinishPage(HWND page) {
    SetupState& s = setupState;
    if (!installState.installSucceeded) show(page, kErrorNote);
    if (installState.restartNeeded) {
        const char* completion = storedPageText(
            installState.restartForInUseFiles ? kInUseRestartText : kOtherRestartText);
        if (completion) ::SetDlgItemTextA(page, kCompletionText, completion);
        showChecked(page, kRestartBox);
        show(page, kRestartNote);
        return;
    }
    show(page, kCompletionText);
    if (s.finishRunEnabled) {
        showChecked(page, kRunAfterBox);
    } else if (HWND openAfter = ::GetDlgItem(page, kOpenAfterBox)) {
        // A lone open-after-setup box takes the upper place.
        const RECT upper = rectangleInParent(::GetDlgItem(page, kRunAfterBox));
        ::MoveWindow(openAfter, upper.left, upper.top, upper.right - upper.left,
                     upper.bottom - upper.top, FALSE);
    }
    if (s.finishViewEnabled) showChecked(page, kOpenAfterBox);
}

void saveFinishPage(HWND page) {
    SetupState& s = setupState;
    installState.restartChosen = isChecked(page, kRestartBox);
    s.finishRunEnabled = isChecked(page, kRunAfterBox);
    s.finishViewEnabled = isChecked(page, kOpenAfterBox);
}

}  // namespace kelvara
