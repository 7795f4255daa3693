#include "formats/inflate_buffer.h"

#include "formats/inflate_start.h"
#include "runtime/percent.h"

namespace kelvara {
namespace {

constexpr std::size_t kInflateChunk = 4096;

}  // namespace

long inflateBuffer(const unsigned char* src, std::size_t srcLen, unsigned char* dst,
                   std::size_t dstLen, ProgressSink* progress, std::uint32_t progressTotal) {
    z_stream stream = {};
    stream.next_out = dst;
    stream.avail_out = static_cast<uInt>(dstLen);
    if (!startInflate(stream)) {
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
            const auto consumed = static_cast<std::uint32_t>(cursor - src);
            const std::uint32_t position = percentOf(consumed, progressTotal) + base;
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
