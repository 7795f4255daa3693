#include "runtime/system_view_win32.h"

#include "runtime/system_libraries_win32.h"

namespace kelvara {
namespace {

bool viewsExist = false;
int currentView = kViewProcess;

using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
using DisableRedirectionFn = BOOL(WINAPI*)(PVOID*);
using RevertRedirectionFn = BOOL(WINAPI*)(PVOID);

// Looked up where they are first needed: systems before XP x64 have none of them.
struct RedirectionFunctions {
    bool looked = false;
    DisableRedirectionFn disable = nullptr;
    RevertRedirectionFn revert = nullptr;
};
RedirectionFunctions redirection;

// True when the system redirects and both functions are there.
bool redirectionFunctions() {
    if (!redirection.looked) {
        redirection.disable = loadedLibraryFunction<DisableRedirectionFn>(
            "kernel32.dll", "Wow64DisableWow64FsRedirection");
        redirection.revert = loadedLibraryFunction<RevertRedirectionFn>(
            "kernel32.dll", "Wow64RevertWow64FsRedirection");
        redirection.looked = true;
    }
    return redirection.disable && redirection.revert;
}

// The innermost native view. One thread at a time works in views (the install thread, the
// rollback's thread while the install thread waits for it, the uninstaller's); a view or pause
// of another thread never takes one of them for its own.
NativeFileView* innermostView = nullptr;

}  // namespace

void useRegistryViews() {
    viewsExist = true;
}

int registryView() {
    return currentView;
}

void setRegistryView(int view) {
    currentView = view;
}

REGSAM registryViewAccess() {
    if (!viewsExist) return 0;
    if (currentView == kView64) return KEY_WOW64_64KEY;
    if (currentView == kView32) return KEY_WOW64_32KEY;
    return 0;
}

LONG deleteKeyInView(HKEY root, const char* path) {
    const REGSAM view = registryViewAccess();
    if (view) {
        auto deleteKeyEx = loadedLibraryFunction<DeleteKeyExFn>("advapi32.dll", "RegDeleteKeyExA");
        if (deleteKeyEx) return deleteKeyEx(root, path, view, 0);
    }
    return ::RegDeleteKeyA(root, path);
}

NativeFileView::NativeFileView(bool native) {
    if (!native || !redirectionFunctions()) return;
    active_ = redirection.disable(&previous_) != FALSE;
    if (!active_) return;
    outer_ = innermostView;
    thread_ = ::GetCurrentThreadId();
    innermostView = this;
}

NativeFileView::~NativeFileView() {
    if (!active_) return;
    redirection.revert(previous_);
    innermostView = outer_;
}

bool nativeFileViewActive() {
    return innermostView && innermostView->thread_ == ::GetCurrentThreadId() &&
           !innermostView->paused_;
}

FileRedirectionPause::FileRedirectionPause() {
    NativeFileView* view = innermostView;
    // A pause inside a pause leaves it to the outer one.
    if (!view || view->thread_ != ::GetCurrentThreadId() || view->paused_) return;
    // The state before the outermost view is the redirection the thread had.
    while (view->outer_ && view->outer_->thread_ == view->thread_) view = view->outer_;
    if (redirection.revert(view->previous_)) {
        paused_ = view;
        marked_ = innermostView;
        marked_->paused_ = true;
    }
}

FileRedirectionPause::~FileRedirectionPause() {
    // The views keep their own earlier states; the value this returns is not needed.
    void* ignored = nullptr;
    if (!paused_) return;
    redirection.disable(&ignored);
    marked_->paused_ = false;
}

}  // namespace kelvara
