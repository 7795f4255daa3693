// Moving or deleting files at the next restart: the system's delayed move where it exists,
// otherwise a RunOnce command (long target names) or a [Rename] line in wininit.ini.
#pragma once

namespace kelvara {

// Where a request to act at restart was recorded.
enum class RestartRoute { none, delayedMove, runOnce, wininit };

// The fallback a target takes on a system without a delayed move: RunOnce for a long file name,
// wininit.ini for a short one and for a deletion (null target).
RestartRoute fallbackRoute(const char* target);

// Schedules the move of source onto target at the next restart, or the deletion of source when
// target is null. Returns the route that recorded it, or none when every route failed; nothing
// is reported to the user.
RestartRoute scheduleAtRestart(const char* source, const char* target);

// Writes the RunOnce command that moves source onto target (HKLM ...\CurrentVersion\RunOnce,
// value named by source). False when the registry refuses.
bool addRunOnceMove(const char* source, const char* target);

// Adds "target=source" (short path forms; a null target is NUL) to the [Rename] section of the
// wininit.ini at iniPath, creating the file when it is missing. False when the file cannot be
// opened, read or written, or the heap is exhausted; the file is then left as it was.
bool addWininitLine(const char* iniPath, const char* source, const char* target);

// The same for the Windows folder's wininit.ini.
bool addWininitLine(const char* source, const char* target);

}  // namespace kelvara
