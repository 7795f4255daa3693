// The files phase: the file groups of the mapped package, their folders and files, written with
// the packaged times and attributes, existing targets replaced by the group's rules, files in
// use deferred to the next restart.
#pragma once

namespace kelvara {

struct InstallRun;

// Size of the buffer that holds one piece of an inflated file (InstallRun::inflateBuffer).
constexpr unsigned kInflatePieceSize = 256 * 1024;

// Processes every group in package order. True after the last group; false when the run ends
// (a give-up answer, a cancel at a checkpoint, or damaged groups): the caller rolls back.
bool extractFiles(InstallRun& run);

}  // namespace kelvara
