#include "setup/background_palette.h"

namespace kelvara {

void blendGradient(std::uint32_t from, std::uint32_t to, int steps, std::uint32_t* out) {
    for (int i = 0; i < steps; ++i) {
        std::uint32_t colour = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            int a = static_cast<int>((from >> shift) & 0xFF);
            int b = static_cast<int>((to >> shift) & 0xFF);
            int channel = a + (b - a) * i / (steps - 1);
            colour |= static_cast<std::uint32_t>(channel) << shift;
        }
        out[i] = colour;
    }
}

}  // namespace kelvara
