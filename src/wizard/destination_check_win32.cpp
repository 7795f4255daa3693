#include "wizard/destination_check_win32.h"

#include "resources/resource_ids.h"
#include "runtime/access_check.h"
#include "runtime/heap_string.h"
#include "runtime/message_box.h"
#include "runtime/path_helpers.h"
#include "runtime/text_case.h"
#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "wizard/dialog_helpers_win32.h"

namespace kelvara {
namespace {

constexpr int kMsgInvalidPath = 2;         // setupMessages
constexpr int kMsgNoDrive = 31;            // errorMessages
constexpr int kMsgNoFileRight = 32;        // errorMessages, the folder as %s
constexpr int kMsgNoFolderRight = 33;      // errorMessages, the ancestor as %s
constexpr int kMsgDriveAccessDenied = 34;  // errorMessages
constexpr int kMsgNotEnoughSpace = 39;     // errorMessages

bool refuse(HWND frame, int table, int item, const char* folder = nullptr) {
    messageBoxFormat(frame, setupState.setupCaption, text(table, item), folder, MB_ICONERROR);
    return false;
}

// Only a check that ran and said no refuses: one that cannot run counts as allowed.
bool accessDenied(const char* folder, DWORD right) {
    bool granted = true;
    return checkAccess(static_cast<HANDLE>(setupState.threadToken), folder, kObjectFile, right,
                       &granted) == 0 &&
           !granted;
}

}  // namespace

bool destinationAccepted(HWND frame, HWND page) {
    HeapString path(controlText(::GetDlgItem(page, IDC_PAGE_EDIT)));
    if (!path) return false;
    if (!isValidInstallPath(path.get())) return refuse(frame, kTableSetupMessages, kMsgInvalidPath);

    char* found = nullptr;
    const unsigned long error = nearestExistingAncestor(path.get(), &found);
    HeapString existing(found);
    if (!existing) {
        return refuse(frame, kTableErrorMessages,
                      error == ERROR_ACCESS_DENIED ? kMsgDriveAccessDenied : kMsgNoDrive);
    }
    char drive[3];
    driveOf(existing.get(), drive);
    if (freeSpace(drive) < setupState.packageHeader.requiredSpace) {
        return refuse(frame, kTableErrorMessages, kMsgNotEnoughSpace);
    }
    const bool folderExists = compareTextNoCase(existing.get(), path.get()) == 0;
    if (accessDenied(existing.get(), folderExists ? FILE_ADD_FILE : FILE_ADD_SUBDIRECTORY)) {
        return refuse(frame, kTableErrorMessages,
                      folderExists ? kMsgNoFileRight : kMsgNoFolderRight, existing.get());
    }
    return true;
}

}  // namespace kelvara
