#include "install/inflate_ahead_win32.h"

#include <cstring>

#include "formats/setup_state.h"

namespace kelvara {
namespace {

// The entry of the failed piece that ends the helper's walk: no file's content starts there.
constexpr std::uint32_t kEndOfWalk = 0xFFFFFFFFu;
// Enough for the helper's own calls: the inflater keeps its state on the C heap.
constexpr SIZE_T kHelperStack = 64 * 1024;

bool hasSecondProcessor() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system)) return false;
    return (process & (process - 1)) != 0;  // more than one bit set
}

// The helper's progress: the steps of the entry it works on, from 0, stamped on each piece.
class ProgressStamp : public ProgressSink {
  public:
    int position() override { return 0; }
    void setPosition(int position) override { steps = static_cast<std::uint32_t>(position); }
    std::uint32_t steps = 0;
};

}  // namespace

// The helper's writer: fills pieces with an entry's content, publishing each one that is full.
// It refuses to go on once the install thread has dropped the entry or the helper is stopping.
class InflateAhead::PieceWriter : public ByteWriter {
  public:
    PieceWriter(InflateAhead& ahead, Piece* first, std::uint32_t dataOffset, ProgressStamp& stamp)
        : ahead_(ahead), piece_(first), dataOffset_(dataOffset), stamp_(stamp) {}
    bool write(const unsigned char* bytes, std::size_t length) override {
        while (length != 0) {
            if (givenUp()) return false;
            if (piece_->length == kPieceSize) {
                piece_->progress = stamp_.steps;
                ahead_.publish();
                piece_ = ahead_.acquire(dataOffset_);
                if (!piece_) return false;
            }
            std::size_t room = kPieceSize - piece_->length;
            std::size_t n = length < room ? length : room;
            std::memcpy(piece_->bytes + piece_->length, bytes, n);
            piece_->length += static_cast<std::uint32_t>(n);
            bytes += n;
            length -= n;
        }
        return true;
    }
    bool givenUp() const {
        return ahead_.stopping_.load() || ahead_.droppedUpTo_.load() >= dataOffset_;
    }
    Piece* piece() const { return piece_; }

  private:
    InflateAhead& ahead_;
    Piece* piece_;
    std::uint32_t dataOffset_;
    ProgressStamp& stamp_;
};

bool InflateAhead::start(const ImageFile& image, std::uint64_t packageStart,
                         std::uint32_t groupsStart, std::uint32_t groupsEnd) {
    stop();
    if (!hasSecondProcessor()) return false;
    if (!memory_) {
        memory_.reset(static_cast<unsigned char*>(heapAlloc((kPieceCount + 1) * kPieceSize)));
        if (!memory_) return false;
        for (std::uint32_t i = 0; i < kPieceCount; ++i)
            pieces_[i].bytes = memory_.get() + i * kPieceSize;
    }
    filled_.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    freed_.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!filled_ || !freed_) return false;
    image_ = &image;
    packageStart_ = packageStart;
    groupsStart_ = groupsStart;
    groupsEnd_ = groupsEnd;
    produced_ = 0;
    consumed_ = 0;
    helperWaits_ = false;
    installWaits_ = false;
    stopping_ = false;
    droppedUpTo_ = 0;
    askedFor_ = 0;
    finished_ = 0;
    DWORD id = 0;
    thread_.reset(::CreateThread(nullptr, kHelperStack, helperMain, this,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, &id));
    return static_cast<bool>(thread_);
}

void InflateAhead::stop() {
    if (!thread_) return;
    stopping_ = true;
    ::SetEvent(freed_.get());
    ::WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
}

DWORD WINAPI InflateAhead::helperMain(void* self) {
    static_cast<InflateAhead*>(self)->produce();
    return 0;
}

// The helper: every file entry of the walk in turn, its content in pieces, the last one marked.
// A walk that ends early, or content that cannot be read, ends with a failed piece, so that the
// install thread never waits for an entry that will not come.
void InflateAhead::produce() {
    ImageWindow window;
    window.open(*image_, packageStart_);
    PackageWalker walker(window, groupsStart_, groupsEnd_);
    unsigned char* buffer = memory_.get() + kPieceCount * kPieceSize;
    const std::uint32_t progressTotal = groupsEnd_ - groupsStart_;
    FileGroupHeader group;
    PackageEntry entry;
    while (walker.nextGroup(group)) {
        // The install thread passes over the groups of parts not chosen.
        if (!choiceConditionMet(setupState.choices, group.conditionComponents,
                                group.conditionTasks)) {
            continue;
        }
        while (walker.nextEntry(entry)) {
            if (!entry.isFile() || entry.isInBlock()) continue;  // blocks have their reader
            Piece* piece = acquire(entry.dataOffset);
            if (!piece) return;
            ProgressStamp stamp;
            PieceWriter writer(*this, piece, entry.dataOffset, stamp);
            const bool whole =
                writeEntryData(window, entry, writer, buffer, kPieceSize, &stamp, progressTotal);
            if (stopping_) return;
            piece = writer.piece();
            if (!piece) return;
            piece->progress = stamp.steps;
            piece->last = true;
            // Given up because the install thread dropped the entry: it skips what comes. Any
            // other failure is the image's: the install thread reads it itself from here on.
            piece->failed = !whole && !writer.givenUp();
            publish();
            if (piece->failed) return;
        }
    }
    Piece* end = acquire(kEndOfWalk);
    if (!end) return;
    end->last = true;
    end->failed = true;
    publish();
}

InflateAhead::Piece* InflateAhead::acquire(std::uint32_t dataOffset) {
    const std::uint32_t produced = produced_.load();
    for (;;) {
        if (stopping_) return nullptr;
        if (produced - consumed_.load() < kPieceCount) break;
        helperWaits_ = true;
        if (produced - consumed_.load() < kPieceCount) continue;
        if (stopping_) return nullptr;
        ::WaitForSingleObject(freed_.get(), INFINITE);
    }
    Piece& piece = pieces_[produced % kPieceCount];
    piece.length = 0;
    piece.dataOffset = dataOffset;
    piece.progress = 0;
    piece.last = false;
    piece.failed = false;
    return &piece;
}

void InflateAhead::publish() {
    produced_.store(produced_.load() + 1);
    if (installWaits_.exchange(false)) ::SetEvent(filled_.get());
}

InflateAhead::Piece* InflateAhead::take() {
    const std::uint32_t consumed = consumed_.load();
    for (;;) {
        if (produced_.load() != consumed) return &pieces_[consumed % kPieceCount];
        installWaits_ = true;
        if (produced_.load() != consumed) continue;
        HANDLE objects[2] = {filled_.get(), thread_.get()};
        if (::WaitForMultipleObjects(2, objects, FALSE, INFINITE) != WAIT_OBJECT_0) {
            // The helper has ended: only what it published before is left.
            if (produced_.load() != consumed) return &pieces_[consumed % kPieceCount];
            return nullptr;
        }
    }
}

void InflateAhead::release() {
    const std::uint32_t consumed = consumed_.load() + 1;
    consumed_.store(consumed);
    // The helper waits for room only when every piece is full: it is woken once half of them are
    // free again, so that it fills several before it waits again.
    if (produced_.load() - consumed <= kPieceCount / 2 && helperWaits_.exchange(false))
        ::SetEvent(freed_.get());
}

bool InflateAhead::dropRest(std::uint32_t dataOffset) {
    droppedUpTo_ = dataOffset;
    for (;;) {
        Piece* piece = take();
        if (!piece || piece->failed || piece->dataOffset != dataOffset) {
            stop();
            return false;
        }
        const bool last = piece->last;
        release();
        if (last) {
            finished_ = dataOffset;
            return true;
        }
    }
}

InflateAhead::Result InflateAhead::writeEntry(const PackageEntry& entry, ByteWriter& writer,
                                              ProgressSink* progress, std::uint32_t progressTotal) {
    askedFor_ = entry.dataOffset;
    if (!progressTotal) progress = nullptr;
    const int base = progress ? progress->position() : 0;
    std::uint32_t steps = 0;
    for (;;) {
        Piece* piece = take();
        if (!piece || piece->failed || piece->dataOffset != entry.dataOffset) {
            stop();
            return Result::unavailable;
        }
        if (piece->length != 0 && !writer.write(piece->bytes, piece->length)) {
            const bool last = piece->last;
            release();
            if (last) {
                finished_ = entry.dataOffset;
            } else {
                dropRest(entry.dataOffset);
            }
            return Result::writeFailed;
        }
        if (progress && piece->progress != steps) {
            steps = piece->progress;
            progress->setPosition(base + static_cast<int>(steps));
        }
        const bool last = piece->last;
        release();
        if (last) {
            finished_ = entry.dataOffset;
            return Result::written;
        }
    }
}

void InflateAhead::finishEntry(const PackageEntry& entry) {
    if (!thread_ || !entry.isFile() || entry.isInBlock() || finished_ == entry.dataOffset) return;
    askedFor_ = entry.dataOffset;
    dropRest(entry.dataOffset);
}

}  // namespace kelvara
