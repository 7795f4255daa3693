// The entry sequence of a run: start-up, the choice of mode, clean-up and the end of the process.
#pragma once

namespace kelvara {

// Runs the engine as installer or uninstaller and ends the process with exit code 0.
[[noreturn]] void runSetup();

}  // namespace kelvara
