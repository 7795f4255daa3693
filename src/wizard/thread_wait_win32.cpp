#include "wizard/thread_wait_win32.h"

namespace kelvara {

void waitForThreadEnd(HANDLE thread) {
    if (!thread) return;
    for (;;) {
        const DWORD result =
            ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return;  // ended, or the handle is no thread
        // Looking at the queue delivers the messages sent to this thread.
        MSG message;
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void pumpUntilThreadEnds(HANDLE thread) {
    if (!thread) return;
    for (;;) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) ==
            WAIT_OBJECT_0) {
            return;
        }
    }
}

}  // namespace kelvara
