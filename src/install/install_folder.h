// What an installation folder must offer: room on its drive. Portable.
#pragma once
#include <cstdint>

namespace kelvara {

// The room the installation takes on its folder's drive: its files and, with an uninstaller,
// the engine's copy of itself and an allowance for the install log (each is written whole
// beside the earlier one before it replaces it).
std::uint64_t spaceNeeded();

}  // namespace kelvara
