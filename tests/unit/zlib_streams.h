// Test data for the inflaters: deterministic bytes, and zlib streams made the way setup images
// carry them.
#pragma once
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace kelvara::testing {

// Deterministic, moderately compressible bytes (letters from a small alphabet).
inline std::vector<unsigned char> sampleBytes(std::size_t n, std::uint32_t seed = 12345) {
    std::vector<unsigned char> bytes(n);
    std::uint32_t x = seed;
    for (std::size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = static_cast<unsigned char>((x >> 16) % 23 + 'a');
    }
    return bytes;
}

// Header, deflate data and a sync flush (the empty stored block 00 00 FF FF), with neither a
// final block nor the Adler-32 trailer.
inline std::vector<unsigned char> syncFlushedStream(const std::vector<unsigned char>& data,
                                                    int level = 9) {
    z_stream z = {};
    EXPECT_EQ(deflateInit(&z, level), Z_OK);
    std::vector<unsigned char> out(deflateBound(&z, data.size()) + 64);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_SYNC_FLUSH), Z_OK);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

}  // namespace kelvara::testing
