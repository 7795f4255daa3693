// The bytes of the file groups, in the layout of formats/package_format.h: a group header for
// each group (its end offset filled in when the group ends), folder entries as the files' paths
// enter folders, and file entries with their data, all given to a GroupOutput in order.
// In a group whose files share blocks, the files' content is gathered into blocks of the block
// size, each packed on a thread of its own while the next fills; a block is written once packed,
// followed by the entries whose content starts in it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <future>
#include <string>
#include <vector>

#include "formats/package_format.h"
#include "kelvara-build/image/block_compression.h"
#include "kelvara-build/image/file_groups.h"

namespace kelvara::build {

class GroupWriter {
  public:
    // `threads`: blocks packed at once, fewer where their encoders would take more than half
    // the machine's memory (about ten times the block size each).
    GroupWriter(GroupOutput& output, std::uint32_t firstEntryOffset, unsigned threads);
    ~GroupWriter();

    // Ends the open group, if any, and starts one: its header's room is reserved, and its
    // condition entry written when it has one.
    void openGroup(const FileGroupSpec& groupSpec);

    // Folder entries for the folders of `dirs` not already on the stack; returns how many.
    std::uint64_t enterFolders(const std::vector<std::string>& dirs);

    // A file entry in the innermost folder entered, followed by its stored data. In a group of
    // blocks it waits with the entries of the block being gathered; so that they do not hold
    // much more than a block, that block is then sealed early.
    void addFile(const std::string& name, const FileEntryInfo& info, bool compressed,
                 const std::vector<unsigned char>& data, std::uint32_t adler);

    // A file entry whose content (`data`, info.sizeLow bytes) goes into the group's blocks.
    void addInBlockFile(const std::string& name, const FileEntryInfo& info,
                        const std::vector<unsigned char>& data, bool x86Code);

    // Writes what the open group still holds and fills in its header with its end offset.
    void closeGroup();

    // False once the package offsets no longer fit 32 bits.
    bool fits() const { return base_ + written_ <= 0xFFFFFFFFu; }
    // Why a block could not be packed; empty while all went well.
    const std::string& error() const { return error_; }
    // The blocks written so far.
    std::uint64_t blockCount() const { return blocks_; }

  private:
    struct Packed {
        PackedBlock block;
        std::uint32_t adler = 1;
        std::string error;
    };
    struct BlockJob {
        std::future<Packed> packed;
        std::vector<unsigned char> entries;  // the entries whose content starts in the block
    };

    std::uint32_t offset() const { return static_cast<std::uint32_t>(base_ + written_); }
    // To the output, or, while blocks are being gathered, after the block being filled.
    void put(const unsigned char* bytes, std::size_t size);
    void write(const unsigned char* bytes, std::size_t size);
    // The content gathered so far becomes a block, packed on a thread of its own.
    void sealBlock();
    // Waits for the oldest block and writes it and its entries.
    void writeOldest();

    GroupOutput& output_;
    std::uint64_t base_;
    std::uint64_t written_ = 0;               // bytes given to the output so far
    std::vector<unsigned char> groupHeader_;  // the open group's header, until its end is known
    std::size_t groupHandle_ = 0;
    std::vector<unsigned char> scratch_;
    std::vector<std::string> folders_;  // the folder stack below the target folder
    bool open_ = false;

    // Blocks of the open group.
    bool inBlocks_ = false;
    std::uint32_t blockSize_ = 1;
    BlockFilter filter_ = BlockFilter::Auto;
    unsigned threads_;
    std::size_t jobsAhead_ = 1;           // blocks packed at once
    std::vector<unsigned char> content_;  // the block being filled
    std::uint64_t contentX86_ = 0;        // bytes of it from x86 code
    std::vector<unsigned char> entries_;  // entries whose content starts in it
    std::deque<BlockJob> jobs_;
    std::uint64_t blocks_ = 0;
    std::string error_;
};

}  // namespace kelvara::build
