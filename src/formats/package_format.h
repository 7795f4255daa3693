// The file groups of a package: the one byte layout the builder writes and the engine reads.
// The groups lie between the package offsets E and S (see formats/image_layout.h), one after the
// other; every offset in them counts from the package start, every number is little-endian.
//
// A group:   end offset (4), overwrite mode (4), decision rule (4), shared flag (4),
//            reserved 0 (4), target folder (NUL-terminated), then its entries up to the end.
// An entry:  name (NUL-terminated, no path), depth (4), flags (1); a file entry continues with
//            the 48-byte file part (kFilePart*) and then its data of "stored length" bytes.
// A block:   an entry with an empty name, depth 0 and the block flag alone, then the 12-byte
//            block part (kBlockPart*) and the block's packed bytes. The content of a group's
//            blocks, one after the other, is the content of its in-block file entries, one after
//            the other: several files share one compressed stream, and a large file spans
//            several blocks. A block comes before the entries whose content starts in it, and
//            only once the entries met so far have claimed all the content of the blocks before
//            it. Engines that know no blocks refuse the empty name as damage.
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
constexpr std::uint8_t kEntryFlagInBlock = 0x04;     // the content lies in the group's blocks
constexpr std::uint8_t kEntryFlagBlock = 0x08;       // a block entry (no name, no file)
// A condition entry: no name, depth 0, this flag alone, then the components and tasks masks
// (u32 each) that the group's files need (see choiceConditionMet). Only as a group's first entry.
// An image with components or tasks has one in every group, so that no older engine installs it.
constexpr std::uint8_t kEntryFlagCondition = 0x10;
constexpr std::uint8_t kEntryFlagsKnown = kEntryFlagFile | kEntryFlagCompressed |
                                          kEntryFlagInBlock | kEntryFlagBlock | kEntryFlagCondition;
constexpr std::size_t kConditionPartComponents = 0;
constexpr std::size_t kConditionPartTasks = 4;
constexpr std::size_t kConditionPartSize = 8;

// The block part after a block entry's flags byte.
constexpr std::size_t kBlockPartMethod = 0;         // 1 byte: kBlockMethod*
constexpr std::size_t kBlockPartFilter = 1;         // 1 byte: kBlockFilter*
constexpr std::size_t kBlockPartProperty = 2;       // 1 byte: the method's own (LZMA2: dictionary)
constexpr std::size_t kBlockPartReserved = 3;       // 1 byte: 0
constexpr std::size_t kBlockPartContentLength = 4;  // bytes the block decodes to
constexpr std::size_t kBlockPartPackedLength = 8;   // packed bytes that follow
constexpr std::size_t kBlockPartSize = 12;

// Block methods and filters. An engine refuses an image with one it does not know as damaged.
constexpr std::uint8_t kBlockMethodLzma2 = 1;  // a raw LZMA2 stream, ended by its end marker
constexpr std::uint8_t kBlockFilterNone = 0;
constexpr std::uint8_t kBlockFilterX86 = 1;  // x86 branch conversion (BCJ) after decoding, from 0
constexpr std::uint8_t kLargestLzma2Property = 40;
// The most a block decodes to: an engine holds a few blocks at a time in memory.
constexpr std::uint32_t kLargestBlockContent = 64u << 20;
inline constexpr const char* kBlockMethodNames[] = {"", "lzma2"};
inline constexpr const char* kBlockFilterNames[] = {"none", "x86"};

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
    // The group's condition entry, when it has one: the components and tasks its files need
    // (0 and 0: none, the files are always installed).
    std::uint32_t conditionComponents = 0;
    std::uint32_t conditionTasks = 0;
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

struct BlockInfo {
    std::uint8_t method = kBlockMethodLzma2;
    std::uint8_t filter = kBlockFilterNone;
    std::uint8_t property = 0;
    std::uint32_t contentLength = 0;
    std::uint32_t packedLength = 0;
};

// The dictionary size an LZMA2 property byte (0 to 40) stands for.
std::uint32_t lzma2DictionarySize(std::uint8_t property);
// The smallest LZMA2 property whose dictionary holds `length` bytes.
std::uint8_t lzma2PropertyFor(std::uint32_t length);

struct PackageEntry {
    const char* name = nullptr;  // points into the package bytes (see PackageWalker)
    std::uint32_t depth = 0;
    std::uint8_t flags = 0;
    FileEntryInfo file;            // file entries only
    std::uint32_t dataOffset = 0;  // file entries: package offset of file.storedLength bytes;
                                   // blocks: of block.packedLength bytes
    BlockInfo block;               // block entries only
    // In-block file entries: where their content starts in the group's block content; blocks:
    // where theirs does.
    std::uint64_t contentOffset = 0;

    bool isFile() const { return (flags & kEntryFlagFile) != 0; }
    bool isCompressed() const { return (flags & kEntryFlagCompressed) != 0; }
    bool isInBlock() const { return (flags & kEntryFlagInBlock) != 0; }
    bool isBlock() const { return (flags & kEntryFlagBlock) != 0; }
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
// A file entry whose content lies in the group's blocks: no data follows (stored length 0).
void writeInBlockFileEntry(unsigned char* out, const char* name, std::uint32_t depth,
                           const FileEntryInfo& info);
// A block entry up to its packed bytes, of which the info's packed length follow.
std::size_t blockEntryHeaderSize();
void writeBlockEntryHeader(unsigned char* out, const BlockInfo& info);
// A condition entry: the group's first, before any other.
std::size_t conditionEntrySize();
void writeConditionEntry(unsigned char* out, std::uint32_t components, std::uint32_t tasks);

// Walks the groups and entries of a package without ever reading outside it. `bytes` holds the
// package from its start; the groups run from firstEntryOffset (E) to scriptOffset (S). The walk
// stops for good at the first inconsistency: E after S or S past the bytes, a group too short
// for its header or whose end offset lies past S or not after its header, a name or target
// folder without its NUL inside the group (or within one read of the bytes: reach()), an entry
// or data that runs past the group's end, a name that is not a plain name, a folder entry at
// a depth that no earlier folder entry of the group could reach (depth 0 is always valid), flags
// it does not know, or blocks that break their rules: an unknown method or filter, a property
// out of range, a reserved byte set, no content or more than kLargestBlockContent, a block met
// before the entries so far claimed the content before it, an in-block file with data of its
// own, compressed, or of 4 GiB or more, or whose content starts past the blocks met, and a group
// whose in-block files do not claim exactly its blocks' content, and a condition entry that is
// not the group's first or has a name or depth. A file entry may name any depth: the items never
// set are skipped in its path. nextGroup reads the group's condition entry with its header.
// Block entries are checked and passed over unless includeBlocks() asked for them.
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
    // From now on nextEntry gives block entries too.
    void includeBlocks() { includeBlocks_ = true; }
    // The most content of any block walked so far (0: none).
    std::uint32_t largestBlock() const { return largestBlock_; }

  private:
    bool fail();
    // The bytes the walk needs could not be read (a view the system refused).
    bool stopUnreadable();
    // The bytes of the group or entry header at the walk's offset: up to `left` of them, at
    // least the whole header when one read holds it (*span of them). Null when they could not be
    // read; the walk has then stopped.
    const unsigned char* headerBytes(std::uint32_t left, bool entry, std::uint32_t* span);
    // Reads one entry at the walk's offset into `entry`; false when the walk stopped.
    bool readEntry(PackageEntry& entry);
    // Reads the condition entry at `at` (`span` bytes of the group there), when the group starts
    // with one, into the group; *size gets its bytes. False when it is damaged.
    static bool readCondition(const unsigned char* at, std::uint32_t span, FileGroupHeader& group,
                              std::uint32_t* size);
    // Reads the block part at `part`, with `left` bytes of the group from there on.
    bool readBlock(const unsigned char* part, std::uint32_t left, PackageEntry& entry);
    bool claimContent(PackageEntry& entry);

    PackageBytes& bytes_;
    std::uint32_t end_;  // S, once checked against the bytes given
    std::uint32_t offset_;
    std::uint32_t groupEnd_ = 0;
    std::uint32_t stackHeight_ = 0;  // highest folder-stack item set in this group
    bool inGroup_ = false;
    bool stopped_ = false;
    bool damaged_ = false;
    bool unreadable_ = false;
    bool includeBlocks_ = false;
    std::uint64_t blockContent_ = 0;  // this group's: the content of its blocks met so far
    std::uint64_t fileContent_ = 0;   // and the content its in-block files claimed so far
    std::uint32_t largestBlock_ = 0;
};

}  // namespace kelvara
