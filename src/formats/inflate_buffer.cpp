#include "formats/inflate_buffer.h"

#include <zlib.h>

namespace kelvara {
namespace {

constexpr std::size_t kInflateChunk = 4096;
// The zlib version the engine asks for; any 1.x library accepts it.
constexpr const char* kRequestedZlibVersion = "1.1.3";

}  // namespace

long inflateBuffer(const unsigned char* src, std::size_t srcLen, unsigned char* dst,
                   std::size_t dstLen, ProgressSink* progress, std::uint32_t progressTotal) {
    z_stream stream = {};
    stream.next_out = dst;
    stream.avail_out = static_cast<uInt>(dstLen);
    if (inflateInit_(&stream, kRequestedZlibVersion, static_cast<int>(sizeof stream)) != Z_OK) {
        return -1;
    }
    const std::uint32_t base = progress ? static_cast<std::uint32_t>(progress->position()) : 0;
    std::uint32_t lastSent = base;
    std::size_t remaining = srcLen;
    const unsigned char* cursor = src;
    for (;;) {
        std::size_t chunk = remaining < kInflateChunk ? remaining : kInflateChunk;
        stream.next_in = const_cast<Bytef*>(cursor);
        stream.avail_in = static_cast<uInt>(chunk);
        int result = inflate(&stream, remaining == 0 ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_NEED_DICT || result == Z_DATA_ERROR || result == Z_STREAM_ERROR) break;
        if (remaining == 0) break;
        cursor += chunk;
        remaining -= chunk;
        if (progress && progressTotal != 0) {
            // The product is taken in 64 bits: in 32 it wraps past 42 MB of input and the bar
            // would jump back.
            std::uint64_t consumed = static_cast<std::uint64_t>(cursor - src);
            auto position = static_cast<std::uint32_t>(consumed * 100u / progressTotal + base);
            if (position != lastSent) {
                progress->setPosition(static_cast<int>(position));
                lastSent = position;
            }
        }
    }
    long written = static_cast<long>(stream.total_out);
    inflateEnd(&stream);
    return written;
}

}  // namespace kelvara
