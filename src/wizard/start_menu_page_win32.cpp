// The start menu page: the program group for the shortcuts, chosen among the groups that exist
// in the common and the user's Programs folders, and the three kinds of shortcuts to create.
#include "environment/folder_tokens_win32.h"
#include "formats/folder_token_names.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "resources/resource_ids.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/text_case.h"
#include "wizard/dialog_helpers_win32.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/wizard_pages_win32.h"

namespace kelvara {
namespace {

constexpr int kGroupBox = IDC_PAGE_TEXT_3;
constexpr int kDesktopBox = IDC_PAGE_TEXT_4;
constexpr int kQuickLaunchBox = IDC_PAGE_TEXT_5;
constexpr const char* kGroupVariable = "%ShortcutsGroup%";

// The group's list and the text the user types: a combo box in the compact layout, a list box
// with an edit control above it in the standard one.
struct GroupControls {
    HWND list;
    HWND text;
    bool combo;
    UINT addString() const { return combo ? CB_ADDSTRING : LB_ADDSTRING; }
    UINT getText() const { return combo ? CB_GETLBTEXT : LB_GETTEXT; }
    UINT getTextLength() const { return combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN; }
    UINT selectString() const { return combo ? CB_SELECTSTRING : LB_SELECTSTRING; }
};

GroupControls groupControls(HWND page) {
    if (setupState.dialogSetOffset == kCompactLayout) {
        HWND combo = ::GetDlgItem(page, IDC_PAGE_COMBO);
        return {combo, combo, true};
    }
    return {::GetDlgItem(page, IDC_GROUP_LIST), ::GetDlgItem(page, IDC_PAGE_EDIT), false};
}

// Entry `index` of the list as a new heap string; null past the end (or out of memory).
char* entryText(const GroupControls& controls, int index) {
    const LRESULT length = ::SendMessageA(controls.list, controls.getTextLength(), index, 0);
    if (length < 0) return nullptr;  // LB_ERR and CB_ERR: no such entry
    auto* text = static_cast<char*>(heapAlloc(static_cast<std::size_t>(length) + 1));
    if (text)
        ::SendMessageA(controls.list, controls.getText(), index, reinterpret_cast<LPARAM>(text));
    return text;
}

bool listed(const GroupControls& controls, const char* name) {
    for (int i = 0;; ++i) {
        HeapString entry(entryText(controls, i));
        if (!entry) return false;
        if (compareTextNoCase(entry.get(), name) == 0) return true;
    }
}

void add(const GroupControls& controls, const char* name) {
    ::SendMessageA(controls.list, controls.addString(), 0, reinterpret_cast<LPARAM>(name));
}

bool isGroupFolder(const WIN32_FIND_DATAA& found) {
    const char* name = found.cFileName;
    const bool dots = name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2]));
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !dots;
}

// Adds the program groups of the folder token's folder: every one that is not the script's
// group (common folder), or every one not yet listed (the user's folder).
void addGroupsOf(const GroupControls& controls, int token, bool unlessListed) {
    HeapString pattern(strConcat5(resolveFolder(token), "\\*"));
    if (!pattern) return;
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(pattern.get(), &found));
    if (!search) return;
    const char* group = lookupVariable(kGroupVariable);
    do {
        if (!isGroupFolder(found)) continue;
        const bool skip = unlessListed
                              ? listed(controls, found.cFileName)
                              : compareTextNoCase(found.cFileName, group ? group : "") == 0;
        if (!skip) add(controls, found.cFileName);
    } while (::FindNextFileA(search.get(), &found));
}

void selectGroup(const GroupControls& controls, const char* group) {
    for (int i = 0;; ++i) {
        HeapString entry(entryText(controls, i));
        if (!entry) return;
        if (compareTextNoCase(entry.get(), group) == 0) {
            ::SendMessageA(controls.list, controls.selectString(), static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(entry.get()));
            return;
        }
    }
}

void enableGroupChoice(HWND page, bool enable) {
    constexpr int kGroupChoiceControls[] = {IDC_PAGE_COMBO, IDC_PAGE_EDIT, IDC_GROUP_LIST};
    for (int id : kGroupChoiceControls) {
        if (HWND control = ::GetDlgItem(page, id)) ::EnableWindow(control, enable);
    }
}

void setBox(HWND page, int id, bool enabled, bool checked) {
    HWND box = ::GetDlgItem(page, id);
    if (!box) return;
    ::EnableWindow(box, enabled);
    ::SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The list box's selection goes to the edit control above it (the combo box does this itself).
void groupPicked(HWND page) {
    const GroupControls controls = groupControls(page);
    const auto selection = static_cast<int>(::SendMessageA(controls.list, LB_GETCURSEL, 0, 0));
    HeapString entry(entryText(controls, selection));
    if (entry) ::SetWindowTextA(controls.text, entry.get());
}

}  // namespace

void initialiseStartMenuPage(HWND page) {
    SetupState& s = setupState;
    setBox(page, kGroupBox, s.allowGroupChoice && s.hasGroupShortcuts, s.createGroupShortcuts);
    setBox(page, kDesktopBox, s.allowDesktopChoice && s.hasDesktopShortcuts,
           s.createDesktopShortcuts);
    setBox(page, kQuickLaunchBox, s.allowQuickLaunchChoice && s.hasQuickLaunchShortcuts,
           s.createQuickLaunchShortcuts);
    if (s.createGroupShortcuts) enableGroupChoice(page, true);

    const GroupControls controls = groupControls(page);
    const char* value = lookupVariable(kGroupVariable);
    HeapString group(strDupExtra(value ? value : "", 0));
    if (!group || !controls.list) return;
    ::SetFocus(controls.text);
    ::SetWindowTextA(controls.text, group.get());
    add(controls, group.get());
    addGroupsOf(controls, kTokenCommonPrograms, false);
    addGroupsOf(controls, kTokenPrograms, true);
    selectGroup(controls, group.get());
}

bool handleStartMenuPage(HWND page, UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_COMMAND) return false;
    result = TRUE;
    if (LOWORD(wParam) == kGroupBox) {
        setupState.createGroupShortcuts = isChecked(page, kGroupBox);
        enableGroupChoice(page, setupState.createGroupShortcuts);
        return true;
    }
    if (LOWORD(wParam) == IDC_GROUP_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        groupPicked(page);
        return true;
    }
    return false;
}

void saveStartMenuPage(HWND page) {
    SetupState& s = setupState;
    const GroupControls controls = groupControls(page);
    HeapString typed(controlText(controls.text));
    if (typed && typed.get()[0]) setVariable(kGroupVariable, typed.get());
    s.createDesktopShortcuts = isChecked(page, kDesktopBox);
    s.createQuickLaunchShortcuts = isChecked(page, kQuickLaunchBox);
}

}  // namespace kelvara
