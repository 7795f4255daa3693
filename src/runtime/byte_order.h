// Little-endian integers in byte buffers, as every file format of the engine stores them.
// The caller makes sure the bytes are there.
#pragma once
#include <cstdint>

namespace kelvara {

inline std::uint16_t readLe16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t readLe32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

inline std::uint64_t readLe64(const unsigned char* p) {
    return std::uint64_t(readLe32(p)) | (std::uint64_t(readLe32(p + 4)) << 32);
}

inline void writeLe16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

inline void writeLe32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

inline void writeLe64(unsigned char* p, std::uint64_t v) {
    writeLe32(p, static_cast<std::uint32_t>(v));
    writeLe32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

}  // namespace kelvara
