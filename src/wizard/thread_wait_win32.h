// Waiting on the user interface thread for a worker that may still send it messages.
#pragma once
#include <windows.h>

namespace kelvara {

// Waits without limit until the thread has ended, handling the messages other threads send to
// this thread's windows meanwhile (a worker that sets a control's text waits for this thread).
// Posted messages stay queued. Returns at once for a null handle.
void waitForThreadEnd(HANDLE thread);

// Waits until the thread has ended, handling every message of this thread's windows meanwhile
// (posted ones too), for a window that has no message loop of its own to paint and to answer
// the worker. Returns at once for a null handle.
void pumpUntilThreadEnds(HANDLE thread);

}  // namespace kelvara
