#include "install/block_reader_win32.h"

#include "formats/setup_state.h"
#include "runtime/percent.h"

namespace kelvara {
namespace {

// The blocks held at once stay within this: with the largest blocks (64 MiB) two of them.
constexpr std::uint64_t kBlockMemoryBudget = 128u << 20;
// Enough for the helper's own calls: the decoder keeps its state on the private heap.
constexpr SIZE_T kHelperStack = 64 * 1024;
// Content goes to the writer, and the progress bar moves, a piece at a time.
constexpr std::uint32_t kWritePiece = 1u << 20;
// More than any block holds: waiting for that much waits for the end of its decoding.
constexpr std::uint32_t kUntilDecodingEnds = 0xFFFFFFFFu;

unsigned processorCount() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system)) return 1;
    unsigned count = 0;
    for (; process != 0; process &= process - 1) ++count;
    return count ? count : 1;
}

// (group, offset) pairs in the walk's order.
bool before(std::uint32_t groupA, std::uint64_t offsetA, std::uint32_t groupB,
            std::uint64_t offsetB) {
    return groupA < groupB || (groupA == groupB && offsetA < offsetB);
}

// part * target / whole for part <= whole, in 32-bit operations only: a 64-bit division would
// bring the C library's helper for it into the stub. Precise enough for a progress bar.
std::uint32_t scaled(std::uint32_t part, std::uint32_t whole, std::uint32_t target) {
    while (whole > 0xFFFF) {
        whole >>= 1;
        part >>= 1;
    }
    if (whole == 0) return 0;
    return (target / whole) * part + (target % whole) * part / whole;
}

BlockReader::Result resultOf(BlockOutcome outcome) {
    switch (outcome) {
        case BlockOutcome::decoded:
            return BlockReader::Result::written;
        case BlockOutcome::unreadable:
            return BlockReader::Result::unreadable;
        case BlockOutcome::noMemory:
            return BlockReader::Result::noMemory;
        case BlockOutcome::damaged:
            break;
    }
    return BlockReader::Result::damaged;
}

}  // namespace

bool BlockReader::start(const ImageFile& image, std::uint64_t packageStart,
                        std::uint32_t groupsStart, std::uint32_t groupsEnd,
                        std::uint32_t largestBlock) {
    stop();
    if (largestBlock == 0) return true;  // nothing lies in blocks
    image_ = &image;
    packageStart_ = packageStart;
    groupsStart_ = groupsStart;
    groupsEnd_ = groupsEnd;
    const unsigned processors = processorCount();
    // One buffer more than helpers, so that both decode while the install thread writes.
    unsigned wanted = processors >= 2 ? kMostSlots : 1;
    while (wanted > 1 && std::uint64_t(wanted) * largestBlock > kBlockMemoryBudget) --wanted;
    for (; wanted >= 1 && !memory_; --wanted) {
        memory_.reset(::VirtualAlloc(nullptr, SIZE_T(wanted) * largestBlock,
                                     MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        slotCount_ = wanted;
    }
    if (!memory_) {
        slotCount_ = 0;
        return false;
    }
    for (unsigned i = 0; i < slotCount_; ++i) {
        Slot& slot = slots_[i];
        slot.bytes = static_cast<unsigned char*>(memory_.get()) + SIZE_T(i) * largestBlock;
        slot.readyEvent.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
        slot.freeEvent.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (!slot.readyEvent || !slot.freeEvent) {
            stop();
            return false;
        }
    }
    helperCount_ = slotCount_ < kMostHelpers ? slotCount_ : kMostHelpers;
    if (processors < helperCount_) helperCount_ = processors;
    skipGroup_ = 0;
    skipOffset_ = 0;
    if (startHelpers()) return true;
    stop();
    return false;
}

bool BlockReader::startHelpers() {
    holding_ = false;
    nextWanted_ = 0;
    imageError_ = 0;
    stopping_ = false;
    for (unsigned i = 0; i < slotCount_; ++i) {
        slots_[i].started = 0;
        slots_[i].ready = 0;
        slots_[i].freeFor = i;
    }
    for (unsigned i = 0; i < helperCount_; ++i) {
        Helper& helper = helpers_[i];
        helper.reader = this;
        helper.number = i;
        DWORD id = 0;
        helper.thread.reset(::CreateThread(nullptr, kHelperStack, helperMain, &helper,
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, &id));
        // Every helper has its share of the blocks: one missing would leave its blocks undone.
        if (!helper.thread) return false;
    }
    return true;
}

void BlockReader::stopHelpers() {
    stopping_ = true;
    for (unsigned i = 0; i < slotCount_; ++i) ::SetEvent(slots_[i].freeEvent.get());
    for (unsigned i = 0; i < helperCount_; ++i) {
        if (!helpers_[i].thread) continue;
        ::WaitForSingleObject(helpers_[i].thread.get(), INFINITE);
        helpers_[i].thread.reset();
    }
}

void BlockReader::stop() {
    stopHelpers();
    helperCount_ = 0;
    for (unsigned i = 0; i < slotCount_; ++i) {
        slots_[i].readyEvent.reset();
        slots_[i].freeEvent.reset();
    }
    slotCount_ = 0;
    memory_.reset();
    scratch_.reset();
    holding_ = false;
}

DWORD WINAPI BlockReader::helperMain(void* helper) {
    Helper& self = *static_cast<Helper*>(helper);
    self.reader->produce(self.number);
    return 0;
}

void BlockReader::produce(unsigned number) {
    ImageWindow window;
    window.open(*image_, packageStart_);
    BlockDecoder decoder;
    PackageWalker walker(window, groupsStart_, groupsEnd_);
    walker.includeBlocks();
    FileGroupHeader group;
    PackageEntry entry;
    Job job;
    for (std::uint32_t groupNumber = 0; walker.nextGroup(group); ++groupNumber) {
        // The install thread passes over the groups of parts not chosen: so do their blocks.
        if (!choiceConditionMet(setupState.choices, group.conditionComponents,
                                group.conditionTasks)) {
            continue;
        }
        while (walker.nextEntry(entry)) {
            if (!entry.isBlock()) continue;
            if (job.index % helperCount_ == number) {
                job.group = groupNumber;
                job.block = entry;
                if (!fill(job, decoder, window)) return;
            }
            ++job.index;
        }
    }
    // Past the last block: content asked for here has no block (a walk the first check passed
    // ends so only when the image could not be read).
    if (job.index % helperCount_ != number) return;
    job.end = true;
    job.outcome = walker.unreadable() ? BlockOutcome::unreadable : BlockOutcome::damaged;
    job.error = window.error();
    fill(job, decoder, window);
}

bool BlockReader::fill(Job& job, BlockDecoder& decoder, ImageWindow& source) {
    Slot& slot = slots_[job.index % slotCount_];
    while (slot.freeFor.load() < job.index) {
        if (stopping_) return false;
        ::WaitForSingleObject(slot.freeEvent.get(), INFINITE);
    }
    if (stopping_) return false;
    job.skipped = false;
    if (!job.end) {  // the walk's end keeps the outcome and error it came with
        job.outcome = BlockOutcome::decoded;
        job.error = 0;
        const std::uint64_t end = job.block.contentOffset + job.block.block.contentLength;
        job.skipped = !before(skipGroup_, skipOffset_, job.group, end);
    }
    slot.job = job;
    slot.decoded.store(0);
    slot.started.store(job.index + 1);
    ::SetEvent(slot.readyEvent.get());
    if (!job.end && !job.skipped) {
        // The install thread reads the block's other fields meanwhile; these two it reads only
        // once ready says they are set.
        slot.job.outcome = decoder.decodeStream(source, job.block, slot.bytes, &slot);
        if (slot.job.outcome == BlockOutcome::unreadable) slot.job.error = source.error();
    }
    slot.ready.store(job.index + 1);
    ::SetEvent(slot.readyEvent.get());
    return true;
}

void BlockReader::Slot::decodedUpTo(std::uint32_t length) {
    decoded.store(length);
    ::SetEvent(readyEvent.get());
}

bool BlockReader::await(std::uint32_t index, std::uint32_t length) {
    if (helperCount_ == 0) return false;
    Slot& slot = slots_[index % slotCount_];
    const HANDLE helper = helpers_[index % helperCount_].thread.get();
    // A helper that ended without the block (it could not be started again) gives none: seen
    // ended after a wait, the block is looked for once more.
    for (bool helperEnded = !helper;;) {
        if (slot.ready.load() == index + 1 ||
            (slot.started.load() == index + 1 && slot.decoded.load() >= length)) {
            return true;
        }
        if (helperEnded) return false;
        helperEnded = ::WaitForSingleObject(slot.readyEvent.get(), 1000) == WAIT_TIMEOUT &&
                      ::WaitForSingleObject(helper, 0) == WAIT_OBJECT_0;
    }
}

bool BlockReader::awaitHeld(std::uint32_t length, Result* failed) {
    const Slot& slot = slots_[heldIndex_ % slotCount_];
    if (!await(heldIndex_, length)) {
        *failed = Result::noMemory;
        return false;
    }
    if (slot.ready.load() != heldIndex_ + 1 || slot.job.outcome == BlockOutcome::decoded)
        return true;
    imageError_ = slot.job.error;
    *failed = resultOf(slot.job.outcome);
    return false;
}

const unsigned char* BlockReader::contentAt(std::uint32_t within, std::uint32_t most,
                                            std::uint32_t* got, Result* failed) {
    Slot& slot = slots_[heldIndex_ % slotCount_];
    const std::uint32_t length = slot.job.block.block.contentLength;
    if (slot.job.block.block.filter != kBlockFilterX86) {
        if (!awaitHeld(within + most, failed)) return nullptr;
        *got = most;
        return slot.bytes + within;
    }
    *failed = Result::noMemory;
    if (!scratch_) scratch_.reset(static_cast<unsigned char*>(heapAlloc(kWritePiece)));
    if (!scratch_) return nullptr;
    if (within < scratchStart_) {  // the same content again: the filter from the start
        unfilter_.restart();
        scratchStart_ = scratchEnd_ = 0;
    }
    while (within >= scratchEnd_) {
        const std::uint32_t position = unfilter_.position();
        const std::uint32_t wanted =
            length - position > kWritePiece ? position + kWritePiece + 4 : length;
        if (!awaitHeld(wanted, failed)) return nullptr;
        const std::uint32_t available =
            slot.ready.load() == heldIndex_ + 1 ? length : slot.decoded.load();
        scratchStart_ = position;
        scratchEnd_ = position + unfilter_.next(slot.bytes, available, available == length,
                                                scratch_.get(), kWritePiece);
    }
    *got = scratchEnd_ - within < most ? scratchEnd_ - within : most;
    return scratch_.get() + (within - scratchStart_);
}

void BlockReader::release(std::uint32_t index) {
    Slot& slot = slots_[index % slotCount_];
    slot.freeFor.store(index + slotCount_);
    ::SetEvent(slot.freeEvent.get());
}

BlockReader::Result BlockReader::writeEntry(std::uint32_t group, const PackageEntry& entry,
                                            ByteWriter& writer, ProgressSink* progress) {
    std::uint64_t at = entry.contentOffset;
    std::uint32_t left = entry.file.sizeLow;
    if (left == 0) return Result::written;
    if (slotCount_ == 0) return Result::noMemory;
    const std::uint32_t progressTotal = groupsEnd_ - groupsStart_;
    bool restarted = false;
    for (;;) {
        if (!holding_) {
            if (!await(nextWanted_, 0)) return Result::noMemory;
            heldIndex_ = nextWanted_++;
            holding_ = true;
            unfilter_.restart();
            scratchStart_ = scratchEnd_ = 0;
        }
        Slot& slot = slots_[heldIndex_ % slotCount_];
        const Job& job = slot.job;
        if (job.end) {
            imageError_ = job.error;
            return resultOf(job.outcome);
        }
        const std::uint64_t start = job.block.contentOffset;
        const std::uint32_t length = job.block.block.contentLength;
        if (!before(group, at, job.group, start) && !before(group, at, job.group, start + length)) {
            // Wholly before the content asked for: given back once it proved sound (what was
            // written from it stands only then).
            Result failed = Result::written;
            if (!job.skipped && !awaitHeld(kUntilDecodingEnds, &failed)) return failed;
            release(heldIndex_);
            holding_ = false;
            continue;
        }
        if (before(group, at, job.group, start) || job.skipped) {
            // Content of a block already given back (the same file once more): from the block
            // that holds it, the ones before it passed over. Once only: the walk is the same.
            if (restarted) return Result::damaged;
            restarted = true;
            stopHelpers();
            skipGroup_ = group;
            skipOffset_ = at;
            if (!startHelpers()) {
                stopHelpers();
                helperCount_ = 0;
                return Result::noMemory;
            }
            continue;
        }
        std::uint32_t within = static_cast<std::uint32_t>(at - start);
        std::uint32_t n = length - within < left ? length - within : left;
        while (n != 0) {
            // Written as soon as decoded; a block whose decoding failed gives nothing more.
            std::uint32_t piece = 0;
            Result failed = Result::noMemory;
            const unsigned char* bytes =
                contentAt(within, n < kWritePiece ? n : kWritePiece, &piece, &failed);
            if (!bytes) return failed;
            if (!writer.write(bytes, piece)) return Result::writeFailed;
            within += piece;
            n -= piece;
            left -= piece;
            at += piece;
            if (progress && progressTotal != 0) {
                const std::uint32_t reached =
                    job.block.dataOffset + scaled(within, length, job.block.block.packedLength);
                progress->setPosition(
                    static_cast<int>(percentOf(reached - groupsStart_, progressTotal)));
            }
        }
        if (left == 0) return Result::written;
    }
}

BlockReader::Result BlockReader::finish() {
    Result failed = Result::written;
    if (holding_ && !slots_[heldIndex_ % slotCount_].job.end)
        awaitHeld(kUntilDecodingEnds, &failed);
    return failed;
}

}  // namespace kelvara
