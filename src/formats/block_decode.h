// Decoding one block of a package (see formats/package_format.h): its packed bytes, read from
// the package in pieces, become its whole content in a buffer of the caller's, then the block's
// filter is undone over all of it. Blocks are independent of one another, so any block can be
// decoded alone, on any thread.
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

// One decoder's state, kept across blocks: about 30 KB for the probabilities, allocated from the
// private heap when first needed and freed with the decoder. Not for two threads at once.
class BlockDecoder {
  public:
    BlockDecoder();
    BlockDecoder(const BlockDecoder&) = delete;
    BlockDecoder& operator=(const BlockDecoder&) = delete;
    ~BlockDecoder();

    // Decodes the block entry `block` (a PackageWalker's, with includeBlocks) from `source` into
    // `content`, which holds block.block.contentLength bytes.
    BlockOutcome decode(PackageBytes& source, const PackageEntry& block, unsigned char* content);

  private:
    struct State;
    State* state_;
};

}  // namespace kelvara
