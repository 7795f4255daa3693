#include "kelvara-build/image/block_compression.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

#if KELVARA_HAVE_LZMA
#include <lzma.h>
#endif

namespace kelvara::build {

#if KELVARA_HAVE_LZMA

bool lzma2Available() {
    return true;
}

namespace {

// Level 6's match finder and lengths with a dictionary that holds the whole block: the engine
// decodes a block into one buffer, so a larger dictionary costs it nothing. No position bits:
// neither machine code nor text repeats on 4-byte boundaries, and the Wine binaries of the size
// benchmark come out half a percent smaller without them.
lzma_options_lzma encoderOptions(std::uint8_t property) {
    lzma_options_lzma options;
    if (lzma_lzma_preset(&options, 6)) throw std::runtime_error("liblzma: no preset 6");
    options.dict_size = lzma2DictionarySize(property);
    options.pb = 0;
    return options;
}

}  // namespace

std::uint64_t blockPackingMemory(std::size_t length) {
    lzma_options_lzma options = encoderOptions(lzma2PropertyFor(static_cast<std::uint32_t>(
        std::min<std::size_t>(std::max<std::size_t>(length, 1), kLargestBlockContent))));
    const lzma_filter filters[] = {
        {LZMA_FILTER_X86, nullptr}, {LZMA_FILTER_LZMA2, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    const std::uint64_t encoder = lzma_raw_encoder_memusage(filters);
    return (encoder == UINT64_MAX ? 0 : encoder) + 2 * std::uint64_t(length);
}

PackedBlock packBlock(const unsigned char* content, std::size_t length, bool x86Filter) {
    if (length == 0 || length > kLargestBlockContent)
        throw std::runtime_error("a block of " + std::to_string(length) + " bytes");
    PackedBlock block;
    block.info.method = kBlockMethodLzma2;
    block.info.filter = x86Filter ? kBlockFilterX86 : kBlockFilterNone;
    block.info.contentLength = static_cast<std::uint32_t>(length);
    block.info.property = lzma2PropertyFor(block.info.contentLength);
    lzma_options_lzma options = encoderOptions(block.info.property);
    lzma_filter filters[3];
    std::size_t n = 0;
    if (x86Filter) filters[n++] = {LZMA_FILTER_X86, nullptr};
    filters[n++] = {LZMA_FILTER_LZMA2, &options};
    filters[n] = {LZMA_VLI_UNKNOWN, nullptr};

    // LZMA2 stores what does not shrink, in chunks of at most 64 KiB with 3 bytes each.
    block.bytes.resize(length + length / 1024 + 64);
    std::size_t used = 0;
    const lzma_ret result = lzma_raw_buffer_encode(filters, nullptr, content, length,
                                                   block.bytes.data(), &used, block.bytes.size());
    if (result != LZMA_OK)
        throw std::runtime_error("liblzma: encoding failed (" + std::to_string(result) + ")");
    block.bytes.resize(used);
    block.info.packedLength = static_cast<std::uint32_t>(used);
    return block;
}

#else

bool lzma2Available() {
    return false;
}

std::uint64_t blockPackingMemory(std::size_t length) {
    return length;
}

PackedBlock packBlock(const unsigned char*, std::size_t, bool) {
    throw std::runtime_error("this build of kelvara-build has no LZMA2 encoder (liblzma)");
}

#endif

}  // namespace kelvara::build
