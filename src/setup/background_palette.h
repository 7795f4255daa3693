// The colours of the background gradient: portable, so the blend is tested on every build.
#pragma once
#include <cstdint>

namespace kelvara {

// Fills out[0..steps-1] with the linear blend from `from` to `to` (red in the low byte): each
// channel is from + (to - from) * i / (steps - 1), divided with truncation. steps >= 2.
void blendGradient(std::uint32_t from, std::uint32_t to, int steps, std::uint32_t* out);

}  // namespace kelvara
