#include "formats/stream_inflate.h"

#include "formats/inflate_start.h"
#include "runtime/percent.h"

#include <cstring>

namespace kelvara {
namespace {

constexpr std::size_t kInputChunk = 4096;  // input offered per step, as inflateBuffer does

// Progress in the same steps as inflateBuffer: base plus the consumed share of the total.
class ProgressSteps {
  public:
    ProgressSteps(ProgressSink* sink, std::uint32_t total)
        : sink_(total != 0 ? sink : nullptr), total_(total) {
        base_ = sink_ ? static_cast<std::uint32_t>(sink_->position()) : 0;
        last_ = base_;
    }
    void consumed(std::uint32_t bytes) {
        if (!sink_) return;
        const std::uint32_t position = percentOf(bytes, total_) + base_;
        if (position == last_) return;
        sink_->setPosition(static_cast<int>(position));
        last_ = position;
    }

  private:
    ProgressSink* sink_;
    std::uint32_t total_;
    std::uint32_t base_ = 0;
    std::uint32_t last_ = 0;
};

// Writes the buffer's filled part, at most what is still owed.
bool flush(ByteWriter& writer, const unsigned char* buffer, std::size_t filled,
           std::uint32_t& owed) {
    std::size_t length = filled < owed ? filled : owed;
    if (length == 0) return true;
    owed -= static_cast<std::uint32_t>(length);
    return writer.write(buffer, length);
}

}  // namespace

bool inflateToWriter(PackageBytes& source, std::uint32_t srcOffset, std::uint32_t srcLen,
                     std::uint32_t outLength, ByteWriter& writer, unsigned char* buffer,
                     std::size_t bufferSize, ProgressSink* progress, std::uint32_t progressTotal) {
    z_stream stream = {};
    if (!startInflate(stream)) return false;
    ProgressSteps steps(progress, progressTotal);
    std::uint32_t owed = outLength;
    std::size_t offered = 0;
    bool ended = false;  // the stream ended, broke, or produced all that is owed
    bool ok = true;
    stream.next_out = buffer;
    stream.avail_out = static_cast<uInt>(bufferSize);
    while (ok && !ended && offered < srcLen) {
        // (A source whose reads are shorter than a chunk, as in tests, is offered less at once.)
        const std::uint32_t most = source.reach() < kInputChunk ? source.reach() : kInputChunk;
        const auto chunk =
            static_cast<std::uint32_t>(srcLen - offered < most ? srcLen - offered : most);
        // Each chunk is used up before the next is asked for: inflate keeps no pointer into it.
        const unsigned char* src =
            source.bytesAt(srcOffset + static_cast<std::uint32_t>(offered), chunk);
        if (!src) {
            ok = false;
            break;
        }
        stream.next_in = const_cast<Bytef*>(src);
        stream.avail_in = static_cast<uInt>(chunk);
        offered += chunk;
        for (;;) {
            int result = inflate(&stream, Z_NO_FLUSH);
            bool full = stream.avail_out == 0;
            if (result == Z_STREAM_END || result == Z_NEED_DICT || result == Z_DATA_ERROR ||
                result == Z_STREAM_ERROR || result == Z_MEM_ERROR) {
                ended = true;
            }
            if (full || ended) {
                ok = flush(writer, buffer, bufferSize - stream.avail_out, owed);
                stream.next_out = buffer;
                stream.avail_out = static_cast<uInt>(bufferSize);
                if (owed == 0) ended = true;
            }
            if (ended || !ok) break;
            // A full buffer may leave output pending inside the inflater: ask again. Otherwise
            // this piece of input is used up, or nothing more can come of it.
            if (!full) break;
        }
        steps.consumed(static_cast<std::uint32_t>(offered));
    }
    // Output still in the buffer, then zeros for a stream that ended short.
    if (ok) ok = flush(writer, buffer, bufferSize - stream.avail_out, owed);
    if (ok && owed != 0) {
        std::memset(buffer, 0, bufferSize);
        while (ok && owed != 0) ok = flush(writer, buffer, bufferSize, owed);
    }
    if (ok) steps.consumed(srcLen);
    inflateEnd(&stream);
    return ok;
}

bool writeEntryData(PackageBytes& source, const PackageEntry& entry, ByteWriter& writer,
                    unsigned char* buffer, std::size_t bufferSize, ProgressSink* progress,
                    std::uint32_t progressTotal) {
    const FileEntryInfo& file = entry.file;
    if (entry.isCompressed()) {
        return inflateToWriter(source, entry.dataOffset, file.storedLength, file.sizeLow, writer,
                               buffer, bufferSize, progress, progressTotal);
    }
    ProgressSteps steps(progress, progressTotal);
    std::uint32_t piece = source.reach();
    if (bufferSize < piece) piece = static_cast<std::uint32_t>(bufferSize);
    for (std::uint32_t done = 0; done < file.storedLength;) {
        std::uint32_t length = file.storedLength - done < piece ? file.storedLength - done : piece;
        // A piece ends where the view does: the view moves only when none of it is left.
        const unsigned char* bytes = source.bytesUpTo(entry.dataOffset + done, length, &length);
        if (!bytes || !writer.write(bytes, length)) return false;
        done += length;
        steps.consumed(done);
    }
    return true;
}

}  // namespace kelvara
