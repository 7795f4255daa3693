// Decoding one block of a package (see formats/package_format.h): its packed bytes, read from
// the package in pieces, become its whole content in a buffer of the caller's, then the block's
// filter is undone over all of it. Blocks are independent of one another, so any block can be
// decoded alone, on any thread. A block can also be read while it is decoded: the decoder tells
// how much of the stream is final as it goes, and the reader undoes the filter in a copy of its
// own as it reads (the decoder still reads the bytes it made, as they are).
#pragma once
#include <cstdint>

#include "formats/package_bytes.h"
#include "formats/package_format.h"

namespace kelvara {

enum class BlockOutcome {
    decoded,     // the buffer holds exactly the block's content
    damaged,     // the packed bytes are not a whole stream of that content (or the method is not
                 // one this decoder knows)
    unreadable,  // the package could not give its bytes (its own error says why)
    noMemory,    // the decoder's state could not be allocated
};

// Told, as decoding goes on, how much of the stream is final: the bytes before `length` stay as
// they are. Called about every `every` bytes.
class DecodeProgress {
  public:
    virtual void decodedUpTo(std::uint32_t length) = 0;
    std::uint32_t every = 1u << 20;

  protected:
    ~DecodeProgress() = default;
};

// One decoder's state, kept across blocks: about 30 KB for the probabilities, allocated from the
// private heap when first needed and freed with the decoder. Not for two threads at once.
class BlockDecoder {
  public:
    BlockDecoder();
    BlockDecoder(const BlockDecoder&) = delete;
    BlockDecoder& operator=(const BlockDecoder&) = delete;
    ~BlockDecoder();

    // Decodes the block entry `block` (a PackageWalker's, with includeBlocks) from `source` into
    // `content`, which holds block.block.contentLength bytes, its filter undone.
    BlockOutcome decode(PackageBytes& source, const PackageEntry& block, unsigned char* content);
    // The same, the filter left in place (for a reader that undoes it as it reads); `progress`
    // is told how much is final as decoding goes on.
    BlockOutcome decodeStream(PackageBytes& source, const PackageEntry& block,
                              unsigned char* content, DecodeProgress* progress);

  private:
    struct State;
    State* state_;
};

// Undoes the x86 filter of one block as its content is read, in order, into a buffer of the
// reader's; the bytes of the stream stay as they are. The same bytes as decode's, whatever the
// pieces.
class X86Unfilter {
  public:
    // From the block's first byte again.
    void restart() {
        position_ = 0;
        state_ = 0;
    }
    // Where the next piece starts.
    std::uint32_t position() const { return position_; }
    // Gives the next content, at most `room` bytes (5 or more), into `out`, from the stream's first
    // `available` bytes (`whole`: that is all of the block): how many, 0 when more of the stream
    // is needed first (the filter looks 4 bytes ahead).
    std::uint32_t next(const unsigned char* stream, std::uint32_t available, bool whole,
                       unsigned char* out, std::uint32_t room);

  private:
    std::uint32_t position_ = 0;
    std::uint32_t state_ = 0;
};

}  // namespace kelvara
