#include "kelvara-build/image/file_compression.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>

#include "kelvara-build/image/checksum.h"

namespace kelvara::build {
namespace fs = std::filesystem;

namespace {

// Files compressed ahead of the one being written, per thread: bounds the memory in flight.
constexpr std::size_t kFilesAheadPerThread = 4;
// Smaller files always go into the blocks: what they would save stored is not worth a test.
constexpr std::size_t kSmallestStoredBesideBlocks = 4096;

// `expected`: the size the file had when collected; read straight into place, then whatever a
// file that has grown since holds more.
bool readWholeFile(const fs::path& path, std::uint64_t expected, std::vector<unsigned char>& data,
                   std::string& error) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.string().c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        error = "cannot open '" + path.string() + "'";
        return false;
    }
    data.resize(static_cast<std::size_t>(std::min(expected, kMaxFileSize)));
    std::size_t got = data.empty() ? 0 : std::fread(data.data(), 1, data.size(), file.get());
    data.resize(got);
    std::array<unsigned char, 1 << 16> chunk;
    std::size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        if (data.size() + n > kMaxFileSize) {
            error = "'" + path.string() + "' is larger than 4 GiB";
            return false;
        }
        data.insert(data.end(), chunk.data(), chunk.data() + n);
    }
    if (std::ferror(file.get())) {
        error = "cannot read '" + path.string() + "'";
        return false;
    }
    return true;
}

// A zlib stream ended by a sync flush, without final block or Adler-32 trailer.
// With `limit`, gives up (returns false) once the stream would reach that many bytes.
bool deflateSyncFlushed(const std::vector<unsigned char>& input, std::optional<std::size_t> limit,
                        std::vector<unsigned char>& output, int level = 9) {
    z_stream stream{};
    if (deflateInit(&stream, level) != Z_OK) throw std::runtime_error("zlib: deflateInit failed");
    std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, &deflateEnd);
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    std::size_t capacity = limit
                               ? *limit
                               : std::min<std::size_t>(deflateBound(&stream, stream.avail_in) + 16,
                                                       std::numeric_limits<uInt>::max());
    output.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        stream.next_out = output.data() + used;
        stream.avail_out = static_cast<uInt>(
            std::min<std::size_t>(output.size() - used, std::numeric_limits<uInt>::max()));
        uInt offered = stream.avail_out;
        int result = deflate(&stream, Z_SYNC_FLUSH);
        if (result != Z_OK && result != Z_BUF_ERROR)
            throw std::runtime_error("zlib: deflate failed");
        used += offered - stream.avail_out;
        if (stream.avail_in == 0 && stream.avail_out > 0) break;  // all flushed
        if (limit) return false;                                  // not smaller
        output.resize(output.size() + output.size() / 2 + 64);
    }
    output.resize(used);
    return true;
}

// Whether a fast deflate takes at least a 32nd off `data`. Files that do not shrink so (already
// compressed archives, media, installers) stay out of the blocks: LZMA2 would spend its slowest
// decoding, literal by literal, on bytes it barely shrinks, and they would push useful content
// out of the dictionary.
bool shrinksEnough(const std::vector<unsigned char>& data) {
    std::vector<unsigned char> packed;
    return deflateSyncFlushed(data, data.size() - data.size() / 32, packed, 1);
}

Prepared prepare(const SourceFile& file, Compression compression) {
    Prepared out;
    std::vector<unsigned char> data;
    if (!readWholeFile(file.path, file.size, data, out.error)) return out;
    out.size = static_cast<std::uint32_t>(data.size());
    if (auto version = readPeFileVersion(data.data(), data.size())) out.version = *version;
    if (compression == Compression::Lzma2) {
        // Packed with the group's other files, in its blocks (group_writer.h), unless it hardly
        // compresses: then it is stored beside them.
        out.inBlock = data.size() < kSmallestStoredBesideBlocks || shrinksEnough(data);
        out.x86Code = out.inBlock && isX86PeImage(data.data(), data.size());
        out.data = std::move(data);
        if (!out.inBlock) out.adler = adler32Of(out.data.data(), out.data.size());
        return out;
    }
    if (compression == Compression::Stored || (compression == Compression::Auto && data.empty())) {
        out.data = std::move(data);
        out.adler = adler32Of(out.data.data(), out.data.size());
        return out;
    }
    std::vector<unsigned char> packed;
    std::optional<std::size_t> limit;
    if (compression == Compression::Auto) limit = data.size();
    if (deflateSyncFlushed(data, limit, packed)) {
        if (packed.size() > kMaxFileSize) {
            out.error = "'" + file.relative + "' compresses to more than 4 GiB";
            return out;
        }
        out.data = std::move(packed);
        out.compressed = true;
    } else {
        out.data = std::move(data);
    }
    out.adler = adler32Of(out.data.data(), out.data.size());
    return out;
}

}  // namespace

CompressionPool::CompressionPool(const std::vector<SourceFile>& files,
                                 const std::vector<FileGroupSpec>& groups, unsigned threads)
    : files_(files), groups_(groups), results_(files.size()), ready_(files.size(), false) {
    window_ = std::max<std::size_t>(1, threads * kFilesAheadPerThread);
    for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
}

CompressionPool::~CompressionPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

Prepared CompressionPool::take(std::size_t i) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return ready_[i]; });
    Prepared result = std::move(results_[i]);
    results_[i] = Prepared{};
    taken_ = i + 1;
    lock.unlock();
    changed_.notify_all();
    return result;
}

void CompressionPool::work() {
    for (;;) {
        std::size_t i;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] {
                return stopping_ || next_ >= files_.size() || next_ < taken_ + window_;
            });
            if (stopping_ || next_ >= files_.size()) return;
            i = next_++;
        }
        Prepared result;
        try {
            result = prepare(files_[i], groups_[files_[i].group].compression);
        } catch (const std::exception& e) {
            result = Prepared{};
            result.error = "'" + files_[i].path.string() + "': " + e.what();
        }
        {
            std::lock_guard lock(mutex_);
            results_[i] = std::move(result);
            ready_[i] = true;
        }
        changed_.notify_all();
    }
}

}  // namespace kelvara::build
