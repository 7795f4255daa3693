// The entry sequence of a run: start-up, the choice of mode, clean-up and the end of the process.
#pragma once

namespace kelvara {

// Runs the engine as installer or uninstaller and ends the process: the uninstaller with exit
// code 0, the installer with the code of its outcome (setup/exit_codes.h).
[[noreturn]] void runSetup();

}  // namespace kelvara
