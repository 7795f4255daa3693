#include "kelvara-build/image/checksum.h"

#include <zlib.h>

#include <algorithm>

namespace kelvara::build {

std::uint32_t adler32Of(const unsigned char* data, std::size_t size) {
    uLong sum = adler32(0L, Z_NULL, 0);
    while (size > 0) {  // adler32 takes at most uInt bytes at a time
        auto chunk = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
        sum = adler32(sum, data, chunk);
        data += chunk;
        size -= chunk;
    }
    return static_cast<std::uint32_t>(sum);
}

}  // namespace kelvara::build
