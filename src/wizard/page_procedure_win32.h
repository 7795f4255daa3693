// The page procedure: one dialog procedure for every wizard page and for the uninstaller's
// removal dialog. It does what all pages share (fonts, texts and button labels in the current
// language, background, text colours, system colour changes, the system menu) and hands the
// rest to the page type's own handling (Windows only).
#pragma once
#include <windows.h>

#include "resources/resource_ids.h"

namespace kelvara {

// Page types: the slot's dialog id minus dialogSetOffset.
constexpr int kPageTypeLanguage = 129;
constexpr int kPageTypeWelcome = 130;
constexpr int kPageTypeLicense = 131;
constexpr int kPageTypeReadme = 132;
constexpr int kPageTypeComponents = 133;
constexpr int kPageTypeScope = 134;
constexpr int kPageTypeDestination = 135;
constexpr int kPageTypeTasks = 136;
constexpr int kPageTypeStartMenu = 137;
constexpr int kPageTypeReady = 138;
constexpr int kPageTypeInstalling = 139;
constexpr int kPageTypeFinish = 140;
constexpr int kPageTypeRemoval = 141;
constexpr int kPageTypeFilesInUse = 143;
constexpr int kRemovalPageIndex = 12;  // the uninstaller's page slot

// Sent by a page to itself (wParam 0, lParam = page index) after the language changed: the
// texts are applied again in the new language.
constexpr UINT kMsgReapplyTexts = WM_USER + 10;

// Controls every page may have.
constexpr int kPageTextFirstControl = IDC_PAGE_TEXT_FIRST;  // page text k fills this + k
constexpr int kPageTextLast = 19;
constexpr int kRemovalPageTextLast = 2;  // the removal dialog's title and explanation
constexpr int kControlTitle = IDC_PAGE_TITLE;
constexpr int kControlDestination = IDC_PAGE_EDIT;
constexpr int kControlLanguageCombo = IDC_PAGE_COMBO;
constexpr int kControlSeparator = IDC_HEADER_LINE;
constexpr int kFrameCommandNext = IDC_NEXT;      // what the frame takes as Next
constexpr int kFrameCommandCancel = IDC_CANCEL;  // what the frame takes as Cancel

// What a page type adds to the common handling. Any member may be null.
struct PageType {
    int type;
    // After the common initialisation of WM_INITDIALOG.
    void (*initialise)(HWND page);
    // Called first for WM_COMMAND, WM_NOTIFY and messages the common handling does not know:
    // true when the type handled the message, with the procedure's result in `result`.
    bool (*handle)(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // Keeps what the user entered: on WM_DESTROY, and before the frame runs the action groups
    // of a page it leaves forwards (so that they see the choices). May run twice.
    void (*save)(HWND page);
};

// The dialog procedure. The WM_INITDIALOG parameter is the page index (0 to 12); the page type
// comes from that slot's dialog id. Only one page exists at a time: its state is in wizardState.
INT_PTR CALLBACK pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Item `item` of the shown page's texts in the current language, exactly as stored (no
// variables expanded), or null when the script did not set it. The table keeps ownership.
const char* storedPageText(int item);

// True for the system commands no wizard window takes: size, maximize, the keyboard menu.
bool isSwallowedSystemCommand(WPARAM command);

// Keeps what the user entered on the page (its type's save step); the frame calls it before it
// runs the action groups of a page it leaves forwards.
void savePageValues(HWND page);

// The page procedure's text step: the frame title and button labels (wizard pages), then the
// page texts 1 to 19 with variables expanded, each only where the text exists in the current
// language. Also records the page index, type and parent. A page index outside 0..12 changes
// nothing.
void applyPageTexts(HWND page, int pageIndex);

// Labels the controls 1010 to 1013 after the button map's row for the page index, looking each
// control up in `first` and, when absent there, in `second` (may be null). Labels missing in
// the current language keep the control's text.
void applyButtonLabels(HWND first, HWND second, int pageIndex);

}  // namespace kelvara
