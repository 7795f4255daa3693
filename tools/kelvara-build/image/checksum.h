// The Adler-32 checksum of the image and of every packaged file, as zlib's adler32 computes it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kelvara::build {

// Adler-32 of `size` bytes, however many (zlib takes at most a uInt at a time).
std::uint32_t adler32Of(const unsigned char* data, std::size_t size);

}  // namespace kelvara::build
