// Inflating one zlib stream from memory into memory, for the setup script and packaged files.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kelvara {

// Where inflating reports its progress: a progress bar on Windows, anything in tests.
class ProgressSink {
  public:
    virtual int position() = 0;
    virtual void setPosition(int position) = 0;

  protected:
    ~ProgressSink() = default;
};

// Inflates the zlib stream src[0..srcLen) into dst (capacity dstLen) and returns the number of
// bytes written, or -1 when the inflater cannot be initialised. The input is offered once, in
// chunks of 4,096 bytes; a stream that ends in a sync flush without a final block, and trailing
// zero bytes after the stream, are fine: every byte produced is kept. A corrupt stream stops
// early and keeps what was produced. With progress given and progressTotal not 0, the position
// becomes the sink's position before the call plus the percentage of progressTotal consumed so
// far, set only when it changes.
long inflateBuffer(const unsigned char* src, std::size_t srcLen, unsigned char* dst,
                   std::size_t dstLen, ProgressSink* progress, std::uint32_t progressTotal);

}  // namespace kelvara
