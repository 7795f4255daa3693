#include "wizard/destination_check_win32.h"

#include "install/install_folder_win32.h"
#include "resources/resource_ids.h"
#include "runtime/heap_string.h"
#include "wizard/dialog_helpers_win32.h"

namespace kelvara {

bool destinationAccepted(HWND frame, HWND page) {
    HeapString path(controlText(::GetDlgItem(page, IDC_PAGE_EDIT)));
    return path && installFolderAccepted(frame, path.get());
}

}  // namespace kelvara
