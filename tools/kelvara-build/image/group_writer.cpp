#include "kelvara-build/image/group_writer.h"

#include <algorithm>
#include <exception>

#include <unistd.h>

#include "formats/package_format.h"
#include "kelvara-build/image/block_compression.h"
#include "kelvara-build/image/checksum.h"

namespace kelvara::build {

namespace {

// The machine's memory, 0 where it is not known.
std::uint64_t physicalMemory() {
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGE_SIZE)
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0) return std::uint64_t(pages) * std::uint64_t(pageSize);
#endif
    return 0;
}

}  // namespace

GroupWriter::GroupWriter(GroupOutput& output, std::uint32_t firstEntryOffset, unsigned threads)
    : output_(output), base_(firstEntryOffset), threads_(std::max(1u, threads)) {}

GroupWriter::~GroupWriter() {
    // Blocks still being packed (a build that stopped early) are waited for, never left running.
    for (BlockJob& job : jobs_) {
        if (job.packed.valid()) job.packed.wait();
    }
}

void GroupWriter::openGroup(const FileGroupSpec& groupSpec) {
    closeGroup();
    FileGroupHeader header;
    header.overwriteMode = static_cast<std::uint32_t>(groupSpec.overwrite);
    header.decisionRule = static_cast<std::uint32_t>(groupSpec.rule);
    header.shared = groupSpec.shared ? 1 : 0;
    header.targetFolder = groupSpec.targetFolder.c_str();
    groupHeader_.assign(groupHeaderSize(groupSpec.targetFolder.size()), 0);
    writeGroupHeader(groupHeader_.data(), header);
    groupHandle_ = output_.reserve(groupHeader_.size());
    written_ += groupHeader_.size();
    if (groupSpec.conditioned) {
        // The group's first entry, before any block is gathered: written at once.
        scratch_.assign(conditionEntrySize(), 0);
        writeConditionEntry(scratch_.data(), groupSpec.conditionComponents,
                            groupSpec.conditionTasks);
        write(scratch_.data(), scratch_.size());
    }
    folders_.clear();
    inBlocks_ = groupSpec.compression == Compression::Lzma2;
    blockSize_ = std::clamp<std::uint32_t>(groupSpec.blockSize, 1, kLargestBlockContent);
    jobsAhead_ = threads_;
    if (const std::uint64_t memory = physicalMemory(); inBlocks_ && memory != 0) {
        const std::uint64_t fit = memory / 2 / blockPackingMemory(blockSize_);
        jobsAhead_ = static_cast<std::size_t>(std::clamp<std::uint64_t>(fit, 1, threads_));
    }
    filter_ = groupSpec.blockFilter;
    open_ = true;
}

std::uint64_t GroupWriter::enterFolders(const std::vector<std::string>& dirs) {
    std::size_t common = 0;
    while (common < dirs.size() && common < folders_.size() && dirs[common] == folders_[common])
        ++common;
    folders_.resize(common);
    for (std::size_t depth = common; depth < dirs.size(); ++depth) {
        const std::string& name = dirs[depth];
        scratch_.assign(folderEntrySize(name.size()), 0);
        writeFolderEntry(scratch_.data(), name.c_str(), static_cast<std::uint32_t>(depth));
        put(scratch_.data(), scratch_.size());
        folders_.push_back(name);
    }
    return dirs.size() - common;
}

void GroupWriter::addFile(const std::string& name, const FileEntryInfo& info, bool compressed,
                          const std::vector<unsigned char>& data, std::uint32_t adler) {
    scratch_.assign(fileEntryHeaderSize(name.size()), 0);
    writeFileEntryHeader(scratch_.data(), name.c_str(), static_cast<std::uint32_t>(folders_.size()),
                         compressed, info);
    put(scratch_.data(), scratch_.size());
    if (inBlocks_) {
        entries_.insert(entries_.end(), data.begin(), data.end());
        if (entries_.size() < blockSize_) return;
        if (!content_.empty()) {
            sealBlock();
        } else {
            // Nothing gathered that the entries start in: they go out after the blocks before.
            while (!jobs_.empty()) writeOldest();
            write(entries_.data(), entries_.size());
            entries_.clear();
        }
        return;
    }
    if (!data.empty()) {
        output_.append(data.data(), data.size(), adler);
        written_ += data.size();
    }
}

void GroupWriter::addInBlockFile(const std::string& name, const FileEntryInfo& info,
                                 const std::vector<unsigned char>& data, bool x86Code) {
    scratch_.assign(fileEntryHeaderSize(name.size()), 0);
    writeInBlockFileEntry(scratch_.data(), name.c_str(),
                          static_cast<std::uint32_t>(folders_.size()), info);
    entries_.insert(entries_.end(), scratch_.begin(), scratch_.end());
    // The content fills the block being gathered; a file larger than the room left goes on in
    // the blocks after it.
    std::size_t at = 0;
    while (at < data.size()) {
        if (content_.empty()) content_.reserve(blockSize_);
        const std::size_t n = std::min<std::size_t>(data.size() - at, blockSize_ - content_.size());
        content_.insert(content_.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                        data.begin() + static_cast<std::ptrdiff_t>(at + n));
        if (x86Code) contentX86_ += n;
        at += n;
        if (content_.size() == blockSize_) sealBlock();
    }
}

void GroupWriter::sealBlock() {
    const bool x86 = filter_ == BlockFilter::X86 ||
                     (filter_ == BlockFilter::Auto && contentX86_ * 2 >= content_.size());
    BlockJob job;
    job.entries = std::move(entries_);
    entries_.clear();
    job.packed = std::async(std::launch::async, [content = std::move(content_), x86]() -> Packed {
        Packed packed;
        try {
            packed.block = packBlock(content.data(), content.size(), x86);
            packed.adler = adler32Of(packed.block.bytes.data(), packed.block.bytes.size());
        } catch (const std::exception& e) {
            packed.error = e.what();
        }
        return packed;
    });
    content_ = {};
    contentX86_ = 0;
    jobs_.push_back(std::move(job));
    // Only so many blocks are packed at once: each holds its content until written.
    while (jobs_.size() > jobsAhead_) writeOldest();
}

void GroupWriter::writeOldest() {
    BlockJob job = std::move(jobs_.front());
    jobs_.pop_front();
    Packed packed = job.packed.get();
    if (!packed.error.empty()) {
        if (error_.empty()) error_ = packed.error;
        return;
    }
    scratch_.assign(blockEntryHeaderSize(), 0);
    writeBlockEntryHeader(scratch_.data(), packed.block.info);
    write(scratch_.data(), scratch_.size());
    output_.append(packed.block.bytes.data(), packed.block.bytes.size(), packed.adler);
    written_ += packed.block.bytes.size();
    ++blocks_;
    write(job.entries.data(), job.entries.size());
}

void GroupWriter::closeGroup() {
    if (!open_) return;
    if (inBlocks_) {
        if (!content_.empty()) sealBlock();
        while (!jobs_.empty()) writeOldest();
        // Entries after the last block's content: folders, empty files.
        write(entries_.data(), entries_.size());
        entries_.clear();
        inBlocks_ = false;
    }
    patchGroupEndOffset(groupHeader_.data(), offset());
    output_.fill(groupHandle_, groupHeader_.data(), groupHeader_.size());
    open_ = false;
}

void GroupWriter::put(const unsigned char* bytes, std::size_t size) {
    if (inBlocks_) {
        entries_.insert(entries_.end(), bytes, bytes + size);
        return;
    }
    write(bytes, size);
}

void GroupWriter::write(const unsigned char* bytes, std::size_t size) {
    if (size == 0) return;
    output_.append(bytes, size);
    written_ += size;
}

}  // namespace kelvara::build
