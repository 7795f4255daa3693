#include "formats/package_format.h"

#include <cstring>

#include "runtime/byte_order.h"

namespace kelvara {
namespace {

// Copies the string with its NUL; returns the byte after it.
unsigned char* writeString(unsigned char* out, const char* text) {
    std::size_t length = std::strlen(text);
    std::memcpy(out, text, length + 1);
    return out + length + 1;
}

}  // namespace

bool isPlainEntryName(const char* name, std::size_t length) {
    if (length == 0) return false;
    if (length == 1 && name[0] == '.') return false;
    if (length == 2 && name[0] == '.' && name[1] == '.') return false;
    for (std::size_t i = 0; i < length; ++i) {
        char c = name[i];
        if (c == '\\' || c == '/' || c == ':' || c == '\0') return false;
    }
    return true;
}

std::size_t groupHeaderSize(std::size_t targetFolderLength) {
    return kGroupTargetFolderField + targetFolderLength + 1;
}

void writeGroupHeader(unsigned char* out, const FileGroupHeader& header) {
    writeLe32(out + kGroupEndOffsetField, header.endOffset);
    writeLe32(out + kGroupOverwriteModeField, header.overwriteMode);
    writeLe32(out + kGroupDecisionRuleField, header.decisionRule);
    writeLe32(out + kGroupSharedField, header.shared);
    writeLe32(out + kGroupReservedField, 0);
    writeString(out + kGroupTargetFolderField, header.targetFolder);
}

void patchGroupEndOffset(unsigned char* group, std::uint32_t endOffset) {
    writeLe32(group + kGroupEndOffsetField, endOffset);
}

std::size_t folderEntrySize(std::size_t nameLength) {
    return nameLength + 1 + kEntryDepthSize + kEntryFlagsSize;
}

void writeFolderEntry(unsigned char* out, const char* name, std::uint32_t depth) {
    out = writeString(out, name);
    writeLe32(out, depth);
    out[kEntryDepthSize] = 0;
}

std::size_t fileEntryHeaderSize(std::size_t nameLength) {
    return folderEntrySize(nameLength) + kFilePartSize;
}

namespace {

void writeFileEntry(unsigned char* out, const char* name, std::uint32_t depth, std::uint8_t flags,
                    const FileEntryInfo& info) {
    out = writeString(out, name);
    writeLe32(out, depth);
    out[kEntryDepthSize] = flags;
    unsigned char* part = out + kEntryDepthSize + kEntryFlagsSize;
    writeLe32(part + kFilePartAttributes, info.attributes);
    writeLe64(part + kFilePartCreationTime, info.creationTime);
    writeLe64(part + kFilePartLastAccessTime, info.lastAccessTime);
    writeLe64(part + kFilePartLastWriteTime, info.lastWriteTime);
    writeLe32(part + kFilePartSizeHigh, info.sizeHigh);
    writeLe32(part + kFilePartSizeLow, info.sizeLow);
    writeLe32(part + kFilePartVersionMs, info.versionMs);
    writeLe32(part + kFilePartVersionLs, info.versionLs);
    writeLe32(part + kFilePartStoredLength, info.storedLength);
}

}  // namespace

void writeFileEntryHeader(unsigned char* out, const char* name, std::uint32_t depth,
                          bool compressed, const FileEntryInfo& info) {
    writeFileEntry(out, name, depth, kEntryFlagFile | (compressed ? kEntryFlagCompressed : 0),
                   info);
}

void writeInBlockFileEntry(unsigned char* out, const char* name, std::uint32_t depth,
                           const FileEntryInfo& info) {
    FileEntryInfo noData = info;
    noData.storedLength = 0;
    writeFileEntry(out, name, depth, kEntryFlagFile | kEntryFlagInBlock, noData);
}

std::size_t blockEntryHeaderSize() {
    return folderEntrySize(0) + kBlockPartSize;
}

void writeBlockEntryHeader(unsigned char* out, const BlockInfo& info) {
    out[0] = 0;  // no name
    writeLe32(out + 1, 0);
    out[1 + kEntryDepthSize] = kEntryFlagBlock;
    unsigned char* part = out + 1 + kEntryDepthSize + kEntryFlagsSize;
    part[kBlockPartMethod] = info.method;
    part[kBlockPartFilter] = info.filter;
    part[kBlockPartProperty] = info.property;
    part[kBlockPartReserved] = 0;
    writeLe32(part + kBlockPartContentLength, info.contentLength);
    writeLe32(part + kBlockPartPackedLength, info.packedLength);
}

std::size_t conditionEntrySize() {
    return folderEntrySize(0) + kConditionPartSize;
}

void writeConditionEntry(unsigned char* out, std::uint32_t components, std::uint32_t tasks) {
    out[0] = 0;  // no name
    writeLe32(out + 1, 0);
    out[1 + kEntryDepthSize] = kEntryFlagCondition;
    unsigned char* part = out + 1 + kEntryDepthSize + kEntryFlagsSize;
    writeLe32(part + kConditionPartComponents, components);
    writeLe32(part + kConditionPartTasks, tasks);
}

std::uint32_t lzma2DictionarySize(std::uint8_t property) {
    if (property >= kLargestLzma2Property) return 0xFFFFFFFFu;
    return (2u | (property & 1u)) << (property / 2 + 11);
}

std::uint8_t lzma2PropertyFor(std::uint32_t length) {
    std::uint8_t property = 0;
    while (property < kLargestLzma2Property && lzma2DictionarySize(property) < length) ++property;
    return property;
}

PackageWalker::PackageWalker(PackageBytes& bytes, std::uint32_t firstEntryOffset,
                             std::uint32_t scriptOffset)
    : bytes_(bytes), end_(scriptOffset), offset_(firstEntryOffset) {
    if (firstEntryOffset > scriptOffset || scriptOffset > bytes.size()) fail();
}

bool PackageWalker::fail() {
    stopped_ = true;
    damaged_ = true;
    return false;
}

bool PackageWalker::stopUnreadable() {
    stopped_ = true;
    unreadable_ = true;
    return false;
}

namespace {

// The bytes of a condition entry: its empty name, depth, flags and the two masks.
constexpr std::uint32_t kConditionEntryRoom =
    1 + kEntryDepthSize + kEntryFlagsSize + kConditionPartSize;

// A group header is complete in `span` bytes when its target folder's NUL lies in them.
bool groupHeaderIn(const unsigned char* at, std::uint32_t span) {
    return span > kGroupTargetFolderField &&
           std::memchr(at + kGroupTargetFolderField, 0, span - kGroupTargetFolderField);
}

// An entry header is complete in `span` bytes when its name, depth, flags and (for a file) the
// file part lie in them.
bool entryHeaderIn(const unsigned char* at, std::uint32_t span) {
    const void* nul = std::memchr(at, 0, span);
    if (!nul) return false;
    const auto used = static_cast<std::uint32_t>(static_cast<const unsigned char*>(nul) - at) + 1;
    if (span - used < kEntryDepthSize + kEntryFlagsSize) return false;
    const std::uint8_t flags = at[used + kEntryDepthSize];
    const std::uint32_t part = (flags & kEntryFlagFile)        ? kFilePartSize
                               : (flags & kEntryFlagBlock)     ? kBlockPartSize
                               : (flags & kEntryFlagCondition) ? kConditionPartSize
                                                               : 0;
    return span - used - kEntryDepthSize - kEntryFlagsSize >= part;
}

}  // namespace

const unsigned char* PackageWalker::headerBytes(std::uint32_t left, bool entry,
                                                std::uint32_t* span) {
    const std::uint32_t reach = bytes_.reach();
    const std::uint32_t most = left < reach ? left : reach;
    // What the current view holds first: a header seldom needs more, and asking for all that
    // one read gives would move the view at nearly every entry.
    const unsigned char* at = bytes_.bytesUpTo(offset_, most, span);
    if (at && *span < most && !(entry ? entryHeaderIn(at, *span) : groupHeaderIn(at, *span))) {
        at = bytes_.bytesAt(offset_, most);
        *span = most;
    }
    if (!at) {
        // Inside the package by the checks above: the bytes exist but could not be read.
        stopped_ = true;
        unreadable_ = true;
    }
    return at;
}

bool PackageWalker::nextGroup(FileGroupHeader& group) {
    if (stopped_) return false;
    if (inGroup_) offset_ = groupEnd_;  // skip what the caller did not read
    inGroup_ = false;
    if (offset_ == end_) {
        stopped_ = true;
        return false;
    }
    std::uint32_t left = end_ - offset_;
    if (left <= kGroupTargetFolderField) return fail();
    std::uint32_t span = 0;
    const unsigned char* at = headerBytes(left, false, &span);
    if (!at) return false;
    // A target folder longer than one read can hold is no folder any system could have.
    const void* nul = std::memchr(at + kGroupTargetFolderField, 0, span - kGroupTargetFolderField);
    if (!nul) return fail();
    std::uint32_t entriesStart =
        offset_ + static_cast<std::uint32_t>(static_cast<const unsigned char*>(nul) - at) + 1;
    std::uint32_t groupEnd = readLe32(at + kGroupEndOffsetField);
    // An end before the entries start (or one that goes backwards) would loop or overlap.
    if (groupEnd < entriesStart || groupEnd > end_) return fail();
    // The condition entry, when there is one, is read with the header: a read of its own could
    // move the view away from the target folder the group points to. Where the two do not fit
    // one read, the header is read again after it.
    const std::uint32_t conditionEnd = groupEnd - entriesStart < kConditionEntryRoom
                                           ? groupEnd
                                           : entriesStart + kConditionEntryRoom;
    const std::uint32_t whole = conditionEnd - offset_;
    const bool apart = whole > bytes_.reach();
    const unsigned char* condition = at + (entriesStart - offset_);
    if (whole > span) {
        if (apart) {
            condition = bytes_.bytesAt(entriesStart, conditionEnd - entriesStart);
        } else {
            at = bytes_.bytesAt(offset_, whole);
            condition = at ? at + (entriesStart - offset_) : nullptr;
        }
        if (!condition) return stopUnreadable();
    }
    std::uint32_t conditionSize = 0;
    if (!readCondition(condition, conditionEnd - entriesStart, group, &conditionSize)) {
        return fail();
    }
    if (apart && !(at = bytes_.bytesAt(offset_, entriesStart - offset_))) return stopUnreadable();

    group.endOffset = groupEnd;
    group.overwriteMode = readLe32(at + kGroupOverwriteModeField);
    group.decisionRule = readLe32(at + kGroupDecisionRuleField);
    group.shared = readLe32(at + kGroupSharedField);
    group.targetFolder = reinterpret_cast<const char*>(at + kGroupTargetFolderField);
    offset_ = entriesStart + conditionSize;
    groupEnd_ = groupEnd;
    stackHeight_ = 0;
    blockContent_ = 0;
    fileContent_ = 0;
    inGroup_ = true;
    return true;
}

bool PackageWalker::readCondition(const unsigned char* at, std::uint32_t span,
                                  FileGroupHeader& group, std::uint32_t* size) {
    group.conditionComponents = 0;
    group.conditionTasks = 0;
    // An empty name, the depth, then the flags: anything else is an entry readEntry judges.
    constexpr std::uint32_t kHead = 1 + kEntryDepthSize + kEntryFlagsSize;
    if (span < kHead || at[0] != 0 || at[kHead - 1] != kEntryFlagCondition) return true;
    if (readLe32(at + 1) != 0 || span - kHead < kConditionPartSize) return false;
    group.conditionComponents = readLe32(at + kHead + kConditionPartComponents);
    group.conditionTasks = readLe32(at + kHead + kConditionPartTasks);
    *size = kHead + kConditionPartSize;
    return true;
}

bool PackageWalker::nextEntry(PackageEntry& entry) {
    for (;;) {
        if (stopped_ || !inGroup_) return false;
        if (offset_ == groupEnd_) {
            // Every byte of the blocks' content belongs to a file, and every file's to a block.
            if (fileContent_ != blockContent_) return fail();
            return false;
        }
        PackageEntry decoded;
        if (!readEntry(decoded)) return false;
        if (decoded.isBlock() && !includeBlocks_) continue;
        entry = decoded;
        return true;
    }
}

bool PackageWalker::readBlock(const unsigned char* part, std::uint32_t left, PackageEntry& entry) {
    // `left`: the group's bytes from the block part on; the part itself lies in the read.
    if (left < kBlockPartSize) return fail();
    BlockInfo& block = entry.block;
    block.method = part[kBlockPartMethod];
    block.filter = part[kBlockPartFilter];
    block.property = part[kBlockPartProperty];
    block.contentLength = readLe32(part + kBlockPartContentLength);
    block.packedLength = readLe32(part + kBlockPartPackedLength);
    if (block.method != kBlockMethodLzma2 || block.property > kLargestLzma2Property ||
        (block.filter != kBlockFilterNone && block.filter != kBlockFilterX86) ||
        part[kBlockPartReserved] != 0 || block.contentLength == 0 ||
        block.contentLength > kLargestBlockContent || block.packedLength > left - kBlockPartSize) {
        return fail();
    }
    // A block comes once the content before it is claimed: a reader never holds more than the
    // blocks the current file needs.
    if (fileContent_ < blockContent_) return fail();
    entry.contentOffset = blockContent_;
    blockContent_ += block.contentLength;
    if (block.contentLength > largestBlock_) largestBlock_ = block.contentLength;
    return true;
}

bool PackageWalker::claimContent(PackageEntry& entry) {
    const FileEntryInfo& info = entry.file;
    if (entry.isCompressed() || info.storedLength != 0 || info.sizeHigh != 0) return fail();
    // Its content starts in a block already met (an empty file claims nothing).
    if (info.sizeLow != 0 && fileContent_ >= blockContent_) return fail();
    entry.contentOffset = fileContent_;
    fileContent_ += info.sizeLow;
    return true;
}

bool PackageWalker::readEntry(PackageEntry& decoded) {
    std::uint32_t left = groupEnd_ - offset_;
    std::uint32_t span = 0;
    const unsigned char* at = headerBytes(left, true, &span);
    if (!at) return false;
    const void* nul = std::memchr(at, 0, span);
    if (!nul) return fail();
    std::uint32_t nameLength =
        static_cast<std::uint32_t>(static_cast<const unsigned char*>(nul) - at);
    std::uint32_t used = nameLength + 1;
    // The fixed fields after the name lie in the same read (a read shorter than the group's
    // rest holds reach() bytes, far more than any name and its fields).
    if (span - used < kEntryDepthSize + kEntryFlagsSize) return fail();
    std::uint32_t depth = readLe32(at + used);
    std::uint8_t flags = at[used + kEntryDepthSize];
    used += kEntryDepthSize + kEntryFlagsSize;
    decoded.name = reinterpret_cast<const char*>(at);
    decoded.depth = depth;
    decoded.flags = flags;
    // A condition entry is read with the group's header, and nowhere else.
    if ((flags & ~kEntryFlagsKnown) != 0 || (flags & kEntryFlagCondition)) return fail();
    if (decoded.isBlock()) {
        if (nameLength != 0 || depth != 0 || flags != kEntryFlagBlock) return fail();
        if (span - used < kBlockPartSize || !readBlock(at + used, left - used, decoded))
            return fail();
        used += kBlockPartSize;
        decoded.dataOffset = offset_ + used;
        used += decoded.block.packedLength;
        offset_ += used;
        return true;
    }
    if (!isPlainEntryName(reinterpret_cast<const char*>(at), nameLength)) return fail();
    // A folder entry sets folder-stack item depth + 1: one at a depth no earlier entry could
    // reach would grow the stack to that index (up to 2^32 items). A file entry only reads the
    // items up to its depth, and items never set are skipped in its path.
    if (!decoded.isFile()) {
        if (depth > stackHeight_ || decoded.isInBlock()) return fail();
        if (depth + 1 > stackHeight_) stackHeight_ = depth + 1;
        offset_ += used;
        return true;
    }
    if (span - used < kFilePartSize) return fail();
    const unsigned char* part = at + used;
    FileEntryInfo& info = decoded.file;
    info.attributes = readLe32(part + kFilePartAttributes);
    info.creationTime = readLe64(part + kFilePartCreationTime);
    info.lastAccessTime = readLe64(part + kFilePartLastAccessTime);
    info.lastWriteTime = readLe64(part + kFilePartLastWriteTime);
    info.sizeHigh = readLe32(part + kFilePartSizeHigh);
    info.sizeLow = readLe32(part + kFilePartSizeLow);
    info.versionMs = readLe32(part + kFilePartVersionMs);
    info.versionLs = readLe32(part + kFilePartVersionLs);
    info.storedLength = readLe32(part + kFilePartStoredLength);
    used += kFilePartSize;
    if (info.storedLength > left - used) return fail();
    if (decoded.isInBlock() && !claimContent(decoded)) return false;
    decoded.dataOffset = offset_ + used;
    used += info.storedLength;
    offset_ += used;
    return true;
}

}  // namespace kelvara
