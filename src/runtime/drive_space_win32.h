// The free space of a drive (Windows only).
#pragma once
#include <cstdint>

namespace kelvara {

// Bytes free for the caller on the drive named by `drive` (a letter and a colon); 0 when the
// drive cannot be asked.
std::uint64_t freeSpace(const char* drive);

// The drive text ("C:") of a path's first character.
void driveOf(const char* path, char (&drive)[3]);

}  // namespace kelvara
