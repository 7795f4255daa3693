// The entry sequence of a run: start-up, the choice of mode and clean-up.
#pragma once

namespace kelvara {

// The two builds of the engine, made from the same code. The classic edition's texts are in the
// system's ANSI code page; the Unicode edition's manifest declares UTF-8 as its code page, which
// Windows 10 version 1903 and later honour, so that every text and name may be in any script.
enum class Edition { classic, unicode };

// Runs the engine as installer or uninstaller, cleans up (the private heap included) and returns
// the exit code of the outcome (setup/exit_codes.h), for the entry point to end the process with.
// An edition that cannot run here says so and returns the installer's failure code.
int runSetup(Edition edition);

}  // namespace kelvara
