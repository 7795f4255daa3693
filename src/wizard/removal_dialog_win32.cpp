// The removal dialog: closing, the switch into the leftover-files page, Select all, Delete and
// the tree's notifications.
#include "wizard/removal_dialog_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/setup_state.h"
#include "formats/uninstaller_texts.h"
#include "resources/resource_ids.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/message_text.h"
#include "uninstall/uninstall_state.h"
#include "uninstall/uninstall_thread_win32.h"
#include "wizard/dialog_helpers_win32.h"
#include "wizard/leftover_folders.h"
#include "wizard/leftover_tree_win32.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/thread_wait_win32.h"
#include "worker/status_text_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

constexpr int kTextCaption = 0;      // uninstallTexts: the dialog's caption
constexpr int kTextProductName = 9;  // uninstallTexts: the product's name

// The tree view notifications, whichever character set the control chose for its parent.
constexpr UINT kItemExpandedCodes[] = {TVN_ITEMEXPANDEDA, TVN_ITEMEXPANDEDW};

const char* caption() {
    return text(kUninstallTextsSlot, kTextCaption);
}

HWND tree(HWND dialog) {
    return ::GetDlgItem(dialog, IDC_LEFTOVER_TREE);
}

void setControlText(HWND dialog, int id, const char* value) {
    HWND control = ::GetDlgItem(dialog, id);
    if (!control) return;
    ::SetWindowTextA(control, value);
    refreshControl(control, true);
}

void showControl(HWND dialog, int id, bool show) {
    if (HWND control = ::GetDlgItem(dialog, id)) ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

void enableDelete(HWND dialog, bool enable) {
    if (HWND button = ::GetDlgItem(dialog, IDC_DELETE_CHECKED)) ::EnableWindow(button, enable);
}

// Waits for the uninstall thread to end; its messages to the dialog keep being handled.
void waitForWorker() {
    waitForThreadEnd(workerState.workerThread.get());
}

// Cancel, Finish, Esc, Enter and the close box.
void closeDialog(HWND dialog) {
    ::ResetEvent(workerState.proceedEvent.get());
    if (isSignalled(uninstallState.uninstallDoneEvent.get())) {
        ::SetEvent(workerState.proceedEvent.get());
        waitForWorker();
        ::EndDialog(dialog, 0);
        return;
    }
    if (messageBoxFormat(dialog, caption(), uninstallerText(kUnQuitQuestion), nullptr,
                         MB_ICONWARNING | MB_YESNO) != IDYES) {
        ::SetEvent(workerState.proceedEvent.get());
        return;
    }
    ::PostThreadMessageA(workerState.workerThreadId, WM_QUIT, 0, 0);
    ::SetEvent(workerState.proceedEvent.get());
    waitForWorker();
    // An abandoned uninstallation schedules nothing for the restart and asks no restart.
    uninstallState.rebootDeleteFiles.clear();
    ::EndDialog(dialog, 0);
}

void showRemovedText(HWND dialog) {
    char removed[kMessageTextLimit + 1] = {};
    const char* product = text(kUninstallTextsSlot, kTextProductName);
    // The text is cut to fit the buffer, after a whole character.
    formatMessageText(removed, sizeof removed, uninstallerText(kUnRemoved), product ? product : "");
    setControlText(dialog, IDC_PAGE_SUBTITLE, removed);
}

void fillLeftoverTree(HWND dialog) {
    HWND leftovers = tree(dialog);
    if (!leftovers) return;
    // Check boxes get their images reliably only when the style is set after the tree view was
    // made and before it is filled.
    const LONG style = ::GetWindowLongA(leftovers, GWL_STYLE);
    ::SetWindowLongA(leftovers, GWL_STYLE, style & ~TVS_CHECKBOXES);
    ::SetWindowLongA(leftovers, GWL_STYLE, style | TVS_CHECKBOXES);
    SHFILEINFOA info = {};
    auto images = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (images) TreeView_SetImageList(leftovers, images, TVSIL_NORMAL);
    keepOutermostFolders(uninstallState.leftoverFolders);
    ::SendMessageA(leftovers, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < uninstallState.leftoverFolders.count(); ++i) {
        addRootFolder(leftovers, uninstallState.leftoverFolders.get(i));
    }
    ::SendMessageA(leftovers, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(leftovers, nullptr, TRUE);
}

// The uninstallation is done and folders remain: the dialog becomes the leftover-files page.
void showLeftoverPage(HWND dialog) {
    ::SetDlgItemTextA(dialog, IDC_THIRD_BUTTON, uninstallerText(kUnFinish));
    setControlText(dialog, IDC_PAGE_TITLE, uninstallerText(kUnCompletedTitle));
    if (setupState.dialogSetOffset == kCompactLayout) {
        showControl(dialog, IDC_PAGE_SUBTITLE, false);
        showControl(dialog, IDC_REMOVAL_STATUS, false);
        setControlText(dialog, IDC_REMOVAL_MESSAGE, uninstallerText(kUnLeftoverMessage));
        showControl(dialog, IDC_REMOVAL_MESSAGE, true);
    } else {
        showRemovedText(dialog);
        setControlText(dialog, IDC_REMOVAL_STATUS, uninstallerText(kUnLeftoverMessage));
    }
    showControl(dialog, IDC_REMOVAL_PATH, false);
    showControl(dialog, IDC_REMOVAL_PROGRESS, false);
    showControl(dialog, IDC_SELECT_ALL, true);
    showControl(dialog, IDC_DELETE_CHECKED, true);
    showControl(dialog, IDC_LEFTOVER_TREE, true);
    fillLeftoverTree(dialog);
    if (HWND leftovers = tree(dialog)) ::SetFocus(leftovers);
}

void selectAll(HWND dialog) {
    HWND leftovers = tree(dialog);
    ::SendMessageA(leftovers, WM_SETREDRAW, FALSE, 0);
    checkSubtree(leftovers, TVI_ROOT, false);
    ::SendMessageA(leftovers, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(leftovers, nullptr, TRUE);
    enableDelete(dialog, true);
}

void deleteChecked(HWND dialog) {
    if (messageBoxFormat(dialog, uninstallerText(kUnConfirmCaption),
                         uninstallerText(kUnDeleteQuestion), nullptr,
                         MB_ICONQUESTION | MB_YESNO) != IDYES) {
        return;
    }
    deleteCheckedItems(dialog, tree(dialog), TVI_ROOT);
    enableDelete(dialog, false);
}

bool isItemExpanded(const NMHDR& header) {
    for (UINT code : kItemExpandedCodes) {
        if (header.code == code) return true;
    }
    return false;
}

LRESULT treeNotification(HWND dialog, const NMHDR& header) {
    HWND leftovers = header.hwndFrom;
    if (isItemExpanded(header)) {
        // The item part is the same in the ANSI and the Unicode form of the notification.
        const auto& view = reinterpret_cast<const NMTREEVIEWA&>(header);
        if (view.itemNew.state & TVIS_EXPANDED) {
            ::SendMessageA(leftovers, WM_SETREDRAW, FALSE, 0);
            expandFolderItem(leftovers, view.itemNew.hItem);
            ::SendMessageA(leftovers, WM_SETREDRAW, TRUE, 0);
            ::InvalidateRect(leftovers, nullptr, TRUE);
        }
        return 0;
    }
    if (header.code == static_cast<UINT>(NM_CLICK)) {
        const DWORD position = ::GetMessagePos();
        const POINT point = {static_cast<short>(LOWORD(position)),
                             static_cast<short>(HIWORD(position))};
        bool onCheckBox = false;
        const bool somethingChecked = applyCheckBoxClick(leftovers, point, &onCheckBox);
        if (onCheckBox) {
            enableDelete(dialog, somethingChecked);
            ::InvalidateRect(leftovers, nullptr, TRUE);
        }
        return 0;  // the tree view goes on and toggles the clicked box
    }
    // The space bar toggles the selected item's check box as a click does: the same has to go
    // with it, or a collapsed folder unchecked this way would leave its contents checked.
    const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
    if (header.code == static_cast<UINT>(TVN_KEYDOWN) && key.wVKey == VK_SPACE) {
        if (HTREEITEM selected = TreeView_GetSelection(leftovers)) {
            enableDelete(dialog, applyCheckToggle(leftovers, selected));
            ::InvalidateRect(leftovers, nullptr, TRUE);
        }
    }
    return 0;
}

}  // namespace

bool runRemovalDialog() {
    SetupState& s = setupState;
    const int templateId = IDD_REMOVAL + s.dialogSetOffset;
    s.pageSlots[kRemovalPageIndex].dialogId = templateId;
    const INT_PTR result = ::DialogBoxParamA(
        static_cast<HINSTANCE>(runEnvironment.moduleHandle ? runEnvironment.moduleHandle
                                                           : ::GetModuleHandleA(nullptr)),
        MAKEINTRESOURCEA(templateId), nullptr, pageProcedure, kRemovalPageIndex);
    return result != -1;
}

void initialiseRemovalDialog(HWND dialog) {
    ::SetWindowTextA(dialog, caption());
    applyButtonLabels(dialog, nullptr, kRemovalPageIndex);
    ::SetDlgItemTextA(dialog, IDC_THIRD_BUTTON, uninstallerText(kUnCancel));
    ::SetDlgItemTextA(dialog, IDC_SELECT_ALL, uninstallerText(kUnSelectAll));
    ::SetDlgItemTextA(dialog, IDC_DELETE_CHECKED, uninstallerText(kUnDelete));
    // The installer hid the engine's name in its corner: the uninstaller shows what it showed.
    if (setupState.hideMakerLink) {
        HWND label = ::GetDlgItem(dialog, IDC_PRODUCT_LABEL);
        showCornerText(label, ::GetDlgItem(dialog, IDC_REMOVAL_BAND_LINE),
                       text(kUninstallTextsSlot, kUninstallerCornerText),
                       reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)));
    }
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, uninstallThread, dialog, 0, &id);
    workerState.workerThread.reset(thread);
    workerState.workerThreadId = thread ? id : 0;
}

bool handleRemovalDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    result = TRUE;
    if (message == kMsgShowLeftoverPage) {
        showLeftoverPage(dialog);
        return true;
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || header->idFrom != IDC_LEFTOVER_TREE) return false;
        ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, treeNotification(dialog, *header));
        return true;
    }
    if (message != WM_COMMAND) return false;
    switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
        case IDC_THIRD_BUTTON:
            closeDialog(dialog);
            return true;
        case IDC_SELECT_ALL:
            selectAll(dialog);
            return true;
        case IDC_DELETE_CHECKED:
            deleteChecked(dialog);
            return true;
        default:
            return true;  // other commands do nothing
    }
}

}  // namespace kelvara
