// The Yes / Yes To All / No confirmation dialog (template IDD_CONFIRMATION), used for the
// shared-file question of the uninstaller (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// Answers of confirmationDialog.
constexpr int kConfirmYes = 1;
constexpr int kConfirmYesToAll = 2;
constexpr int kConfirmNo = 3;  // also Esc and the close box

// The dialog's creation parameter: texts the caller owns, kept until the dialog ends.
struct ConfirmationRequest {
    const char* caption;
    const char* question;
};

// Shows the dialog modally over owner (may be null) from the running program's resources and
// returns kConfirmYes, kConfirmYesToAll or kConfirmNo; 0 or -1 when the dialog could not be
// shown (as DialogBoxParamA reports it; the last-error value then says why).
INT_PTR confirmationDialog(HWND owner, const ConfirmationRequest& request);

}  // namespace kelvara
