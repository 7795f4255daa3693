// The page procedure's common part: initialisation, texts, and the messages every page shares.
#include "wizard/page_procedure_win32.h"

#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap_string.h"
#include "wizard/button_map.h"
#include "wizard/dialog_helpers_win32.h"
#include "wizard/page_look_win32.h"
#include "wizard/removal_dialog_win32.h"
#include "wizard/scope_page_win32.h"
#include "wizard/thread_wait_win32.h"
#include "wizard/wizard_pages_win32.h"
#include "wizard/wizard_state.h"
#include "worker/status_text_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

// The page types with handling of their own. The ready page has only texts.
constexpr PageType kPageTypes[] = {
    {kPageTypeLanguage, initialiseLanguagePage, handleLanguagePage, nullptr},
    {kPageTypeWelcome, initialiseWelcomePage, nullptr, nullptr},
    {kPageTypeLicense, initialiseLicensePage, nullptr, nullptr},
    {kPageTypeReadme, initialiseReadmePage, nullptr, nullptr},
    {kPageTypeComponents, initialiseComponentsPage, handleComponentsPage, saveChoicePage},
    {kPageTypeScope, initialiseScopePage, nullptr, nullptr},
    {kPageTypeDestination, initialiseDestinationPage, handleDestinationPage, saveDestinationPage},
    {kPageTypeTasks, initialiseTasksPage, handleTasksPage, saveChoicePage},
    {kPageTypeStartMenu, initialiseStartMenuPage, handleStartMenuPage, saveStartMenuPage},
    {kPageTypeFilesInUse, initialiseFilesInUsePage, nullptr, saveFilesInUsePage},
    {kPageTypeInstalling, initialiseInstallingPage, nullptr, nullptr},
    {kPageTypeFinish, initialiseFinishPage, nullptr, saveFinishPage},
    {kPageTypeRemoval, initialiseRemovalDialog, handleRemovalDialog, nullptr},
};

// Controls that get the normal font (the title gets the title font).
constexpr int kNormalFontControls[] = {
    IDC_PAGE_SUBTITLE, IDC_PAGE_TEXT_3, IDC_PAGE_TEXT_4, IDC_PAGE_TEXT_5, IDC_PAGE_TEXT_6,
    IDC_PAGE_TEXT_7,   IDC_PAGE_TEXT_8, IDC_PAGE_TEXT_9, IDC_BROWSE,      IDC_PAGE_EDIT,
    IDC_GROUP_LIST,    IDC_CHOICE_TREE, IDC_PAGE_COMBO};
// Texts a language change repaints on the frame (the page lies at the frame's origin).
constexpr int kRepaintedAfterLanguageChange[] = {IDC_PAGE_TITLE, IDC_PAGE_SUBTITLE,
                                                 IDC_PAGE_TEXT_3};
constexpr int kFrameTitleText = 0;

const PageType* currentPageType() {
    for (const PageType& type : kPageTypes) {
        if (type.type == wizardState.pageType) return &type;
    }
    return nullptr;
}

bool isPageIndex(LPARAM index) {
    return index >= 0 && index < kPageSlotCount;
}

void setExpandedText(HWND window, const char* text) {
    HeapString expanded(expandVariables(text));
    if (expanded) ::SetWindowTextA(window, expanded.get());
}

void setFonts(HWND page) {
    ::SendDlgItemMessageA(page, kControlTitle, WM_SETFONT,
                          reinterpret_cast<WPARAM>(wizardState.titleFont.get()), FALSE);
    for (int id : kNormalFontControls) {
        ::SendDlgItemMessageA(page, id, WM_SETFONT,
                              reinterpret_cast<WPARAM>(wizardState.normalFont.get()), FALSE);
    }
}

void initialisePage(HWND page, LPARAM pageIndex) {
    setFonts(page);
    HWND separator = ::GetDlgItem(page, kControlSeparator);
    wizardState.headerBottom = separator ? rectangleInParent(separator).bottom : 0;
    if (!isPageIndex(pageIndex)) return;
    applyPageTexts(page, static_cast<int>(pageIndex));
    const PageType* type = currentPageType();
    if (type && type->initialise) type->initialise(page);
}

void reapplyTexts(HWND page, LPARAM pageIndex) {
    if (!isPageIndex(pageIndex)) return;
    applyPageTexts(page, static_cast<int>(pageIndex));
    for (int id : kRepaintedAfterLanguageChange) {
        HWND control = ::GetDlgItem(page, id);
        if (control) refreshControl(control, false);
    }
}

// WM_COMMAND that the page type did not take: Enter and Esc go to the frame as Next and Cancel.
INT_PTR forwardCommand(WPARAM wParam, LPARAM lParam) {
    HWND frame = static_cast<HWND>(wizardState.pageParent);
    const int id = LOWORD(wParam);
    if (frame && (id == IDOK || id == IDCANCEL)) {
        ::SendMessageA(frame, WM_COMMAND, id == IDOK ? kFrameCommandNext : kFrameCommandCancel,
                       lParam);
    }
    return TRUE;
}

void destroyPage(HWND page) {
    savePageValues(page);
    if (workerState.workerThread) {
        // The page's worker may still be on its way out after its last message (the install
        // thread posts its notice, then lets go of its run): it must be gone before the run's
        // clean-up releases what it uses. Every way a page goes has stopped it by now.
        waitForThreadEnd(workerState.workerThread.get());
        workerState.workerThread.reset();
    }
    if (wizardState.palette) ::UnrealizeObject(static_cast<HGDIOBJ>(wizardState.palette.get()));
}

}  // namespace

const char* storedPageText(int item) {
    StringList* texts = textList(wizardState.pageIndex, setupState.currentLanguage);
    return texts ? texts->get(item) : nullptr;
}

bool isSwallowedSystemCommand(WPARAM command) {
    const WPARAM kind = command & 0xFFF0;
    return kind == SC_SIZE || kind == SC_MAXIMIZE || kind == SC_KEYMENU;
}

void savePageValues(HWND page) {
    const PageType* type = currentPageType();
    if (type && type->save) type->save(page);
}

void applyButtonLabels(HWND first, HWND second, int pageIndex) {
    if (!isPageIndex(pageIndex)) return;
    StringList* labels = textList(kTableButtonLabels, setupState.currentLanguage);
    for (int i = 0; i < kMappedButtonCount; ++i) {
        const int label = kButtonMap[pageIndex][i];
        const char* text = labels && label != kKeepTemplateLabel ? labels->get(label) : nullptr;
        if (!text) continue;
        HWND button = first ? ::GetDlgItem(first, kFirstMappedButton + i) : nullptr;
        if (!button && second) button = ::GetDlgItem(second, kFirstMappedButton + i);
        if (button) ::SetWindowTextA(button, text);
    }
}

void applyPageTexts(HWND page, int pageIndex) {
    SetupState& s = setupState;
    if (!isPageIndex(pageIndex)) return;
    wizardState.pageIndex = pageIndex;
    wizardState.pageType = s.pageSlots[pageIndex].dialogId - s.dialogSetOffset;
    wizardState.pageParent = ::GetParent(page);
    StringList* texts = textList(pageIndex, s.currentLanguage);
    if (!texts) return;
    // The background window's title is what the taskbar shows: with its variables expanded, as
    // the frame's, not "%ProductName% Setup".
    HWND background = static_cast<HWND>(wizardState.backgroundWindow.get());
    if (background && texts->get(kFrameTitleText)) {
        setExpandedText(background, texts->get(kFrameTitleText));
    }
    if (wizardState.pageType != kPageTypeRemoval) {
        HWND frame = static_cast<HWND>(wizardState.pageParent);
        if (frame && texts->get(kFrameTitleText))
            setExpandedText(frame, texts->get(kFrameTitleText));
        applyButtonLabels(frame, page, pageIndex);
    }
    // The removal dialog takes its title and explanation from its table; its other controls
    // share the numbers of the uninstaller's further texts, which its own code places.
    const int last =
        wizardState.pageType == kPageTypeRemoval ? kRemovalPageTextLast : kPageTextLast;
    for (int k = 1; k <= last; ++k) {
        HWND control = ::GetDlgItem(page, kPageTextFirstControl + k);
        if (control && texts->get(k)) setExpandedText(control, texts->get(k));
    }
}

INT_PTR CALLBACK pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialisePage(page, lParam);
            return FALSE;
        case kMsgReapplyTexts:
            reapplyTexts(page, lParam);
            return TRUE;
        case WM_ERASEBKGND:
            return paintPageBackground(page, reinterpret_cast<HDC>(wParam));
        case WM_CTLCOLORSTATIC:
            return pageStaticColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_SYSCOLORCHANGE:
            rebuildPageBrushes();
            return FALSE;
        case WM_SYSCOMMAND:
            return isSwallowedSystemCommand(wParam) ? TRUE : FALSE;
        case WM_DESTROY:
            destroyPage(page);
            return FALSE;
        default:
            break;
    }
    const PageType* type = currentPageType();
    INT_PTR result = FALSE;
    if (type && type->handle && type->handle(page, message, wParam, lParam, result)) return result;
    if (message == WM_COMMAND) return forwardCommand(wParam, lParam);
    return FALSE;
}

}  // namespace kelvara
