// A block's content packed as the engine decodes it (formats/block_decode.h): a raw LZMA2 stream
// made by the system's liblzma, after the x86 filter when asked for.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/package_format.h"

namespace kelvara::build {

// False in a build of the builder made without liblzma (the Windows one, today): such a build
// refuses a project that asks for LZMA2.
bool lzma2Available();

struct PackedBlock {
    BlockInfo info;  // method, filter, property and both lengths
    std::vector<unsigned char> bytes;
};

// The memory one packBlock of `length` bytes takes at most: the encoder's (about ten times its
// dictionary, which is as large as the block), the packed bytes and the content held for it.
std::uint64_t blockPackingMemory(std::size_t length);

// Packs `length` bytes (1 to kLargestBlockContent) of content. Throws std::runtime_error when
// liblzma fails or is missing.
PackedBlock packBlock(const unsigned char* content, std::size_t length, bool x86Filter);

}  // namespace kelvara::build
