// The side of a 64-bit Windows the run works on. A 32-bit process there sees the 32-bit side
// unless it asks: its registry keys open in the 32-bit view, and the system folder (System32)
// is redirected to SysWOW64. A 64-bit product is installed on the native side: its keys in the
// 64-bit view, its files without the redirection. Both are no-ops on a system without them.
#pragma once
#include <windows.h>

namespace kelvara {

// Registry views as the install log and the registry records name them.
constexpr int kViewProcess = 0;  // the process's own: 32-bit for the engine
constexpr int kView32 = 32;
constexpr int kView64 = 64;

// Called once the detection has found a 64-bit Windows: only there do views exist. Elsewhere
// every view is the one there is, and the access bits stay off (older systems refuse them).
void useRegistryViews();

// The view of the product's keys: every key the run opens or makes for the product is opened
// with the access bits of this view. Set once the product is known (its whole run), and for one
// record or log line at a time by RegistryViewScope.
int registryView();
void setRegistryView(int view);
// KEY_WOW64_64KEY, KEY_WOW64_32KEY or nothing for the current view.
REGSAM registryViewAccess();

// The view of one record or log line for as long as the scope lives.
class RegistryViewScope {
  public:
    explicit RegistryViewScope(int view) : saved_(registryView()) { setRegistryView(view); }
    ~RegistryViewScope() { setRegistryView(saved_); }
    RegistryViewScope(const RegistryViewScope&) = delete;
    RegistryViewScope& operator=(const RegistryViewScope&) = delete;

  private:
    int saved_;
};

// Deletes the empty key root\path in the current view (RegDeleteKeyEx where a view is set).
LONG deleteKeyInView(HKEY root, const char* path);

// While it lives, the calling thread's file operations see the native System32 (no redirection)
// when `native` is true and the system redirects. Library loads, the shell and COM need the
// redirection; they pause it with FileRedirectionPause.
class NativeFileView {
  public:
    explicit NativeFileView(bool native);
    ~NativeFileView();
    NativeFileView(const NativeFileView&) = delete;
    NativeFileView& operator=(const NativeFileView&) = delete;

  private:
    friend class FileRedirectionPause;
    friend bool nativeFileViewActive();
    void* previous_ = nullptr;
    bool active_ = false;
    NativeFileView* outer_ = nullptr;
    DWORD thread_ = 0;
    bool paused_ = false;  // a FileRedirectionPause has the redirection back on
};

// True when the calling thread works in a NativeFileView that turned the redirection off (and
// no FileRedirectionPause has it back on).
bool nativeFileViewActive();

// Where the calling thread works in a NativeFileView, its redirection is back on for as long as
// the pause lives: a 32-bit library loaded from the native System32 would not run.
class FileRedirectionPause {
  public:
    FileRedirectionPause();
    ~FileRedirectionPause();
    FileRedirectionPause(const FileRedirectionPause&) = delete;
    FileRedirectionPause& operator=(const FileRedirectionPause&) = delete;

  private:
    NativeFileView* paused_ = nullptr;  // the outermost view, whose earlier state is back
    NativeFileView* marked_ = nullptr;  // the innermost one, marked as paused
};

}  // namespace kelvara
