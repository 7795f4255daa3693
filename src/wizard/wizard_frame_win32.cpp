#include "wizard/wizard_frame_win32.h"

#include <shellapi.h>

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/message_catalogue.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "install/action_lists.h"
#include "install/files_in_use_win32.h"
#include "install/install_messages.h"
#include "install/install_state.h"
#include "install/install_thread.h"
#include "resources/resource_ids.h"
#include "runtime/handles_win32.h"
#include "runtime/message_box_win32.h"
#include "uninstall/uninstall_log_win32.h"
#include "wizard/destination_check_win32.h"
#include "wizard/scope_page_win32.h"
#include "wizard/dialog_helpers_win32.h"
#include "wizard/page_look_win32.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/thread_wait_win32.h"
#include "wizard/wizard_state.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

// The product label opens our web page.
constexpr const char* kMakerAddress = "https://kelvara.org/";

// The product link's hot area at 96 dpi: from the band's top less 5 pixels to 30 pixels above
// the bottom, 80 pixels wide. It grows with the DPI, as the label does.
constexpr int kLinkWidth = 80;
constexpr int kLinkAboveBand = 5;
constexpr int kLinkBottomMargin = 30;

// Page types that have a template, in both layouts.
constexpr int kPageTypesWithTemplates[] = {
    kPageTypeLanguage,   kPageTypeWelcome, kPageTypeLicense,     kPageTypeReadme,
    kPageTypeComponents, kPageTypeScope,   kPageTypeDestination, kPageTypeTasks,
    kPageTypeStartMenu,  kPageTypeReady,   kPageTypeInstalling,  kPageTypeFinish,
};

int pageTypeOf(int index) {
    if (index == kPageFilesInUse) return kPageTypeFilesInUse;
    if (index < 0 || index >= kWizardPageCount) return 0;
    return kFirstDialogId + index;
}

int currentPageType() {
    return pageTypeOf(wizardState.currentPageIndex);
}

int scaled(int pixels) {
    return ::MulDiv(pixels, wizardState.screenDpi ? wizardState.screenDpi : 96, 96);
}

HWND control(HWND frame, int id) {
    return ::GetDlgItem(frame, id);
}

// Shows or hides a button; a button that goes while it has the focus hands it to `heir`.
void showButton(HWND frame, int id, bool show, int heir) {
    HWND button = control(frame, id);
    if (!button) return;
    if (!show && ::GetFocus() == button) ::SetFocus(control(frame, heir));
    ::ShowWindow(button, show ? SW_SHOW : SW_HIDE);
    ::EnableWindow(button, show);
}

// Ends the wizard: the page goes first (it saves what the user entered), then the frame, whose
// WM_DESTROY ends the message loop.
void endWizard(HWND frame) {
    wizardState.pageWindow.reset();
    ::DestroyWindow(frame);
}

// Opens the page in place of the one shown. A page that cannot be made ends the wizard after
// saying so, as a failed installation does: a frame without a page could neither go on nor
// install. (Posted, so that a frame still in its creation is not destroyed under it.)
bool openPage(HWND frame, int index) {
    SetupState& s = setupState;
    wizardState.pageWindow.reset();
    wizardState.currentPageIndex = index;
    HWND page = ::CreateDialogParamA(static_cast<HINSTANCE>(runEnvironment.moduleHandle),
                                     MAKEINTRESOURCEA(s.pageSlots[index].dialogId), frame,
                                     pageProcedure, index);
    if (page) {
        wizardState.pageWindow.reset(page);
        return true;
    }
    messageBoxFormat(frame, s.setupCaption.get(), text(kMsgNoWizardWindow), nullptr, MB_ICONERROR);
    ::PostMessageA(frame, kInstallFailedNotice, 0, 0);
    return false;
}

int nextShownPage(int after) {
    for (int index = after + 1; index < kWizardPageCount; ++index) {
        if (isPageShown(index)) return index;
    }
    return -1;
}

int previousShownPage(int before) {
    for (int index = before - 1; index >= 0; --index) {
        if (isPageShown(index)) return index;
    }
    return -1;
}

void initialiseFrame(HWND frame) {
    RunEnvironment& run = runEnvironment;
    run.wizardDialog = frame;
    wizardState.currentPageIndex = -1;
    wizardState.previousPageIndex = -1;
    wizardState.handCursor = ::LoadCursorA(nullptr, IDC_HAND);
    if (wizardState.backgroundWindow) {
        const LONG style = ::GetWindowLongA(frame, GWL_STYLE);
        ::SetWindowLongA(frame, GWL_STYLE, style & ~WS_MINIMIZEBOX);
    } else {
        HICON icon =
            ::LoadIconA(static_cast<HINSTANCE>(run.moduleHandle), MAKEINTRESOURCEA(IDI_APP));
        ::SetClassLongPtrA(frame, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    }
    constexpr int kNormalFontControls[] = {IDC_FRAME_PRODUCT_LABEL, IDC_FRAME_LABEL_LINE, IDC_BACK,
                                           IDC_NEXT, IDC_CANCEL};
    for (int id : kNormalFontControls) {
        ::SendDlgItemMessageA(frame, id, WM_SETFONT,
                              reinterpret_cast<WPARAM>(wizardState.normalFont.get()), FALSE);
    }
    // A script that hides the engine's name shows its own text in the corner, or none.
    if (setupState.hideMakerLink) {
        showCornerText(control(frame, IDC_FRAME_PRODUCT_LABEL), control(frame, IDC_FRAME_BAND_LINE),
                       text(kTableButtonLabels, kMakerTextItem),
                       static_cast<HFONT>(wizardState.normalFont.get()));
    }
    RECT client = {};
    ::GetClientRect(frame, &client);
    wizardState.bandHeight =
        client.bottom - rectangleInParent(control(frame, IDC_FRAME_BAND_LINE)).top;
    const int first = nextShownPage(-1);
    if (first >= 0) openPage(frame, first);
}

// Next: on to the next shown page, running the action groups of the page left and of every page
// passed over; past the last page the wizard ends there.
void goNext(HWND frame) {
    HWND page = static_cast<HWND>(wizardState.pageWindow.get());
    if (currentPageType() == kPageTypeDestination && !destinationAccepted(frame, page)) return;
    // A choice that needs administrator rights the run lacks ends this wizard: the run starts
    // again elevated for it.
    if (currentPageType() == kPageTypeScope && !scopeChoiceTaken(page)) {
        endWizard(frame);
        return;
    }
    // The Installing page moves on only once the installation is done (the install thread's
    // notice), never on an Enter the page passed on while the files are still being written.
    if (currentPageType() == kPageTypeInstalling &&
        !isSignalled(installState.installDoneEvent.get()))
        return;
    // The programs-in-use page stands between its page and the Installing page: leaving it goes
    // on from there.
    const bool fromFilesInUse = currentPageType() == kPageTypeFilesInUse;
    const int left = fromFilesInUse ? wizardState.previousPageIndex : wizardState.currentPageIndex;
    const int next = nextShownPage(left);
    if (!fromFilesInUse && next >= 0 && pageTypeOf(next) == kPageTypeInstalling &&
        programsInUseBeforeInstalling()) {
        if (page) savePageValues(page);
        wizardState.previousPageIndex = left;
        openPage(frame, kPageFilesInUse);
        return;
    }
    wizardState.previousPageIndex = left;
    if (next < 0) {
        endWizard(frame);
        wizardState.wizardPosition = left;
        return;
    }
    // The groups see what the user chose on the page being left.
    if (page) savePageValues(page);
    for (int index = left; index < next; ++index) {
        // A failing step not gone on from ends the wizard here: nothing more is installed or
        // run (before the installation nothing was).
        if (!runActionGroup(actionGroupAfterPage(index))) {
            endWizard(frame);
            return;
        }
    }
    if (!openPage(frame, next)) return;
    const bool browsing = pageTypeOf(next) < kPageTypeInstalling;
    showButton(frame, IDC_BACK, browsing, IDC_NEXT);
    showButton(frame, IDC_NEXT, browsing, IDC_CANCEL);
}

void goBack(HWND frame) {
    if (wizardState.previousPageIndex < 0) return;
    const int back = wizardState.previousPageIndex;
    wizardState.previousPageIndex = previousShownPage(back);
    if (wizardState.previousPageIndex < 0) showButton(frame, IDC_BACK, false, IDC_NEXT);
    openPage(frame, back);
}

bool userWantsToQuit(HWND frame, SetupMessage question) {
    SetupState& s = setupState;
    wizardState.quitQuestionOpen = true;
    const bool quit = messageBoxFormat(frame, s.setupCaption.get(), text(question), nullptr,
                                       MB_ICONQUESTION | MB_YESNO) == IDYES;
    wizardState.quitQuestionOpen = false;
    return quit;
}

// Cancel, Esc, the close box, Cancel on the licence page and the background window's close. While
// the question is open the install thread waits at its next checkpoint.
void cancel(HWND frame) {
    if (wizardState.quitQuestionOpen) return;  // the question asked already stands
    const SetupMessage question =
        currentPageType() == kPageTypeInstalling ? kMsgQuitDuringInstall : kMsgQuitBeforeInstall;
    ::ResetEvent(workerState.proceedEvent.get());
    HANDLE worker = workerState.workerThread.get();
    if (workerState.workerThreadId != 0 && !isSignalled(installState.installDoneEvent.get())) {
        if (!userWantsToQuit(frame, question)) {
            ::SetEvent(workerState.proceedEvent.get());
            return;
        }
        // The thread ends at its next checkpoint and rolls back what it made.
        ::PostThreadMessageA(workerState.workerThreadId, WM_QUIT, 0, 0);
        ::SetEvent(workerState.proceedEvent.get());
        waitForThreadEnd(worker);
        undoRollbackLog();
        wizardState.wizardCancelled = true;
        endWizard(frame);
        return;
    }
    ::SetEvent(workerState.proceedEvent.get());
    waitForThreadEnd(worker);
    if (wizardState.currentPageIndex != kFinishPageIndex && !userWantsToQuit(frame, question))
        return;
    if (wizardState.currentPageIndex == kFinishPageIndex) {
        wizardState.wizardPosition = kFinishedWizardPosition;
    } else {
        wizardState.wizardCancelled = true;
    }
    endWizard(frame);
}

// The install thread failed or was cancelled, and has rolled back.
void installEnded(HWND frame) {
    waitForThreadEnd(workerState.workerThread.get());
    endWizard(frame);
}

bool onProductLink(HWND frame, LPARAM position) {
    RECT client = {};
    ::GetClientRect(frame, &client);
    const RECT hot = {0, client.bottom - wizardState.bandHeight - scaled(kLinkAboveBand),
                      scaled(kLinkWidth), client.bottom - scaled(kLinkBottomMargin)};
    const POINT point = {static_cast<short>(LOWORD(position)),
                         static_cast<short>(HIWORD(position))};
    return ::PtInRect(&hot, point) != FALSE;
}

void productLink(HWND frame, UINT message, LPARAM position) {
    SetupState& s = setupState;
    if (s.hideMakerLink || !onProductLink(frame, position)) return;
    ::SetCursor(static_cast<HCURSOR>(wizardState.handCursor));
    if (message == WM_LBUTTONUP) {
        ::ShellExecuteA(nullptr, "open", kMakerAddress, nullptr, nullptr, SW_SHOW);
    }
}

INT_PTR frameCommand(HWND frame, int id) {
    switch (id) {
        case IDOK:
            if (currentPageType() != kPageTypeInstalling && currentPageType() != kPageTypeFinish) {
                goNext(frame);
            }
            break;
        case IDC_NEXT:
            goNext(frame);
            break;
        case IDC_BACK:
            goBack(frame);
            break;
        case IDCANCEL:
        case IDC_CANCEL:
            cancel(frame);
            break;
        default:
            break;
    }
    return TRUE;
}

// Minimizing does not apply over the background window either.
bool swallowedSystemCommand(WPARAM command) {
    return isSwallowedSystemCommand(command) ||
           ((command & 0xFFF0) == SC_MINIMIZE && wizardState.backgroundWindow.get());
}

INT_PTR CALLBACK frameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialiseFrame(frame);
            return FALSE;  // the page sets the focus itself
        case WM_COMMAND:
            return frameCommand(frame, LOWORD(wParam));
        case kInstallFailedNotice:
            installEnded(frame);
            return TRUE;
        case WM_ERASEBKGND:
            return paintFrameBand(frame, reinterpret_cast<HDC>(wParam));
        case WM_CTLCOLORSTATIC:
            return frameStaticColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            productLink(frame, message, lParam);
            return FALSE;
        case WM_SYSCOMMAND:
            return swallowedSystemCommand(wParam) ? TRUE : FALSE;
        case WM_SYSCOLORCHANGE:
            if (wizardState.pageWindow) {
                ::SendMessageA(static_cast<HWND>(wizardState.pageWindow.get()), WM_SYSCOLORCHANGE,
                               0, 0);
            }
            return FALSE;
        case WM_DESTROY:
            runEnvironment.wizardDialog = nullptr;
            ::PostQuitMessage(0);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

bool isPageShown(int index) {
    if (index < 0 || index >= kWizardPageCount || !setupState.pageSlots[index].enabled) {
        return false;
    }
    for (int type : kPageTypesWithTemplates) {
        if (type == pageTypeOf(index)) return true;
    }
    return false;
}

bool hasShownPage() {
    return nextShownPage(-1) >= 0;
}

HWND createWizardFrame(HWND owner) {
    SetupState& s = setupState;
    const int frameTemplate = kWizardFrameTemplate + s.dialogSetOffset;
    return ::CreateDialogParamA(static_cast<HINSTANCE>(runEnvironment.moduleHandle),
                                MAKEINTRESOURCEA(frameTemplate), owner, frameProcedure, 0);
}

}  // namespace kelvara
