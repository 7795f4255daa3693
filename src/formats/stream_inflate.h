// Handing a packaged file's content to its destination in pieces, inflated or as stored, so that
// a file of any size needs only one fixed buffer and a bounded view in a 32-bit process.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/inflate_buffer.h"
#include "formats/package_bytes.h"
#include "formats/package_format.h"

namespace kelvara {

// Where the inflated bytes go, piece by piece, in order.
class ByteWriter {
  public:
    // False when the bytes could not be written; the writer keeps the reason.
    virtual bool write(const unsigned char* bytes, std::size_t length) = 0;

  protected:
    ~ByteWriter() = default;
};

// Inflates the zlib stream of srcLen bytes at package offset srcOffset of `source` and hands
// exactly `outLength` bytes to the writer: what the stream produces, cut at outLength, and zero
// bytes after a stream that ends short (a damaged or truncated stream included). The buffer
// (`bufferSize` bytes, at least 1) holds one piece at a time. Progress moves as inflateBuffer
// moves it: from the sink's position before the call by the share of progressTotal consumed,
// per 4,096 bytes of input.
// Returns false when the writer refused a piece (nothing more is written), the source could not
// give its bytes (its own error says why) or the inflater could not be initialised (nothing is
// written).
bool inflateToWriter(PackageBytes& source, std::uint32_t srcOffset, std::uint32_t srcLen,
                     std::uint32_t outLength, ByteWriter& writer, unsigned char* buffer,
                     std::size_t bufferSize, ProgressSink* progress, std::uint32_t progressTotal);

// A file entry's content, in order: a compressed one inflated (see inflateToWriter), a stored one
// as it lies in the package, in pieces of at most bufferSize bytes (straight from the source,
// without the buffer). Progress moves alike for both, by the share of the stored bytes consumed.
// False as for inflateToWriter.
bool writeEntryData(PackageBytes& source, const PackageEntry& entry, ByteWriter& writer,
                    unsigned char* buffer, std::size_t bufferSize, ProgressSink* progress,
                    std::uint32_t progressTotal);

}  // namespace kelvara
