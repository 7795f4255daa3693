#include "install/install_display_win32.h"

#include <commctrl.h>

#include "environment/run_environment.h"
#include "runtime/heap_string.h"
#include "worker/status_text_win32.h"

namespace kelvara {

void InstallDisplay::attach(HWND page) {
    page_ = page;
    if (!page) return;
    progress_ = ::GetDlgItem(page, kInstallProgressBar);
    status_ = ::GetDlgItem(page, kInstallStatusLine);
    caption_ = ::GetDlgItem(page, kInstallPhaseCaption);
}

void InstallDisplay::prepareStatusLine() {
    if (!status_) return;
    statusDc_ = ::GetDC(status_);
    // Measured in the font the line is drawn in: the device context comes with the system
    // font, and a path that fits in that one may be cut off on the page.
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(status_, WM_GETFONT, 0, 0));
    if (statusDc_ && font) oldFont_ = ::SelectObject(statusDc_, font);
    RECT r = {};
    ::GetWindowRect(status_, &r);
    statusWidth_ = r.right - r.left;
}

void InstallDisplay::release() {
    if (statusDc_ && oldFont_) ::SelectObject(statusDc_, oldFont_);
    oldFont_ = nullptr;
    if (statusDc_) ::ReleaseDC(status_, statusDc_);
    statusDc_ = nullptr;
}

void InstallDisplay::setPosition(int position) {
    position_ = position;
    if (progress_) ::SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void InstallDisplay::showPath(const char* path) {
    if (!status_ || (runEnvironment.silentMode && !runEnvironment.deployment.passive)) return;
    // The copy has room for the ellipsis the shortening may add.
    HeapString shown(strDupExtra(path, 4));
    if (!shown) return;
    if (statusDc_) {
        RECT r = {0, 0, statusWidth_, 0};
        ::DrawTextExA(statusDc_, shown.get(), -1, &r,
                      DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    }
    setStatusText(page_, status_, shown.get());
}

void InstallDisplay::clearStatus() {
    setStatusText(page_, status_, "");
}

void InstallDisplay::setCaption(const char* text) {
    setStatusText(page_, caption_, text);
}

}  // namespace kelvara
