// The pages that only show texts: language selection, welcome, licence and readme.
#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "resources/resource_ids.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/wizard_pages_win32.h"
#include "wizard/wizard_state.h"

namespace kelvara {
namespace {

constexpr int kCompactWelcomeTitle = 7;  // page text shown as the compact layout's title
constexpr int kLanguageOwnName = 4;      // the Language page's text naming the language itself

// A language is listed by its own name, as the script gives it in that language, else by the
// system's English name; one the system gives no name for by its number.
void addLanguage(HWND combo, int language) {
    const StringList* texts = textList(kPageLanguage, language);
    const char* name = texts ? texts->get(kLanguageOwnName) : nullptr;
    if (!name || !*name) name = runEnvironment.languageNames.get(language);
    char number[16];
    if (!name || !*name) {
        ::wsprintfA(number, "%d", language);
        name = number;
    }
    const LRESULT index = ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    if (index >= 0) ::SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), language);
}

void setRichText(HWND page, const char* text) {
    if (text) ::SetDlgItemTextA(page, IDC_RICH_TEXT, text);
}

}  // namespace

void initialiseLanguagePage(HWND page) {
    SetupState& s = setupState;
    HWND combo = ::GetDlgItem(page, IDC_PAGE_COMBO);
    if (!combo) return;
    ::SetFocus(combo);
    for (int i = 0; i < s.languageCount; ++i) {
        if (languageHasWizardTexts(s.languageList[i])) addLanguage(combo, s.languageList[i]);
    }
    // The combo box sorts the names: find where the current language went.
    const auto entries = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < entries; ++i) {
        const LRESULT language = ::SendMessageA(combo, CB_GETITEMDATA, i, 0);
        if (LOWORD(language) == s.currentLanguage) wizardState.languageSelection = i;
    }
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(wizardState.languageSelection), 0);
}

bool handleLanguagePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message != WM_COMMAND || LOWORD(wParam) != IDC_PAGE_COMBO ||
        HIWORD(wParam) != CBN_SELCHANGE) {
        return false;
    }
    result = TRUE;
    const auto selection =
        static_cast<int>(::SendMessageA(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0));
    if (selection < 0 || selection == wizardState.languageSelection) return true;
    wizardState.languageSelection = selection;
    const LRESULT language =
        ::SendMessageA(reinterpret_cast<HWND>(lParam), CB_GETITEMDATA, selection, 0);
    selectLanguage(LOWORD(language));
    ::SendMessageA(page, kMsgReapplyTexts, 0, wizardState.pageIndex);
    return true;
}

void initialiseWelcomePage(HWND page) {
    if (setupState.dialogSetOffset != kCompactLayout) return;
    const char* title = storedPageText(kCompactWelcomeTitle);
    if (title) ::SetDlgItemTextA(page, IDC_PAGE_TITLE, title);
}

void initialiseLicensePage(HWND page) {
    setRichText(page, setupState.licenseText.get());
}

void initialiseReadmePage(HWND page) {
    setRichText(page, setupState.readmeText.get());
}

}  // namespace kelvara
