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

void writeFileEntryHeader(unsigned char* out, const char* name, std::uint32_t depth,
                          bool compressed, const FileEntryInfo& info) {
    out = writeString(out, name);
    writeLe32(out, depth);
    out[kEntryDepthSize] = kEntryFlagFile | (compressed ? kEntryFlagCompressed : 0);
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

namespace {

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
    const bool file = (at[used + kEntryDepthSize] & kEntryFlagFile) != 0;
    return !file || span - used - kEntryDepthSize - kEntryFlagsSize >= kFilePartSize;
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

    group.endOffset = groupEnd;
    group.overwriteMode = readLe32(at + kGroupOverwriteModeField);
    group.decisionRule = readLe32(at + kGroupDecisionRuleField);
    group.shared = readLe32(at + kGroupSharedField);
    group.targetFolder = reinterpret_cast<const char*>(at + kGroupTargetFolderField);
    offset_ = entriesStart;
    groupEnd_ = groupEnd;
    stackHeight_ = 0;
    inGroup_ = true;
    return true;
}

bool PackageWalker::nextEntry(PackageEntry& entry) {
    if (stopped_ || !inGroup_ || offset_ == groupEnd_) return false;
    std::uint32_t left = groupEnd_ - offset_;
    std::uint32_t span = 0;
    const unsigned char* at = headerBytes(left, true, &span);
    if (!at) return false;
    const void* nul = std::memchr(at, 0, span);
    if (!nul) return fail();
    std::uint32_t nameLength =
        static_cast<std::uint32_t>(static_cast<const unsigned char*>(nul) - at);
    if (!isPlainEntryName(reinterpret_cast<const char*>(at), nameLength)) return fail();
    std::uint32_t used = nameLength + 1;
    // The fixed fields after the name lie in the same read (a read shorter than the group's
    // rest holds reach() bytes, far more than any name and its fields).
    if (span - used < kEntryDepthSize + kEntryFlagsSize) return fail();
    std::uint32_t depth = readLe32(at + used);
    std::uint8_t flags = at[used + kEntryDepthSize];
    used += kEntryDepthSize + kEntryFlagsSize;
    PackageEntry decoded;
    decoded.name = reinterpret_cast<const char*>(at);
    decoded.depth = depth;
    decoded.flags = flags;
    // A folder entry sets folder-stack item depth + 1: one at a depth no earlier entry could
    // reach would grow the stack to that index (up to 2^32 items). A file entry only reads the
    // items up to its depth, and items never set are skipped in its path.
    if (!decoded.isFile() && depth > stackHeight_) return fail();
    if (decoded.isFile()) {
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
        decoded.dataOffset = offset_ + used;
        used += info.storedLength;
    } else if (depth + 1 > stackHeight_) {
        stackHeight_ = depth + 1;
    }
    offset_ += used;
    entry = decoded;
    return true;
}

}  // namespace kelvara
