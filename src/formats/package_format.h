// The file groups of a package: the one byte layout the builder writes and the engine reads.
// The groups lie between the package offsets E and S (see formats/image_layout.h), one after the
// other; every offset in them counts from the package start, every number is little-endian.
//
// A group:   end offset (4), overwrite mode (4), decision rule (4), shared flag (4),
//            reserved 0 (4), target folder (NUL-terminated), then its entries up to the end.
// An entry:  name (NUL-terminated, no path), depth (4), flags (1); a file entry continues with
//            the 48-byte file part (kFilePart*) and then its data of "stored length" bytes.
//
// Depth is an index into the folder stack: item 0 is the group's target folder, and a folder
// entry at depth d sets item d + 1. An entry at depth d lies in items 0..d joined with
// backslashes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "formats/package_bytes.h"

namespace kelvara {

// Group header.
constexpr std::size_t kGroupEndOffsetField = 0;
constexpr std::size_t kGroupOverwriteModeField = 4;
constexpr std::size_t kGroupDecisionRuleField = 8;
constexpr std::size_t kGroupSharedField = 12;
constexpr std::size_t kGroupReservedField = 16;
constexpr std::size_t kGroupTargetFolderField = 20;  // the fixed fields end here

// Entry: after the name's NUL come the depth and the flags.
constexpr std::size_t kEntryDepthSize = 4;
constexpr std::size_t kEntryFlagsSize = 1;
constexpr std::uint8_t kEntryFlagFile = 0x01;        // clear: a folder entry
constexpr std::uint8_t kEntryFlagCompressed = 0x02;  // the data is a zlib stream

// The file part after the flags byte. Its first 36 bytes have the layout of the start of a
// WIN32_FIND_DATAA record; times are FILETIMEs (100 ns units since 1601, low dword first).
constexpr std::size_t kFilePartAttributes = 0;
constexpr std::size_t kFilePartCreationTime = 4;
constexpr std::size_t kFilePartLastAccessTime = 12;
constexpr std::size_t kFilePartLastWriteTime = 20;
constexpr std::size_t kFilePartSizeHigh = 28;
constexpr std::size_t kFilePartSizeLow = 32;  // compressed data inflates to exactly this many
constexpr std::size_t kFilePartVersionMs = 36;
constexpr std::size_t kFilePartVersionLs = 40;
constexpr std::size_t kFilePartStoredLength = 44;  // data bytes that follow
constexpr std::size_t kFilePartSize = 48;

// Overwrite modes (group offset 4): what happens to a target that already exists.
constexpr std::uint32_t kOverwriteAlways = 0;
constexpr std::uint32_t kOverwriteNewer = 1;
constexpr std::uint32_t kOverwriteNewerOrSame = 2;
constexpr std::uint32_t kOverwriteOlder = 3;
constexpr std::uint32_t kOverwriteNever = 4;

// Decision rules (group offset 8), applied for the modes newer, newer-or-same and older.
constexpr std::uint32_t kDecideByDate = 0;
constexpr std::uint32_t kDecideByVersion = 1;
constexpr std::uint32_t kDecideByVersionAndDate = 2;

// The names of the overwrite modes and decision rules in a project file and in the builder's
// listing, each at its number.
inline constexpr const char* kOverwriteModeNames[] = {"always", "newer", "newer-or-same", "older",
                                                      "never"};
inline constexpr const char* kDecisionRuleNames[] = {"date", "version", "version-and-date"};
static_assert(std::size(kOverwriteModeNames) == kOverwriteNever + 1 &&
              std::size(kDecisionRuleNames) == kDecideByVersionAndDate + 1);

struct FileGroupHeader {
    std::uint32_t endOffset = 0;  // package offset of the byte after the group's last entry
    std::uint32_t overwriteMode = kOverwriteAlways;
    std::uint32_t decisionRule = kDecideByDate;
    std::uint32_t shared = 0;
    const char* targetFolder = "";  // decoding: points into the package bytes (see PackageWalker)
};

struct FileEntryInfo {
    std::uint32_t attributes = 0;
    std::uint64_t creationTime = 0;
    std::uint64_t lastAccessTime = 0;
    std::uint64_t lastWriteTime = 0;
    std::uint32_t sizeHigh = 0;
    std::uint32_t sizeLow = 0;
    std::uint32_t versionMs = 0;  // 0.0 when the file has no version
    std::uint32_t versionLs = 0;
    std::uint32_t storedLength = 0;
};

struct PackageEntry {
    const char* name = nullptr;  // points into the package bytes (see PackageWalker)
    std::uint32_t depth = 0;
    std::uint8_t flags = 0;
    FileEntryInfo file;            // file entries only
    std::uint32_t dataOffset = 0;  // file entries only: package offset of file.storedLength bytes

    bool isFile() const { return (flags & kEntryFlagFile) != 0; }
    bool isCompressed() const { return (flags & kEntryFlagCompressed) != 0; }
};

// True for a name the engine may join to a folder: not empty, not "." or "..", and without
// the characters that would make it a path (backslash, slash, colon).
bool isPlainEntryName(const char* name, std::size_t length);

// Encoding. Each *Size function gives the bytes its write* function fills; the caller provides
// that much room. Strings must not hold NUL; they are written with their terminator.
std::size_t groupHeaderSize(std::size_t targetFolderLength);
void writeGroupHeader(unsigned char* out, const FileGroupHeader& header);
// Sets the end offset of a group already written (it is known only after its entries).
void patchGroupEndOffset(unsigned char* group, std::uint32_t endOffset);
std::size_t folderEntrySize(std::size_t nameLength);
void writeFolderEntry(unsigned char* out, const char* name, std::uint32_t depth);
// A file entry up to its data; the info's stored length says how many data bytes follow.
std::size_t fileEntryHeaderSize(std::size_t nameLength);
void writeFileEntryHeader(unsigned char* out, const char* name, std::uint32_t depth,
                          bool compressed, const FileEntryInfo& info);

// Walks the groups and entries of a package without ever reading outside it. `bytes` holds the
// package from its start; the groups run from firstEntryOffset (E) to scriptOffset (S). The walk
// stops for good at the first inconsistency: E after S or S past the bytes, a group too short
// for its header or whose end offset lies past S or not after its header, a name or target
// folder without its NUL inside the group (or within one read of the bytes: reach()), an entry
// or data that runs past the group's end, a name that is not a plain name, or a folder entry at
// a depth that no earlier folder entry of the group could reach (depth 0 is always valid). A file
// entry may name any depth: the items never set are skipped in its path.
// The names a group or entry points to stay valid until the next call on the walker or on its
// bytes.
class PackageWalker {
  public:
    PackageWalker(PackageBytes& bytes, std::uint32_t firstEntryOffset, std::uint32_t scriptOffset);

    // The next group; the entries of the current group not yet read are skipped. False at S
    // and when the walk has stopped.
    bool nextGroup(FileGroupHeader& group);
    // The next entry of the current group. False at the group's end and when the walk stopped.
    bool nextEntry(PackageEntry& entry);
    // True when the walk stopped on damaged data rather than at S.
    bool damaged() const { return damaged_; }
    // True when the walk stopped because the bytes could not be read (a view the system refused;
    // the bytes' own error says why).
    bool unreadable() const { return unreadable_; }
    // Package offset of the next byte the walk reads (progress).
    std::uint32_t offset() const { return offset_; }

  private:
    bool fail();
    // The bytes of the group or entry header at the walk's offset: up to `left` of them, at
    // least the whole header when one read holds it (*span of them). Null when they could not be
    // read; the walk has then stopped.
    const unsigned char* headerBytes(std::uint32_t left, bool entry, std::uint32_t* span);

    PackageBytes& bytes_;
    std::uint32_t end_;  // S, once checked against the bytes given
    std::uint32_t offset_;
    std::uint32_t groupEnd_ = 0;
    std::uint32_t stackHeight_ = 0;  // highest folder-stack item set in this group
    bool inGroup_ = false;
    bool stopped_ = false;
    bool damaged_ = false;
    bool unreadable_ = false;
};

}  // namespace kelvara
