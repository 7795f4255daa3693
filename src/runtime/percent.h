// The share of a whole in per cent, as the progress bars show it.
#pragma once

#include <cstdint>

namespace kelvara {

// part * 100 / total rounded down, in 32 bits as the bars have always taken it (the product
// itself never wraps, so a package past 42 MB does not send the bar back). Computed with 32-bit
// operations only: a 64-bit division would bring the C library's helper for it into the stub.
// `total` must not be zero.
constexpr std::uint32_t percentOf(std::uint32_t part, std::uint32_t total) {
    // part = whole * total + rest; 100 * rest / total is built over the bits of 100 (Horner's
    // scheme), the remainder kept below total without ever exceeding 32 bits.
    const std::uint32_t whole = part / total;
    const std::uint32_t rest = part % total;
    std::uint32_t quotient = 0;
    std::uint32_t remainder = 0;
    for (int bit = 6; bit >= 0; --bit) {
        quotient *= 2;
        if (remainder >= total - remainder) {
            remainder -= total - remainder;
            ++quotient;
        } else {
            remainder *= 2;
        }
        if ((100u >> bit) & 1u) {
            if (remainder >= total - rest) {
                remainder -= total - rest;
                ++quotient;
            } else {
                remainder += rest;
            }
        }
    }
    return whole * 100u + quotient;
}

}  // namespace kelvara
