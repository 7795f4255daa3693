// The entry sequence of a run: start-up, the choice of mode, clean-up and the end of the process.
#pragma once

namespace kelvara {

// The two builds of the engine, made from the same code. The classic edition's texts are in the
// system's ANSI code page; the Unicode edition's manifest declares UTF-8 as its code page, which
// Windows 10 version 1903 and later honour, so that every text and name may be in any script.
enum class Edition { classic, unicode };

// Runs the engine as installer or uninstaller and ends the process: the uninstaller with exit
// code 0, the installer with the code of its outcome (setup/exit_codes.h). An edition that
// cannot run here says so and ends with the installer's failure code.
[[noreturn]] void runSetup(Edition edition);

}  // namespace kelvara
