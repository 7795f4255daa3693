#include <gtest/gtest.h>

#include "setup/background_palette.h"

using namespace kelvara;

TEST(BackgroundPalette, BlendRunsFromFirstToSecondColourWithTruncation) {
    std::uint32_t out[200];
    // Red falls 255 -> 0, green rises 0 -> 100, blue stays 7.
    blendGradient(0x0700FF, 0x076400, 200, out);
    EXPECT_EQ(out[0], 0x0700FFu);
    EXPECT_EQ(out[199], 0x076400u);
    // Step 1: red 255 + (-255 * 1) / 199 = 255 - 1 (truncated toward zero), green 100 / 199 = 0.
    EXPECT_EQ(out[1], 0x0700FEu);
    // Step 100: red 255 - 25500/199 = 255 - 128 = 127; green 10000 / 199 = 50.
    EXPECT_EQ(out[100], 0x07327Fu);
    for (int i = 1; i < 200; ++i) {
        EXPECT_LE(out[i] & 0xFF, out[i - 1] & 0xFF) << "red never rises, step " << i;
        EXPECT_GE((out[i] >> 8) & 0xFF, (out[i - 1] >> 8) & 0xFF) << "green never falls";
    }
}
