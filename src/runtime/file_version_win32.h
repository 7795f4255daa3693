// File versions read from files on disk, and the system's reference counts of shared files.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/version_text.h"

namespace kelvara {

// Room for the longest version text, "65535.65535.65535.65535", and its terminator.
constexpr std::size_t kVersionTextSize = 24;

// The version in the file's version resource (its fixed file information). With checkBinary,
// only 32-bit or 64-bit Windows programs and libraries are read (the system's binary type test
// rejects every library, so libraries are recognised by their image header). True when a
// version was found; otherwise false and *version is (0, 0). Nothing is reported.
bool versionFromResource(const char* path, VersionPair* version, bool checkBinary);

// Releases the version library, which the first version read loaded (clean-up).
void releaseVersionFunctions();

// The version a library reports through its DllGetVersion function, else the one in its version
// resource. With checkBinary the function is tried only for a 32-bit or 64-bit program named
// .dll, .ocx or .tlb (any case), and the resource only for such programs. Loading the library
// runs its initialisation. False and (0, 0) when neither yields a version.
bool componentVersion(const char* path, VersionPair* version, bool checkBinary);

// componentVersion as text ("%u.%u.%u.%u") in text[size] (cut to fit, always terminated when
// size > 0). False and an empty text when no version is found.
bool componentVersionText(const char* path, char* text, std::size_t size, bool checkBinary);

// The shared count recorded for path under the SharedDLLs key of HKEY_LOCAL_MACHINE
// (SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs): 0 when there is none.
std::uint32_t sharedCount(const char* path);

// Adds one to the shared count of path, or with decrement takes one away (never below 0; at 0
// the value is deleted, the key stays). The value is named by path exactly as given. Returns
// the new count; a registry failure is not reported and the computed count is still returned.
std::uint32_t changeSharedCount(const char* path, bool decrement);

}  // namespace kelvara
