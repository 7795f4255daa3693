// File content made ready ahead of the writes, on a second processor: a helper thread walks the
// package as the install thread does and hands each file entry's content (inflated, or as
// stored) through a small ring of pieces, while the install thread creates and writes the files.
// Everything that can be seen (decisions, messages and their answers, progress, the logs) stays
// on the install thread: the helper only reads the image and inflates. Whenever the helper
// cannot serve an entry (it did not start, a view of the image failed, it fell out of step), the
// install thread makes that entry's content itself, from the start.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "formats/package_format.h"
#include "formats/stream_inflate.h"
#include "install/image_window_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"

namespace kelvara {

class InflateAhead {
  public:
    enum class Result { written, writeFailed, unavailable };

    InflateAhead() = default;
    InflateAhead(const InflateAhead&) = delete;
    InflateAhead& operator=(const InflateAhead&) = delete;
    ~InflateAhead() { stop(); }

    // Starts the helper on the package at packageStart of the image, groups E to S (already
    // walked once: they are whole). False when it is not worth it (a single processor) or could
    // not be started (no memory, no thread); nothing runs then.
    bool start(const ImageFile& image, std::uint64_t packageStart, std::uint32_t groupsStart,
               std::uint32_t groupsEnd);
    // Whether writeEntry can give the content of `entry`, the install thread's next file entry:
    // the helper runs and nothing of the entry has been asked for yet.
    bool holds(const PackageEntry& entry) const {
        return thread_ && !entry.isInBlock() && entry.dataOffset != askedFor_;
    }
    // Hands the entry's content to the writer, moving the progress as writeEntryData does.
    // writeFailed: the writer refused a piece (its own error says why), the rest is dropped.
    // unavailable: the helper could not give it, and has stopped; the writer may have taken some
    // pieces, so the content must be written again from its start.
    Result writeEntry(const PackageEntry& entry, ByteWriter& writer, ProgressSink* progress,
                      std::uint32_t progressTotal);
    // After each file entry of the install thread's walk, written or not: drops what the helper
    // still has of its content, so that the next entry's comes next.
    void finishEntry(const PackageEntry& entry);
    // Stops the helper and waits for its end. Nothing is lost: the install thread can go on
    // making each entry's content itself.
    void stop();

  private:
    struct Piece {
        unsigned char* bytes = nullptr;
        std::uint32_t length = 0;
        std::uint32_t dataOffset = 0;  // the entry it belongs to
        std::uint32_t progress = 0;    // the entry's progress steps at the end of the piece
        bool last = false;             // the entry's content ends with this piece
        bool failed = false;           // the helper could not go on: no content follows
    };
    static constexpr std::uint32_t kPieceCount = 8;
    static constexpr std::uint32_t kPieceSize = 64u * 1024;

    class PieceWriter;
    static DWORD WINAPI helperMain(void* self);
    void produce();
    // The helper's side: the next free piece for the entry at dataOffset, or null when stopping.
    Piece* acquire(std::uint32_t dataOffset);
    void publish();
    // The install thread's side: the next filled piece, or null when the helper has ended
    // without one; release() frees it.
    Piece* take();
    void release();
    // Drops the rest of the entry's pieces; false when the helper fell out of step (it stops).
    bool dropRest(std::uint32_t dataOffset);

    const ImageFile* image_ = nullptr;
    std::uint64_t packageStart_ = 0;
    std::uint32_t groupsStart_ = 0;
    std::uint32_t groupsEnd_ = 0;
    HeapOwned<unsigned char> memory_;  // the pieces' bytes and the helper's inflate buffer
    Piece pieces_[kPieceCount];
    UniqueHandle thread_;
    UniqueHandle filled_;  // set by the helper when the install thread waits for a piece
    UniqueHandle freed_;   // set by the install thread when the helper waits for room
    std::atomic<std::uint32_t> produced_{0};
    std::atomic<std::uint32_t> consumed_{0};
    std::atomic<bool> helperWaits_{false};
    std::atomic<bool> installWaits_{false};
    std::atomic<bool> stopping_{false};
    // The install thread's latest dropped entry: the helper gives up any entry up to it (0, where
    // no content starts, the package header lying there: none dropped yet).
    std::atomic<std::uint32_t> droppedUpTo_{0};
    std::uint32_t askedFor_ = 0;  // the entry writeEntry was last called for
    std::uint32_t finished_ = 0;  // the entry whose last piece the install thread took
};

}  // namespace kelvara
