// What the install thread shows on the Installing page: the progress bar, the status line with
// the path being worked on, and the phase caption. Without a page (a silent run) it shows
// nothing and only keeps the progress position.
#pragma once
#include <windows.h>

#include "formats/inflate_buffer.h"
#include "resources/resource_ids.h"

namespace kelvara {

// Control ids of the Installing page that the install thread drives.
constexpr int kInstallProgressBar = IDC_INSTALL_PROGRESS;  // range 0..100
constexpr int kInstallStatusLine = IDC_PAGE_TEXT_5;        // the path being worked on
constexpr int kInstallPhaseCaption = IDC_PAGE_TEXT_4;

class InstallDisplay : public ProgressSink {
  public:
    InstallDisplay() = default;
    InstallDisplay(const InstallDisplay&) = delete;
    InstallDisplay& operator=(const InstallDisplay&) = delete;
    ~InstallDisplay() { release(); }

    // Looks up the page's controls (page may be null: nothing is shown).
    void attach(HWND page);
    // Takes the status line's device context with its font, and its width, for shortening
    // paths to fit.
    void prepareStatusLine();
    void release();

    HWND page() const { return page_; }
    int position() override { return position_; }
    void setPosition(int position) override;
    // The path, shortened with an ellipsis to the status line's width.
    void showPath(const char* path);
    void clearStatus();
    void setCaption(const char* text);

  private:
    HWND page_ = nullptr;
    HWND progress_ = nullptr;
    HWND status_ = nullptr;
    HWND caption_ = nullptr;
    HDC statusDc_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;  // the context's own font while the line's is selected
    int statusWidth_ = 0;
    int position_ = 0;
};

}  // namespace kelvara
