#include "install/package_format.h"

#include <cstring>

namespace kelvara {
namespace {

std::uint32_t read32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

std::uint64_t read64(const unsigned char* p) {
    return std::uint64_t(read32(p)) | (std::uint64_t(read32(p + 4)) << 32);
}

void write32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void write64(unsigned char* p, std::uint64_t v) {
    write32(p, static_cast<std::uint32_t>(v));
    write32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

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
    write32(out + kGroupEndOffsetField, header.endOffset);
    write32(out + kGroupOverwriteModeField, header.overwriteMode);
    write32(out + kGroupDecisionRuleField, header.decisionRule);
    write32(out + kGroupSharedField, header.shared);
    write32(out + kGroupReservedField, 0);
    writeString(out + kGroupTargetFolderField, header.targetFolder);
}

void patchGroupEndOffset(unsigned char* group, std::uint32_t endOffset) {
    write32(group + kGroupEndOffsetField, endOffset);
}

std::size_t folderEntrySize(std::size_t nameLength) {
    return nameLength + 1 + kEntryDepthSize + kEntryFlagsSize;
}

void writeFolderEntry(unsigned char* out, const char* name, std::uint32_t depth) {
    out = writeString(out, name);
    write32(out, depth);
    out[kEntryDepthSize] = 0;
}

std::size_t fileEntryHeaderSize(std::size_t nameLength) {
    return folderEntrySize(nameLength) + kFilePartSize;
}

void writeFileEntryHeader(unsigned char* out, const char* name, std::uint32_t depth,
                          bool compressed, const FileEntryInfo& info) {
    out = writeString(out, name);
    write32(out, depth);
    out[kEntryDepthSize] = kEntryFlagFile | (compressed ? kEntryFlagCompressed : 0);
    unsigned char* part = out + kEntryDepthSize + kEntryFlagsSize;
    write32(part + kFilePartAttributes, info.attributes);
    write64(part + kFilePartCreationTime, info.creationTime);
    write64(part + kFilePartLastAccessTime, info.lastAccessTime);
    write64(part + kFilePartLastWriteTime, info.lastWriteTime);
    write32(part + kFilePartSizeHigh, info.sizeHigh);
    write32(part + kFilePartSizeLow, info.sizeLow);
    write32(part + kFilePartVersionMs, info.versionMs);
    write32(part + kFilePartVersionLs, info.versionLs);
    write32(part + kFilePartStoredLength, info.storedLength);
}

PackageWalker::PackageWalker(const unsigned char* package, std::size_t packageSize,
                             std::uint32_t firstEntryOffset, std::uint32_t scriptOffset)
    : package_(package), end_(scriptOffset), offset_(firstEntryOffset) {
    if (!package || firstEntryOffset > scriptOffset || scriptOffset > packageSize) fail();
}

bool PackageWalker::fail() {
    stopped_ = true;
    damaged_ = true;
    return false;
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
    const unsigned char* at = package_ + offset_;
    const void* nul = std::memchr(at + kGroupTargetFolderField, 0, left - kGroupTargetFolderField);
    if (!nul) return fail();
    std::uint32_t entriesStart =
        offset_ + static_cast<std::uint32_t>(static_cast<const unsigned char*>(nul) - at) + 1;
    std::uint32_t groupEnd = read32(at + kGroupEndOffsetField);
    // An end before the entries start (or one that goes backwards) would loop or overlap.
    if (groupEnd < entriesStart || groupEnd > end_) return fail();

    group.endOffset = groupEnd;
    group.overwriteMode = read32(at + kGroupOverwriteModeField);
    group.decisionRule = read32(at + kGroupDecisionRuleField);
    group.shared = read32(at + kGroupSharedField);
    group.targetFolder = reinterpret_cast<const char*>(at + kGroupTargetFolderField);
    offset_ = entriesStart;
    groupEnd_ = groupEnd;
    stackHeight_ = 0;
    inGroup_ = true;
    return true;
}

bool PackageWalker::nextEntry(PackageEntry& entry) {
    if (stopped_ || !inGroup_ || offset_ == groupEnd_) return false;
    const unsigned char* at = package_ + offset_;
    std::uint32_t left = groupEnd_ - offset_;
    const void* nul = std::memchr(at, 0, left);
    if (!nul) return fail();
    std::uint32_t nameLength =
        static_cast<std::uint32_t>(static_cast<const unsigned char*>(nul) - at);
    if (!isPlainEntryName(reinterpret_cast<const char*>(at), nameLength)) return fail();
    std::uint32_t used = nameLength + 1;
    if (left - used < kEntryDepthSize + kEntryFlagsSize) return fail();
    std::uint32_t depth = read32(at + used);
    std::uint8_t flags = at[used + kEntryDepthSize];
    used += kEntryDepthSize + kEntryFlagsSize;
    // Depth names a folder-stack item; one no folder entry has set would make the engine
    // grow the stack to that index (up to 2^32 items).
    if (depth > stackHeight_) return fail();

    PackageEntry decoded;
    decoded.name = reinterpret_cast<const char*>(at);
    decoded.depth = depth;
    decoded.flags = flags;
    if (decoded.isFile()) {
        if (left - used < kFilePartSize) return fail();
        const unsigned char* part = at + used;
        FileEntryInfo& info = decoded.file;
        info.attributes = read32(part + kFilePartAttributes);
        info.creationTime = read64(part + kFilePartCreationTime);
        info.lastAccessTime = read64(part + kFilePartLastAccessTime);
        info.lastWriteTime = read64(part + kFilePartLastWriteTime);
        info.sizeHigh = read32(part + kFilePartSizeHigh);
        info.sizeLow = read32(part + kFilePartSizeLow);
        info.versionMs = read32(part + kFilePartVersionMs);
        info.versionLs = read32(part + kFilePartVersionLs);
        info.storedLength = read32(part + kFilePartStoredLength);
        used += kFilePartSize;
        if (info.storedLength > left - used) return fail();
        decoded.data = at + used;
        used += info.storedLength;
    } else if (depth + 1 > stackHeight_) {
        stackHeight_ = depth + 1;
    }
    offset_ += used;
    entry = decoded;
    return true;
}

}  // namespace kelvara
