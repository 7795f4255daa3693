// A package from bytes (its 12-byte header first, offsets from the package start): the file
// groups and entries walked as the extraction walks them, written again with the builder's
// encoder and walked once more (the same groups and entries must come back), and every
// compressed file inflated in pieces as the extraction does it, checked against the one-piece
// inflater the script loader uses. The file versions go through the version text as well.
// Blocks: walked with the rest, each decoded (up to a size) through small views and whole, to the
// same outcome and bytes; their content and the in-block files' claims follow one another.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "formats/block_decode.h"
#include "formats/image_layout.h"
#include "formats/inflate_buffer.h"
#include "formats/package_format.h"
#include "formats/stream_inflate.h"
#include "fuzz_support.h"
#include "runtime/byte_order.h"
#include "runtime/version_text.h"

using namespace kelvara;

namespace {

// Bytes inflated per file at most: twice the inflater's window, and many pieces of the largest
// size tried; more only made the zeros after a short stream cost most of the harness's time.
constexpr std::uint32_t kInflateLimit = 1u << 16;

struct WalkedEntry {
    std::string name;
    std::uint32_t depth = 0;
    bool file = false;
    bool compressed = false;
    FileEntryInfo info;
    std::vector<unsigned char> data;
};

struct WalkedGroup {
    FileGroupHeader header;
    std::string target;
    std::vector<WalkedEntry> entries;
};

bool sameInfo(const FileEntryInfo& a, const FileEntryInfo& b) {
    return a.attributes == b.attributes && a.creationTime == b.creationTime &&
           a.lastAccessTime == b.lastAccessTime && a.lastWriteTime == b.lastWriteTime &&
           a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow && a.versionMs == b.versionMs &&
           a.versionLs == b.versionLs && a.storedLength == b.storedLength;
}

bool sameGroups(const std::vector<WalkedGroup>& a, const std::vector<WalkedGroup>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t g = 0; g < a.size(); ++g) {
        const WalkedGroup& x = a[g];
        const WalkedGroup& y = b[g];
        if (x.target != y.target || x.header.overwriteMode != y.header.overwriteMode ||
            x.header.decisionRule != y.header.decisionRule || x.header.shared != y.header.shared ||
            x.entries.size() != y.entries.size()) {
            return false;
        }
        for (std::size_t e = 0; e < x.entries.size(); ++e) {
            const WalkedEntry& p = x.entries[e];
            const WalkedEntry& q = y.entries[e];
            if (p.name != q.name || p.depth != q.depth || p.file != q.file ||
                p.compressed != q.compressed || !sameInfo(p.info, q.info) || p.data != q.data) {
                return false;
            }
        }
    }
    return true;
}

class CollectingWriter : public ByteWriter {
  public:
    bool write(const unsigned char* bytes, std::size_t length) override {
        FUZZ_CHECK(length != 0);
        const std::size_t at = out.size();
        out.resize(at + length);
        std::memcpy(out.data() + at, bytes, length);
        return true;
    }
    std::vector<unsigned char> out;
};

// Views are copies in blocks of their own, freed when the view moves: a name or content used
// past its view reads freed memory, which the address sanitizer reports.
class CopiedWindow final : public PackageWindow {
  public:
    CopiedWindow(const unsigned char* file, std::size_t size, std::uint32_t viewSize,
                 std::uint32_t granularity)
        : file_(file) {
        place(0, size, viewSize, granularity);
    }
    ~CopiedWindow() { release(); }

  protected:
    const unsigned char* makeView(std::uint64_t offset, std::uint32_t length) override {
        auto* copy = new unsigned char[length];
        std::memcpy(copy, file_ + offset, length);
        return copy;
    }
    void dropView(const unsigned char* view) override { delete[] view; }

  private:
    const unsigned char* file_;
};

// Walks the groups; every entry lies inside its group, names are plain, and a folder entry's
// depth names a folder-stack item an earlier folder entry of the group could reach (a file
// entry may name any depth). Names come from `headers`, content from `content`.
std::vector<WalkedGroup> walk(PackageBytes& headers, PackageBytes& content,
                              const unsigned char* package, std::size_t size, std::uint32_t first,
                              std::uint32_t script, bool* damaged) {
    std::vector<WalkedGroup> groups;
    PackageWalker walker(headers, first, script);
    FileGroupHeader header;
    std::uint32_t last = first;
    while (walker.nextGroup(header)) {
        FUZZ_CHECK(header.endOffset <= script && header.endOffset <= size);
        FUZZ_CHECK(walker.offset() > last && walker.offset() <= header.endOffset);
        last = walker.offset();
        WalkedGroup group;
        group.header = header;
        group.target = header.targetFolder;
        std::uint32_t folders = 0;  // folder-stack items set so far, the target folder included
        PackageEntry entry;
        while (walker.nextEntry(entry)) {
            FUZZ_CHECK(walker.offset() > last && walker.offset() <= header.endOffset);
            const std::uint32_t before = last;
            last = walker.offset();
            const std::size_t nameLength = std::strlen(entry.name);
            FUZZ_CHECK(isPlainEntryName(entry.name, nameLength));
            FUZZ_CHECK(entry.isFile() || entry.depth <= folders);
            WalkedEntry walked;
            walked.name.assign(entry.name, nameLength);
            walked.depth = entry.depth;
            walked.file = entry.isFile();
            walked.compressed = entry.isFile() && entry.isCompressed();  // folders have no data
            if (entry.isFile()) {
                walked.info = entry.file;
                // Block entries the walk passed over may lie between the last entry and this.
                FUZZ_CHECK(std::uint64_t(before) + nameLength + 1 + kEntryDepthSize +
                                   kEntryFlagsSize + kFilePartSize <=
                               entry.dataOffset &&
                           std::uint64_t(entry.dataOffset) + entry.file.storedLength ==
                               walker.offset());
                // Stored content in pieces through the content window equals the bytes.
                CollectingWriter stored;
                PackageEntry asStored = entry;
                asStored.flags = kEntryFlagFile;
                unsigned char piece[97];
                FUZZ_CHECK(
                    writeEntryData(content, asStored, stored, piece, sizeof piece, nullptr, 0));
                FUZZ_CHECK(
                    stored.out.size() == entry.file.storedLength &&
                    std::equal(stored.out.begin(), stored.out.end(), package + entry.dataOffset));
                walked.data = std::move(stored.out);
            } else {
                folders = std::max(folders, entry.depth + 1);
            }
            group.entries.push_back(std::move(walked));
        }
        groups.push_back(std::move(group));
    }
    *damaged = walker.damaged();
    return groups;
}

// Blocks decoded at most this large: a block may claim 64 MiB, which would make each input slow.
constexpr std::uint32_t kDecodeLimit = 1u << 20;

struct WalkedBlock {
    BlockInfo info;
    BlockOutcome outcome = BlockOutcome::damaged;
    std::vector<unsigned char> content;
};

// The stream as the decoder calls it final, piece by piece, each copied when it is called so.
struct FinalPieces : DecodeProgress {
    explicit FinalPieces(const std::vector<unsigned char>& stream) : stream(stream) { every = 512; }
    void decodedUpTo(std::uint32_t length) override {
        FUZZ_CHECK(length > joined.size() && length <= stream.size());
        joined.insert(joined.end(), stream.begin() + joined.size(), stream.begin() + length);
    }
    const std::vector<unsigned char>& stream;
    std::vector<unsigned char> joined;
};

// A block read while it is decoded ends as decode ends, and gives the same content: what was
// called final stays so, and the x86 filter undone piece by piece matches it undone at once.
void checkReadWhileDecoding(BlockDecoder& decoder, PackageBytes& content, const PackageEntry& block,
                            const WalkedBlock& walked) {
    std::vector<unsigned char> stream(block.block.contentLength);
    FinalPieces pieces(stream);
    const BlockOutcome outcome = decoder.decodeStream(content, block, stream.data(), &pieces);
    FUZZ_CHECK(outcome == walked.outcome);
    FUZZ_CHECK(std::equal(pieces.joined.begin(), pieces.joined.end(), stream.begin()));
    if (outcome != BlockOutcome::decoded) return;
    if (block.block.filter != kBlockFilterX86) {
        FUZZ_CHECK(stream == walked.content);
        return;
    }
    std::vector<unsigned char> unfiltered;
    std::vector<unsigned char> out(1000);
    X86Unfilter unfilter;
    const std::uint32_t length = block.block.contentLength;
    for (std::uint32_t available = 0, step = 1; available < length; step = step * 3 + 1) {
        available = length - available < step ? length : available + step;
        while (std::uint32_t n = unfilter.next(stream.data(), available, available == length,
                                               out.data(), 5 + step % 995)) {
            unfiltered.insert(unfiltered.end(), out.begin(), out.begin() + n);
        }
    }
    FUZZ_CHECK(unfiltered == walked.content);
}

// The blocks of every group in order, each decoded when small enough; the blocks' content and
// the in-block files' claims each start where the one before them ended.
std::vector<WalkedBlock> walkBlocks(PackageBytes& headers, PackageBytes& content,
                                    std::uint32_t first, std::uint32_t script) {
    std::vector<WalkedBlock> blocks;
    PackageWalker walker(headers, first, script);
    walker.includeBlocks();
    FileGroupHeader header;
    BlockDecoder decoder;
    while (walker.nextGroup(header)) {
        std::uint64_t blockContent = 0;
        std::uint64_t claimed = 0;
        PackageEntry entry;
        while (walker.nextEntry(entry)) {
            if (entry.isInBlock()) {
                FUZZ_CHECK(entry.isFile() && !entry.isCompressed() &&
                           entry.contentOffset == claimed);
                FUZZ_CHECK(entry.file.sizeLow == 0 || entry.contentOffset < blockContent);
                claimed += entry.file.sizeLow;
                continue;
            }
            if (!entry.isBlock()) continue;
            const BlockInfo& info = entry.block;
            FUZZ_CHECK(info.method == kBlockMethodLzma2 && info.contentLength != 0 &&
                       info.contentLength <= kLargestBlockContent);
            FUZZ_CHECK(entry.contentOffset == blockContent && claimed >= blockContent);
            FUZZ_CHECK(std::uint64_t(entry.dataOffset) + info.packedLength <= header.endOffset);
            blockContent += info.contentLength;
            WalkedBlock walked;
            walked.info = info;
            if (info.contentLength <= kDecodeLimit) {
                walked.content.resize(info.contentLength);
                walked.outcome = decoder.decode(content, entry, walked.content.data());
                FUZZ_CHECK(walked.outcome != BlockOutcome::noMemory);
                checkReadWhileDecoding(decoder, content, entry, walked);
                if (walked.outcome != BlockOutcome::decoded) walked.content.clear();
            }
            blocks.push_back(std::move(walked));
        }
        if (!walker.damaged()) FUZZ_CHECK(claimed == blockContent);
    }
    return blocks;
}

bool sameBlocks(const std::vector<WalkedBlock>& a, const std::vector<WalkedBlock>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].outcome != b[i].outcome || a[i].content != b[i].content ||
            a[i].info.packedLength != b[i].info.packedLength ||
            a[i].info.filter != b[i].info.filter) {
            return false;
        }
    }
    return true;
}

// Whether a group's header or an entry's is longer than one read of `reach` bytes can hold.
bool needsLongRead(const std::vector<WalkedGroup>& groups, std::uint32_t reach) {
    for (const WalkedGroup& group : groups) {
        if (kGroupTargetFolderField + group.target.size() + 1 > reach) return true;
        for (const WalkedEntry& e : group.entries) {
            if (e.name.size() + 1 + kEntryDepthSize + kEntryFlagsSize +
                    (e.file ? kFilePartSize : 0) >
                reach) {
                return true;
            }
        }
    }
    return false;
}

// The groups written with the builder's encoder: header area, groups from E = 12, S at the end.
std::vector<unsigned char> encode(const std::vector<WalkedGroup>& groups) {
    std::vector<unsigned char> out(kPackageHeaderSize, 0);
    auto grow = [&out](std::size_t n) {
        out.resize(out.size() + n);
        return out.data() + out.size() - n;
    };
    for (const WalkedGroup& group : groups) {
        const std::size_t start = out.size();
        FileGroupHeader header = group.header;
        header.targetFolder = group.target.c_str();
        writeGroupHeader(grow(groupHeaderSize(group.target.size())), header);
        for (const WalkedEntry& e : group.entries) {
            if (!e.file) {
                writeFolderEntry(grow(folderEntrySize(e.name.size())), e.name.c_str(), e.depth);
                continue;
            }
            writeFileEntryHeader(grow(fileEntryHeaderSize(e.name.size())), e.name.c_str(), e.depth,
                                 e.compressed, e.info);
            out.insert(out.end(), e.data.begin(), e.data.end());
        }
        patchGroupEndOffset(out.data() + start, static_cast<std::uint32_t>(out.size()));
    }
    return out;
}

// Progress only moves forward, and never past the whole of its total.
class CheckingProgress : public ProgressSink {
  public:
    explicit CheckingProgress(int start) : position_(start), start_(start) {}
    int position() override { return position_; }
    void setPosition(int position) override {
        FUZZ_CHECK(position > position_ && position <= start_ + 100);
        position_ = position;
    }

  private:
    int position_;
    int start_;
};

// The extraction's inflater against the script loader's: the same bytes, then zeros up to the
// file's size.
void inflateFile(const WalkedEntry& e, std::size_t pieceSize, std::uint32_t progressTotal) {
    const std::uint32_t outLength = std::min(e.info.sizeLow, kInflateLimit);
    std::vector<unsigned char> piece(pieceSize);
    CollectingWriter writer;
    CheckingProgress progress(7);
    PackageInMemory source(e.data.data(), e.data.size());
    FUZZ_CHECK(inflateToWriter(source, 0, static_cast<std::uint32_t>(e.data.size()), outLength,
                               writer, piece.data(), piece.size(), &progress, progressTotal));
    FUZZ_CHECK(writer.out.size() == outLength);

    std::vector<unsigned char> whole(outLength + 1u);
    long produced =
        inflateBuffer(e.data.data(), e.data.size(), whole.data(), outLength, nullptr, 0);
    FUZZ_CHECK(produced >= 0 && produced <= static_cast<long>(outLength));
    FUZZ_CHECK(std::equal(whole.begin(), whole.begin() + produced, writer.out.begin()));
    FUZZ_CHECK(std::all_of(writer.out.begin() + produced, writer.out.end(),
                           [](unsigned char b) { return b == 0; }));
}

// The version text is "%u.%u.%u.%u", cut to fit, always terminated.
void checkVersion(const FileEntryInfo& info) {
    const VersionPair version{info.versionMs, info.versionLs};
    char expected[64];
    std::snprintf(expected, sizeof expected, "%u.%u.%u.%u", info.versionMs >> 16,
                  info.versionMs & 0xFFFF, info.versionLs >> 16, info.versionLs & 0xFFFF);
    for (std::size_t room = 0; room <= 24; room += 5) {
        char text[24];
        std::memset(text, 'x', sizeof text);
        std::size_t length = formatVersionText(text, room, version);
        if (room == 0) {
            FUZZ_CHECK(length == 0 && text[0] == 'x');
            continue;
        }
        FUZZ_CHECK(length < room && text[length] == '\0' &&
                   std::strncmp(text, expected, length) == 0);
        FUZZ_CHECK(length == std::min(std::strlen(expected), room - 1));
    }
    const VersionPair other{info.versionLs, info.versionMs};
    auto combined = [](VersionPair v) { return (std::uint64_t(v.ms) << 32) | v.ls; };
    const int order = compareVersions(version, other);
    FUZZ_CHECK((order < 0) == (combined(version) < combined(other)));
    FUZZ_CHECK((order == 0) == (combined(version) == combined(other)));
    FUZZ_CHECK((compareVersions(other, version) < 0) == (order > 0));
}

void checkSharedCount(const WalkedEntry& e) {
    std::uint32_t expected = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(e.data.size(), 4); ++i) {
        expected |= std::uint32_t(e.data[i]) << (8 * i);
    }
    const std::uint32_t count = sharedCountFromBytes(e.data.data(), e.data.size());
    FUZZ_CHECK(count == expected);
    FUZZ_CHECK(changedSharedCount(count, false) == (count == 0xFFFFFFFFu ? count : count + 1));
    FUZZ_CHECK(changedSharedCount(count, true) == (count == 0 ? 0 : count - 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < static_cast<std::size_t>(kPackageHeaderSize)) return -1;
    const PackageHeader header = decodePackageHeader(data);
    bool damaged = false;
    PackageInMemory whole(data, size);
    std::vector<WalkedGroup> groups =
        walk(whole, whole, data, size, header.firstEntryOffset, header.scriptOffset, &damaged);
    FUZZ_CHECK(groups.empty() || header.firstEntryOffset <= header.scriptOffset);

    // Through small views (the engine's windows, scaled down): the same walk wherever the edges
    // fall, unless a name is longer than one view can hold.
    const std::uint32_t granularity = 16u << (header.requiredSpace >> 12) % 3;
    CopiedWindow headers(data, size, granularity * 16, granularity);
    CopiedWindow content(data, size, granularity * 4, granularity);
    bool windowDamaged = false;
    std::vector<WalkedGroup> windowed = walk(headers, content, data, size, header.firstEntryOffset,
                                             header.scriptOffset, &windowDamaged);
    if (!windowDamaged) FUZZ_CHECK(!damaged && sameGroups(groups, windowed));
    if (!damaged && windowDamaged) FUZZ_CHECK(needsLongRead(groups, headers.reach()));

    // The blocks decode alike through small views and whole (a decoder's reads stop at a view's
    // edge and go on in the next).
    std::vector<WalkedBlock> blocks =
        walkBlocks(whole, whole, header.firstEntryOffset, header.scriptOffset);
    CopiedWindow blockHeaders(data, size, granularity * 16, granularity);
    CopiedWindow blockContent(data, size, granularity * 4, granularity);
    if (!windowDamaged) {
        FUZZ_CHECK(sameBlocks(blocks, walkBlocks(blockHeaders, blockContent,
                                                 header.firstEntryOffset, header.scriptOffset)));
    }

    std::vector<unsigned char> rewritten = encode(groups);
    bool rewrittenDamaged = true;
    PackageInMemory rewrittenBytes(rewritten.data(), rewritten.size());
    std::vector<WalkedGroup> again =
        walk(rewrittenBytes, rewrittenBytes, rewritten.data(), rewritten.size(), kPackageHeaderSize,
             static_cast<std::uint32_t>(rewritten.size()), &rewrittenDamaged);
    FUZZ_CHECK(!rewrittenDamaged && sameGroups(groups, again));

    // The piece buffer's size comes from the header's unused bits of the space field, so that
    // pieces from one byte to a page are tried.
    const std::size_t pieceSize = header.requiredSpace % 4096 + 1;
    const std::uint32_t progressTotal = header.scriptOffset - header.firstEntryOffset;
    for (const WalkedGroup& group : groups) {
        for (const WalkedEntry& e : group.entries) {
            if (!e.file) continue;
            checkVersion(e.info);
            checkSharedCount(e);
            if (e.compressed) inflateFile(e, pieceSize, progressTotal);
        }
    }
    return 0;
}
