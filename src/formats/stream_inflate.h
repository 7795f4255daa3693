// Inflating a packaged file's zlib stream to its destination in pieces, so that a file of any
// size needs only one fixed buffer in a 32-bit process.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/inflate_buffer.h"

namespace kelvara {

// Where the inflated bytes go, piece by piece, in order.
class ByteWriter {
  public:
    // False when the bytes could not be written; the writer keeps the reason.
    virtual bool write(const unsigned char* bytes, std::size_t length) = 0;

  protected:
    ~ByteWriter() = default;
};

// Inflates the zlib stream src[0..srcLen) and hands exactly `outLength` bytes to the writer:
// what the stream produces, cut at outLength, and zero bytes after a stream that ends short
// (a damaged or truncated stream included). The buffer (`bufferSize` bytes, at least 1) holds
// one piece at a time. Progress moves as inflateBuffer moves it: from the sink's position before
// the call by the share of progressTotal consumed, per 4,096 bytes of input.
// Returns false when the writer refused a piece (nothing more is written) or the inflater could
// not be initialised (nothing is written).
bool inflateToWriter(const unsigned char* src, std::size_t srcLen, std::uint32_t outLength,
                     ByteWriter& writer, unsigned char* buffer, std::size_t bufferSize,
                     ProgressSink* progress, std::uint32_t progressTotal);

}  // namespace kelvara
