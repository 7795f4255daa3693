// The components and tasks pages: the parts of setupState.choices in a tree view with check
// boxes. A box the person toggles goes through the selection's rules (formats/choices.h), and
// every box then shows the selection again: a parent ticked with its child, a fixed component
// that stays, the other task of a group cleared.
#include <windows.h>
#include <commctrl.h>

#include "formats/choices.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "resources/resource_ids.h"
#include "runtime/heap_string.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/wizard_pages_win32.h"
#include "wizard/wizard_state.h"

namespace kelvara {
namespace {

constexpr int kSetupTypeCombo = IDC_PAGE_COMBO;
constexpr int kSetupTypeLabel = IDC_PAGE_TEXT_3;
constexpr int kDescription = IDC_PAGE_TEXT_9;
constexpr int kNoDescriptionText = 9;  // page text: the description box before a part is picked
constexpr int kUnchecked = 1;          // state images of a tree view with check boxes
constexpr int kChecked = 2;
// Posted after a box was toggled: the tree view may toggle it itself after telling of the key
// or click, so the boxes show the selection once it has.
constexpr UINT kMsgShowSelection = WM_USER + 20;

bool onTasksPage() {
    return wizardState.pageType == kPageTypeTasks;
}

HWND choiceTree(HWND page) {
    return ::GetDlgItem(page, IDC_CHOICE_TREE);
}

bool isChosen(int index) {
    const Choices& c = setupState.choices;
    return ((onTasksPage() ? c.tasks : c.components) & choiceBit(index)) != 0;
}

int itemIndex(HWND tree, HTREEITEM item) {
    TVITEMA data = {};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (!item || !::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return -1;
    return static_cast<int>(data.lParam);
}

// Every box below `item` (TVI_ROOT: the whole tree) as the selection has it.
void showBoxes(HWND tree, HTREEITEM first) {
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        TreeView_SetItemState(
            tree, item,
            INDEXTOSTATEIMAGEMASK(isChosen(itemIndex(tree, item)) ? kChecked : kUnchecked),
            TVIS_STATEIMAGEMASK);
        showBoxes(tree, TreeView_GetChild(tree, item));
    }
}

void showSetupType(HWND page) {
    ::SendDlgItemMessageA(page, kSetupTypeCombo, CB_SETCURSEL,
                          static_cast<WPARAM>(matchingSetupType(setupState.choices)), 0);
}

// What follows the selection: the boxes, and on the components page its space and (unless the
// type was just picked from the list, which stays shown) its setup type.
void showSelection(HWND page, bool withSetupType = true) {
    HWND tree = choiceTree(page);
    showBoxes(tree, TreeView_GetRoot(tree));
    if (onTasksPage()) return;
    if (withSetupType) showSetupType(page);
    showSpaceFigures(page, lookupVariable("%InstallPath%"));
}

void setExpanded(HWND control, const char* text) {
    HeapString expanded(expandVariables(text ? text : ""));
    if (expanded) ::SetWindowTextA(control, expanded.get());
}

// The parts in the tree: each component under its parent (parents come first), every task at
// the top.
void fillTree(HWND page, bool tasks) {
    HWND tree = choiceTree(page);
    if (!tree) return;
    // Check boxes get their images reliably only when the style is set after the tree view was
    // made and before it is filled.
    const LONG style = ::GetWindowLongA(tree, GWL_STYLE);
    ::SetWindowLongA(tree, GWL_STYLE, style & ~TVS_CHECKBOXES);
    ::SetWindowLongA(tree, GWL_STYLE, style | TVS_CHECKBOXES);
    const Choices& c = setupState.choices;
    const int count = tasks ? c.taskCount : c.componentCount;
    HTREEITEM items[kChoiceLimit] = {};
    for (int i = 0; i < count; ++i) {
        HeapString name(expandVariables((tasks ? c.taskNames : c.componentNames).get(i)));
        const int parent = tasks ? 0 : c.componentParent[i];
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parent > 0 ? items[parent - 1] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = name ? name.get() : const_cast<char*>("");
        insert.item.lParam = i;
        items[i] = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    for (int i = 0; i < count; ++i) {
        if (items[i]) TreeView_Expand(tree, items[i], TVE_EXPAND);
    }
    showBoxes(tree, TreeView_GetRoot(tree));
    setExpanded(::GetDlgItem(page, kDescription), storedPageText(kNoDescriptionText));
}

// The selection with the item's box toggled, through the rules.
void toggle(HWND page, HTREEITEM item) {
    const int index = itemIndex(choiceTree(page), item);
    if (index < 0) return;
    Choices& c = setupState.choices;
    if (onTasksPage()) {
        // A task of a group stays ticked when it is ticked again: one of the group is chosen.
        if (!(isChosen(index) && c.taskGroup[index])) chooseTask(c, index, !isChosen(index));
    } else {
        chooseComponent(c, index, !isChosen(index));
    }
}

void showDescription(HWND page, const NMTREEVIEWA& change) {
    const Choices& c = setupState.choices;
    const auto index = static_cast<int>(change.itemNew.lParam);
    const StringList& descriptions = onTasksPage() ? c.taskDescriptions : c.componentDescriptions;
    const char* text = change.itemNew.hItem ? descriptions.get(index) : nullptr;
    setExpanded(::GetDlgItem(page, kDescription),
                text && *text ? text : storedPageText(kNoDescriptionText));
}

// A notification's result, which a dialog gives through its window's message result.
bool notifyResult(HWND page, LONG_PTR value, INT_PTR& result) {
    ::SetWindowLongPtrA(page, DWLP_MSGRESULT, value);
    result = TRUE;
    return true;
}

// A fixed component's name is greyed: its box cannot be cleared.
LONG_PTR drawItem(const NMTVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    const auto index = static_cast<int>(draw.nmcd.lItemlParam);
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && !onTasksPage() && index >= 0 &&
        index < kChoiceLimit && (setupState.choices.componentFlags[index] & kChoiceFixed)) {
        const_cast<NMTVCUSTOMDRAW&>(draw).clrText = ::GetSysColor(COLOR_GRAYTEXT);
    }
    return CDRF_DODEFAULT;
}

bool handleTree(HWND page, const NMHDR& header, INT_PTR& result) {
    HWND tree = choiceTree(page);
    if (header.hwndFrom != tree) return false;
    if (header.code == static_cast<UINT>(NM_CUSTOMDRAW)) {
        return notifyResult(page, drawItem(reinterpret_cast<const NMTVCUSTOMDRAW&>(header)),
                            result);
    }
    // A second click soon after the first comes as a double click, which toggles a box too.
    if (header.code == static_cast<UINT>(NM_CLICK) || header.code == static_cast<UINT>(NM_DBLCLK)) {
        const DWORD position = ::GetMessagePos();
        TVHITTESTINFO hit = {};
        hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ::ScreenToClient(tree, &hit.pt);
        const auto item = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (!item || !(hit.flags & TVHT_ONITEMSTATEICON)) return notifyResult(page, 0, result);
        // The boxes show the rules' answer at once; whatever the tree view toggles itself after
        // the notice is put right once it has.
        toggle(page, item);
        showSelection(page);
        // The part clicked is the one selected, its description shown.
        TreeView_SelectItem(tree, item);
        ::PostMessageA(page, kMsgShowSelection, 0, 0);
        return notifyResult(page, 1, result);
    }
    const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
    if (header.code == static_cast<UINT>(TVN_KEYDOWN) && key.wVKey == VK_SPACE) {
        toggle(page, TreeView_GetSelection(tree));
        ::PostMessageA(page, kMsgShowSelection, 0, 0);
        return notifyResult(page, 0, result);
    }
    if (header.code == static_cast<UINT>(TVN_SELCHANGEDA)) {
        showDescription(page, reinterpret_cast<const NMTREEVIEWA&>(header));
        return notifyResult(page, 0, result);
    }
    return false;
}

bool handleChoicePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == kMsgShowSelection) {
        showSelection(page);
        result = TRUE;
        return true;
    }
    if (message == WM_NOTIFY) return handleTree(page, *reinterpret_cast<NMHDR*>(lParam), result);
    if (message == WM_COMMAND && LOWORD(wParam) == kSetupTypeCombo &&
        HIWORD(wParam) == CBN_SELCHANGE) {
        const auto type =
            static_cast<int>(::SendDlgItemMessageA(page, kSetupTypeCombo, CB_GETCURSEL, 0, 0));
        // The type picked stays shown, a custom one too, which keeps the boxes as they are.
        chooseSetupType(setupState.choices, type);
        showSelection(page, false);
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace

void initialiseComponentsPage(HWND page) {
    const Choices& c = setupState.choices;
    HWND combo = ::GetDlgItem(page, kSetupTypeCombo);
    for (int t = 0; t < c.setupTypeCount; ++t) {
        HeapString name(expandVariables(c.setupTypeNames.get(t)));
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name ? name.get() : ""));
    }
    // Without setup types the boxes are the only choice.
    if (c.setupTypeCount == 0) {
        ::ShowWindow(combo, SW_HIDE);
        ::ShowWindow(::GetDlgItem(page, kSetupTypeLabel), SW_HIDE);
    }
    fillTree(page, false);
    showSelection(page);
    ::SetFocus(c.setupTypeCount ? combo : choiceTree(page));
}

bool handleComponentsPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    return handleChoicePage(page, message, wParam, lParam, result);
}

void initialiseTasksPage(HWND page) {
    fillTree(page, true);
    ::SetFocus(choiceTree(page));
}

bool handleTasksPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    return handleChoicePage(page, message, wParam, lParam, result);
}

// The page is saved when it is left and again when it goes: the records follow a changed
// selection once.
void saveChoicePage(HWND) {
    const Choices& c = setupState.choices;
    if (c.components == c.keptComponents && c.tasks == c.keptTasks) return;
    if (wizardState.choicesChanged) wizardState.choicesChanged();
}

}  // namespace kelvara
