#include "install/install_folder_win32.h"

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/message_catalogue.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "install/install_folder.h"
#include "runtime/access_check_win32.h"
#include "runtime/drive_space_win32.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/system_view_win32.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

template <typename Message>
bool refuse(HWND frame, Message item, const char* folder = nullptr) {
    messageBoxFormat(frame, setupState.setupCaption.get(), text(item), folder, MB_ICONERROR);
    return false;
}

// Only a check that ran and said no refuses: one that cannot run counts as allowed.
bool accessDenied(const char* folder, DWORD right) {
    bool granted = true;
    return checkAccess(runEnvironment.threadToken.get(), folder, kObjectFile, right, &granted) ==
               0 &&
           !granted;
}

}  // namespace

bool installFolderAccepted(HWND frame, const char* path) {
    if (!isValidInstallPath(path)) return refuse(frame, kMsgInvalidPath);

    // A 64-bit product's folder is looked at where its files will go, on the native side; the
    // questions are asked with the redirection back on.
    char* found = nullptr;
    unsigned long error = 0;
    bool folderExists = false;
    bool denied = false;
    {
        NativeFileView nativeFiles(runEnvironment.nativeSide);
        error = nearestExistingAncestor(path, &found);
        if (found) {
            folderExists = compareTextNoCase(found, path) == 0;
            denied = accessDenied(found, folderExists ? FILE_ADD_FILE : FILE_ADD_SUBDIRECTORY);
        }
    }
    HeapString existing(found);
    if (!existing) {
        return refuse(frame,
                      error == ERROR_ACCESS_DENIED ? kMsgDestinationDriveDenied : kMsgNoDrive);
    }
    char drive[3];
    driveOf(existing.get(), drive);
    if (freeSpace(drive) < spaceNeeded()) {
        return refuse(frame, kMsgNotEnoughSpace);
    }
    if (denied) {
        return refuse(frame, folderExists ? kMsgNoFileRight : kMsgNoFolderRight, existing.get());
    }
    return true;
}

}  // namespace kelvara
