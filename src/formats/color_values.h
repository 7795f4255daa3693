// Colour values as the script and the install log store them: red in the low byte, then green
// and blue; a high bit picks one of the system's colours instead. Portable.
#pragma once
#include <cstdint>

namespace kelvara {

constexpr std::uint32_t kColorSystemWindow = 0x02000000;
constexpr std::uint32_t kColorSystemButtonFace = 0x01000000;
constexpr std::uint32_t kDefaultAccentColor = 0x00C88C00;  // red 0, green 140, blue 200

}  // namespace kelvara
