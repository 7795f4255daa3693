// The answering mode: reports every window of the program and presses the asked-for buttons.
#pragma once
#include <windows.h>

#include "driver_options.h"

namespace ui_driver {

// Reports and answers until the program (with --follow: every process it started) has ended;
// 0, or 3 after ending it on timeout.
int runAnswering(const PROCESS_INFORMATION& process, Options& options);

}  // namespace ui_driver
