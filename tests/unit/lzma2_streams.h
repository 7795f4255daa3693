// LZMA2 streams for tests that have no encoder (the cross-compiled ones): the content in
// uncompressed chunks, which any LZMA2 decoder takes, ended by the end marker.
#pragma once
#include <cstddef>
#include <vector>

namespace kelvara::testing {

// Chunks of at most 64 KiB: control byte 1 (uncompressed, dictionary reset) for the first and 2
// (uncompressed) for the others, the chunk's size minus one (2 bytes, big-endian), its bytes;
// then the end marker 0.
inline std::vector<unsigned char> storedLzma2(const std::vector<unsigned char>& content) {
    std::vector<unsigned char> stream;
    for (std::size_t at = 0; at < content.size();) {
        const std::size_t n = content.size() - at < 65536 ? content.size() - at : 65536;
        stream.push_back(at == 0 ? 1 : 2);
        stream.push_back(static_cast<unsigned char>((n - 1) >> 8));
        stream.push_back(static_cast<unsigned char>(n - 1));
        stream.insert(stream.end(), content.begin() + static_cast<std::ptrdiff_t>(at),
                      content.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    }
    stream.push_back(0);
    return stream;
}

}  // namespace kelvara::testing
