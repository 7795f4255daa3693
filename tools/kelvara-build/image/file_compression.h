// The packaged files' bytes: each source file read whole, its version taken, and deflated (or
// stored, or left for a group's blocks) on worker threads a few files ahead of the writer, which
// takes them in order.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "kelvara-build/image/file_groups.h"
#include "kelvara-build/image/pe_version.h"
#include "kelvara-build/image/source_files.h"

namespace kelvara::build {

// One file as the package stores it, or why it could not be (`error`).
struct Prepared {
    std::vector<unsigned char> data;  // as stored in the package (in a block: the file's bytes)
    bool compressed = false;
    bool inBlock = false;     // its bytes go into the group's blocks, not after its entry
    bool x86Code = false;     // an x86 or x64 PE image (the block filter looks)
    std::uint32_t size = 0;   // the file's size
    std::uint32_t adler = 1;  // Adler-32 of data, so the image checksum needs no second pass
    FileVersion version;
    std::string error;
};

// Workers take files in order, at most `window` ahead of the one the writer waits for.
class CompressionPool {
  public:
    // Starts `threads` workers over `files`, each compressed as its group says.
    CompressionPool(const std::vector<SourceFile>& files, const std::vector<FileGroupSpec>& groups,
                    unsigned threads);
    ~CompressionPool();
    CompressionPool(const CompressionPool&) = delete;
    CompressionPool& operator=(const CompressionPool&) = delete;

    // Waits for file i and hands its result over; files must be taken in order.
    Prepared take(std::size_t i);

  private:
    void work();

    const std::vector<SourceFile>& files_;
    const std::vector<FileGroupSpec>& groups_;
    std::vector<Prepared> results_;
    std::vector<bool> ready_;
    std::size_t next_ = 0;
    std::size_t taken_ = 0;
    std::size_t window_ = 1;
    bool stopping_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::thread> workers_;  // last: started once everything above exists
};

}  // namespace kelvara::build
