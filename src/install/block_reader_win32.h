// The content of the files that lie in blocks (formats/package_format.h), decoded ahead of the
// writes. Helper threads (two where there are two processors) each walk the package and decode
// every other block, one at a time, into one of a few buffers of the largest block's size; the
// install thread takes the buffers in the walk's order and writes the files' content from them,
// as soon as it is decoded (a block without a filter is written from while it is decoded).
// Only the image is read and only memory written on the helpers: decisions, messages, progress
// and the logs stay on the install thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "formats/block_decode.h"
#include "formats/package_format.h"
#include "formats/stream_inflate.h"
#include "install/image_window_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"

namespace kelvara {

class BlockReader {
  public:
    enum class Result { written, writeFailed, damaged, unreadable, noMemory };

    BlockReader() = default;
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;
    ~BlockReader() { stop(); }

    // Makes ready to read the blocks of the package at packageStart of the image, groups E to S
    // (walked once already: they are whole), whose largest block holds `largestBlock` bytes.
    // False when there is not memory for even one block, or no thread (nothing runs then).
    bool start(const ImageFile& image, std::uint64_t packageStart, std::uint32_t groupsStart,
               std::uint32_t groupsEnd, std::uint32_t largestBlock);
    // Hands the content of the in-block file `entry`, of the walk's group number `group` (0 for
    // the first), to the writer, moving the progress bar over the block's share of the package.
    // Entries are asked for in the walk's order, or the same one again (a write tried again);
    // skipped ones need no call. writeFailed: the writer refused a piece (its own error says
    // why). unreadable: imageError() says why.
    Result writeEntry(std::uint32_t group, const PackageEntry& entry, ByteWriter& writer,
                      ProgressSink* progress);
    // After the last file: the block the last content came from decoded whole and sound. Content
    // written from a block that proves damaged further on must not stand: damaged then.
    Result finish();
    DWORD imageError() const { return imageError_; }
    // Stops the helpers and gives the buffers back.
    void stop();
    // What start chose: helper threads and buffers.
    unsigned helpers() const { return helperCount_; }
    unsigned buffers() const { return slotCount_; }

  private:
    static constexpr unsigned kMostSlots = 3;
    static constexpr unsigned kMostHelpers = 2;

    // A block of the walk (or the walk's end, `end` set, with the reason in outcome), as it
    // lies in a buffer.
    struct Job {
        std::uint32_t index = 0;  // in the walk's order, from 0
        std::uint32_t group = 0;
        PackageEntry block;
        bool end = false;
        bool skipped = false;  // not decoded: the install thread needs nothing of it
        BlockOutcome outcome = BlockOutcome::decoded;
        DWORD error = 0;
    };
    // Block i goes to buffer i % slotCount_, and is decoded by helper i % helperCount_. The
    // helper sets job, then started; decoded as the content becomes final; job.outcome and
    // job.error, then ready. readyEvent is set at each of those steps.
    struct Slot : DecodeProgress {
        void decodedUpTo(std::uint32_t length) override;
        unsigned char* bytes = nullptr;
        Job job;
        std::atomic<std::uint32_t> started{0};  // index + 1 of the block in job
        std::atomic<std::uint32_t> decoded{0};  // of that block, the content final so far
        std::atomic<std::uint32_t> ready{0};    // index + 1 of the block once decoding ended
        std::atomic<std::uint32_t> freeFor{0};  // the first block index it may be filled with
        UniqueHandle readyEvent;
        UniqueHandle freeEvent;
    };
    struct Helper {
        BlockReader* reader = nullptr;
        unsigned number = 0;
        UniqueHandle thread;
    };

    // Starts the helpers from the first block, those ending at or before skipUpTo_ passed over.
    bool startHelpers();
    void stopHelpers();
    static DWORD WINAPI helperMain(void* helper);
    // Helper `number`'s walk: its own blocks decoded in turn, then the walk's end if it is its.
    void produce(unsigned number);
    // Fills the block's buffer once the install thread has given it back; false when stopping.
    bool fill(Job& job, BlockDecoder& decoder, ImageWindow& source);
    // The install thread's side. Waits until the slot of block `index` holds `length` bytes of
    // it decoded (0: the block's job is known), or its decoding ended; false when its helper
    // ended without it.
    bool await(std::uint32_t index, std::uint32_t length);
    // The same for the held block, whose failed decoding also gives false, with *failed saying
    // why (noMemory: its helper ended without it).
    bool awaitHeld(std::uint32_t length, Result* failed);
    // The held block's content at `within`, final, *got bytes of it (at most `most`): from its
    // buffer, or for a filtered block from the scratch the filter is undone into. Null, with
    // *failed saying why, when the decoding failed or its helper ended.
    const unsigned char* contentAt(std::uint32_t within, std::uint32_t most, std::uint32_t* got,
                                   Result* failed);
    void release(std::uint32_t index);

    const ImageFile* image_ = nullptr;
    std::uint64_t packageStart_ = 0;
    std::uint32_t groupsStart_ = 0;
    std::uint32_t groupsEnd_ = 0;
    UniqueVirtualMemory memory_;
    Slot slots_[kMostSlots];
    unsigned slotCount_ = 0;
    Helper helpers_[kMostHelpers];
    unsigned helperCount_ = 0;
    std::atomic<bool> stopping_{false};
    // Blocks that end at or before this place in the walk are not decoded (a restart's).
    std::uint32_t skipGroup_ = 0;
    std::uint64_t skipOffset_ = 0;

    // The install thread's block: held from obtain until the content asked for moves past it.
    bool holding_ = false;
    std::uint32_t heldIndex_ = 0;
    std::uint32_t nextWanted_ = 0;
    DWORD imageError_ = 0;
    // A filtered block's content, filter undone, in pieces: [scratchStart_, scratchEnd_) of it.
    X86Unfilter unfilter_;
    HeapOwned<unsigned char> scratch_;
    std::uint32_t scratchStart_ = 0;
    std::uint32_t scratchEnd_ = 0;
};

}  // namespace kelvara
