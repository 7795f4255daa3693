// Finding the running programs that hold files a run is about to replace or remove: the
// Restart Manager where the system has one that answers, and otherwise our own search of the
// processes' program files and loaded modules (Windows before Vista, and systems whose Restart
// Manager lists nothing).
#pragma once

#include <cstdint>

#include "worker/closing_rules.h"

namespace kelvara {

// Fills `found` (emptied first) with the programs that hold any file of the sealed set, this
// process left out, each named, with its program file and, where it can be read, the command
// line that starts it again. Each is written to the run log. Returns their count; nothing found
// when the set is empty or the system lets no process be seen.
int findRunningPrograms(const PathSet& files, RunningPrograms& found);

// The creation time of a process (0: unknown), which tells it from a later one of the same id.
std::uint64_t processStartTime(void* process);

// True while the program still runs (the same process: its id and start time).
bool programRuns(const RunningProgram& program);

}  // namespace kelvara
