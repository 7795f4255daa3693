#include "wizard/passive_window_win32.h"

#include "environment/run_environment.h"
#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "resources/resource_ids.h"
#include "runtime/heap_string.h"

namespace kelvara {
namespace {

constexpr int kInstallingTitle = 1;  // the Installing page's heading

INT_PTR CALLBACK passiveProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

}  // namespace

HWND openPassiveWindow() {
    HINSTANCE module = static_cast<HINSTANCE>(
        runEnvironment.moduleHandle ? runEnvironment.moduleHandle : ::GetModuleHandleA(nullptr));
    HWND window = ::CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_PASSIVE_PROGRESS), nullptr,
                                       passiveProcedure, 0);
    if (!window) return nullptr;
    ::SetWindowTextA(window, setupState.setupCaption.get());
    HeapString title(expandVariables(text(kPageInstalling, kInstallingTitle)));
    ::SetDlgItemTextA(window, IDC_PAGE_TITLE, title ? title.get() : "");
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    return window;
}

}  // namespace kelvara
