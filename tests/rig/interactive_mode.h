// The interactive mode: one command per line of standard input, nothing answered by itself.
#pragma once
#include <windows.h>

namespace ui_driver {

// Carries out commands until the end of input; 0 when every process had ended by then, else 3
// (the processes still running are ended).
int runInteractive(const PROCESS_INFORMATION& process);

}  // namespace ui_driver
