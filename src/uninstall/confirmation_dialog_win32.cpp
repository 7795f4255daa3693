// The confirmation dialog's procedure.
#include "uninstall/confirmation_dialog_win32.h"

#include "formats/uninstaller_texts.h"
#include "resources/resource_ids.h"

namespace kelvara {
namespace {

INT_PTR CALLBACK confirmationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* request = reinterpret_cast<const ConfirmationRequest*>(lParam);
            ::SetWindowTextA(dialog, request->caption);
            ::SetDlgItemTextA(dialog, IDC_CONFIRM_TEXT, request->question);
            ::SetDlgItemTextA(dialog, IDOK, uninstallerText(kUnYes));
            ::SetDlgItemTextA(dialog, IDC_CONFIRM_YES_TO_ALL, uninstallerText(kUnYesToAll));
            ::SetDlgItemTextA(dialog, IDCANCEL, uninstallerText(kUnNo));
            // The system's shared question icon: it belongs to the system and is never
            // destroyed here (destroying a shared icon would take it from every later dialog).
            HICON icon = ::LoadIconA(nullptr, IDI_QUESTION);
            ::SendDlgItemMessageA(dialog, IDC_CONFIRM_ICON, STM_SETIMAGE, IMAGE_ICON,
                                  reinterpret_cast<LPARAM>(icon));
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    ::EndDialog(dialog, kConfirmYes);
                    break;
                case IDC_CONFIRM_YES_TO_ALL:
                    ::EndDialog(dialog, kConfirmYesToAll);
                    break;
                case IDCANCEL:  // Esc and the close box arrive as IDCANCEL
                    ::EndDialog(dialog, kConfirmNo);
                    break;
                default:
                    break;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR confirmationDialog(HWND owner, const ConfirmationRequest& request) {
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIRMATION), owner,
                             confirmationProc, reinterpret_cast<LPARAM>(&request));
}

}  // namespace kelvara
