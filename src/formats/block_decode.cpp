#include "formats/block_decode.h"

extern "C" {
#include "Bra.h"
#include "Lzma2Dec.h"
}

#include <cstring>

#include "runtime/heap.h"

namespace kelvara {
namespace {

void* allocate(ISzAllocPtr, size_t size) {
    return heapAlloc(size);
}
void release(ISzAllocPtr, void* block) {
    heapFree(block);
}
const ISzAlloc kHeapAllocator = {allocate, release};

}  // namespace

struct BlockDecoder::State {
    CLzma2Dec lzma2;
    bool probabilities = false;
};

BlockDecoder::BlockDecoder() : state_(nullptr) {}

BlockDecoder::~BlockDecoder() {
    if (!state_) return;
    if (state_->probabilities) Lzma2Dec_FreeProbs(&state_->lzma2, &kHeapAllocator);
    heapFree(state_);
}

BlockOutcome BlockDecoder::decode(PackageBytes& source, const PackageEntry& block,
                                  unsigned char* content) {
    const BlockOutcome outcome = decodeStream(source, block, content, nullptr);
    if (outcome == BlockOutcome::decoded && block.block.filter == kBlockFilterX86) {
        UInt32 x86State = Z7_BRANCH_CONV_ST_X86_STATE_INIT_VAL;
        Z7_BRANCH_CONV_ST_DEC(X86)(content, block.block.contentLength, 0, &x86State);
    }
    return outcome;
}

BlockOutcome BlockDecoder::decodeStream(PackageBytes& source, const PackageEntry& block,
                                        unsigned char* content, DecodeProgress* progress) {
    const BlockInfo& info = block.block;
    if (info.method != kBlockMethodLzma2 || info.property > kLargestLzma2Property)
        return BlockOutcome::damaged;
    if (info.filter != kBlockFilterNone && info.filter != kBlockFilterX86)
        return BlockOutcome::damaged;
    if (!state_) {
        state_ = static_cast<State*>(heapAlloc(sizeof(State)));
        if (!state_) return BlockOutcome::noMemory;
        Lzma2Dec_CONSTRUCT(&state_->lzma2);
    }
    CLzma2Dec& lzma2 = state_->lzma2;
    // The probabilities are the same size for every LZMA2 stream; the dictionary is the content
    // buffer itself, which holds the whole block, so none is allocated.
    if (Lzma2Dec_AllocateProbs(&lzma2, info.property, &kHeapAllocator) != SZ_OK)
        return BlockOutcome::noMemory;
    state_->probabilities = true;
    lzma2.decoder.dic = content;
    lzma2.decoder.dicBufSize = info.contentLength;
    Lzma2Dec_Init(&lzma2);

    std::uint32_t offset = block.dataOffset;
    std::uint32_t left = info.packedLength;
    const std::uint32_t reach = source.reach();
    ELzmaStatus status = LZMA_STATUS_NOT_SPECIFIED;
    while (left != 0 && status != LZMA_STATUS_FINISHED_WITH_MARK) {
        std::uint32_t available = 0;
        const unsigned char* bytes =
            source.bytesUpTo(offset, left < reach ? left : reach, &available);
        if (!bytes) return BlockOutcome::unreadable;
        const SizeT before = lzma2.decoder.dicPos;
        SizeT limit = info.contentLength;
        if (progress && limit - before > progress->every) limit = before + progress->every;
        SizeT consumed = available;
        if (Lzma2Dec_DecodeToDic(&lzma2, limit, bytes, &consumed,
                                 limit == info.contentLength ? LZMA_FINISH_END : LZMA_FINISH_ANY,
                                 &status) != SZ_OK) {
            return BlockOutcome::damaged;
        }
        // Nothing taken and nothing made: the stream wants more than the block holds.
        if (consumed == 0 && lzma2.decoder.dicPos == before &&
            status != LZMA_STATUS_FINISHED_WITH_MARK) {
            return BlockOutcome::damaged;
        }
        offset += static_cast<std::uint32_t>(consumed);
        left -= static_cast<std::uint32_t>(consumed);
        if (progress && lzma2.decoder.dicPos != before)
            progress->decodedUpTo(static_cast<std::uint32_t>(lzma2.decoder.dicPos));
    }
    // The stream ends exactly with the block: its end marker, the whole content, no bytes after.
    if (status != LZMA_STATUS_FINISHED_WITH_MARK || left != 0 ||
        lzma2.decoder.dicPos != info.contentLength) {
        return BlockOutcome::damaged;
    }
    return BlockOutcome::decoded;
}

std::uint32_t X86Unfilter::next(const unsigned char* stream, std::uint32_t available, bool whole,
                                unsigned char* out, std::uint32_t room) {
    std::uint32_t n = available - position_;
    if (n > room) n = room;
    std::memcpy(out, stream + position_, n);
    UInt32 state = state_;
    const Byte* end = Z7_BRANCH_CONV_ST_DEC(X86)(out, n, position_, &state);
    state_ = state;
    // The block's last bytes, too few for the filter to look at, stay as they are.
    const std::uint32_t given =
        whole && position_ + n == available ? n : static_cast<std::uint32_t>(end - out);
    position_ += given;
    return given;
}

}  // namespace kelvara
