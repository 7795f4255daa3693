// The destination page: the installation folder, the space it needs and the space free on its
// drive, and Browse.
#include <cstring>

#include "formats/image_layout.h"
#include "formats/languages.h"
#include "formats/variables.h"
#include "install/install_folder.h"
#include "resources/resource_ids.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_case.h"
#include "runtime/text_encoding.h"
#include "wizard/destination_rules.h"
#include "wizard/dialog_helpers_win32.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/space_text.h"
#include "wizard/wizard_pages_win32.h"
#include "worker/status_text_win32.h"

namespace kelvara {
namespace {

constexpr int kBrowseTitleText = 4;     // page text: the title of the folder picker
constexpr int kAvailableSpaceText = 6;  // page text: the free-space label, naming %DISK%
constexpr int kRequiredSpaceValue = IDC_PAGE_TEXT_7;
constexpr int kAvailableSpaceValue = IDC_PAGE_TEXT_8;
constexpr int kAvailableSpaceLabel = IDC_PAGE_TEXT_6;
// The template's free-space label, for a script that gives none of its own.
constexpr const char* kAvailableSpaceTemplate = "Available free space on disc %DISK%:";
constexpr const char* kInstallPathVariable = "%InstallPath%";

char* editText(HWND page) {
    return controlText(::GetDlgItem(page, IDC_PAGE_EDIT));
}

// The free-space label with its drive: page text 6 as stored (no variables), "%DISK%" replaced
// by the folder's first character, upper-cased: its drive letter. The character is taken whole:
// in UTF-8 one that is not ASCII takes several bytes.
void showAvailableSpaceLabel(HWND page, const char* folder) {
    const char* label = storedPageText(kAvailableSpaceText);
    char letter[5] = {};
    std::memcpy(letter, folder, characterLength(folder));
    letter[0] = charUpper(letter[0]);
    HeapString shown(replaceAll(label ? label : kAvailableSpaceTemplate, "%DISK%", letter, false));
    if (shown) ::SetDlgItemTextA(page, kAvailableSpaceLabel, shown.get());
}

// True when the drive's root is there: a search of its entries succeeds, or finds that the root
// holds none (an empty drive is a drive too).
bool driveRootExists(char letter) {
    const char pattern[] = {letter, ':', '\\', '*', '\0'};
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(pattern, &found));
    return search || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

// EN_CHANGE: the free space follows the drive being typed, as long as it is a drive there is.
void folderTyped(HWND page) {
    HeapString typed(editText(page));
    if (!typed) return;
    textUpper(typed.get());
    const char letter = typed.get()[0];
    if (letter < 'A' || letter > 'Z' || !driveRootExists(letter)) return;
    char drive[3];
    driveOf(typed.get(), drive);
    showFreeSpace(drive, ::GetDlgItem(page, kAvailableSpaceValue));
    showAvailableSpaceLabel(page, typed.get());
    refreshControl(::GetDlgItem(page, kAvailableSpaceLabel), false);
    refreshControl(::GetDlgItem(page, kAvailableSpaceValue), false);
}

// Browse: the chosen folder gets the product's folder name unless it already ends with it.
void browse(HWND page) {
    HeapString typed(editText(page));
    if (!typed) return;
    const char* installPath = lookupVariable(kInstallPathVariable);
    char* start = nullptr;
    nearestExistingAncestor(typed.get(), &start);
    HeapString initial(start);
    const char* title = storedPageText(kBrowseTitleText);
    char picked[MAX_PATH] = {};
    if (!browseForFolder(page, title ? title : "", initial.get(), picked)) return;
    HeapString chosen(browsedDestination(picked, installPath));
    if (chosen) ::SetDlgItemTextA(page, IDC_PAGE_EDIT, chosen.get());
}

}  // namespace

void showSpaceFigures(HWND page, const char* folder) {
    char required[kSpaceTextSize];
    formatRequiredSpace(spaceNeeded(), required);
    ::SetDlgItemTextA(page, kRequiredSpaceValue, required);
    char drive[3];
    driveOf(folder, drive);
    showFreeSpace(drive, ::GetDlgItem(page, kAvailableSpaceValue));
    showAvailableSpaceLabel(page, folder);
}

void initialiseDestinationPage(HWND page) {
    HWND edit = ::GetDlgItem(page, IDC_PAGE_EDIT);
    ::SetFocus(edit);
    HeapString folder(strDupExtra(lookupVariable(kInstallPathVariable), 0));
    if (!folder) return;
    stripTrailingSeparator(folder.get());
    ::SetWindowTextA(edit, folder.get());
    showSpaceFigures(page, folder.get());
}

bool handleDestinationPage(HWND page, UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_COMMAND) return false;
    result = TRUE;
    if (LOWORD(wParam) == IDC_PAGE_EDIT && HIWORD(wParam) == EN_CHANGE) {
        folderTyped(page);
        return true;
    }
    if (LOWORD(wParam) == IDC_BROWSE) {
        browse(page);
        return true;
    }
    return false;
}

void saveDestinationPage(HWND page) {
    HeapString typed(editText(page));
    if (!typed || !typed.get()[0]) return;
    stripTrailingSeparator(typed.get());
    setVariable(kInstallPathVariable, typed.get());
}

}  // namespace kelvara
