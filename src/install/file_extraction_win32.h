// The files phase: the file groups of the mapped package, their folders and files, written with
// the packaged times and attributes, existing targets replaced by the group's rules, files in
// use deferred to the next restart.
#pragma once
#include "install/install_run_win32.h"

namespace kelvara {

// Size of the buffer that holds one piece of an inflated file (InstallRun::inflateBuffer).
constexpr unsigned kInflatePieceSize = 256 * 1024;

// Processes every group in package order: proceed after the last group; stop on a give-up
// answer, damaged groups or an exhausted heap, cancelled at a checkpoint that took a cancel.
// After stop or cancelled the caller rolls back.
PhaseOutcome extractFiles(InstallRun& run);

}  // namespace kelvara
