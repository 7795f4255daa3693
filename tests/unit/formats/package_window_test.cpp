// A package read through a small moving window must walk and give its files exactly as the
// whole package in memory does, wherever the views' edges fall: inside names, fixed fields and
// file content, compressed or stored.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "formats/image_layout.h"
#include "formats/package_bytes.h"
#include "formats/block_decode.h"
#include "lzma2_streams.h"
#include "formats/package_format.h"
#include "formats/stream_inflate.h"
#include "zlib_streams.h"

using namespace kelvara;
using Bytes = std::vector<unsigned char>;

namespace {

// Views are copies in blocks of their own, freed when the view moves: a pointer used past its
// view reads freed memory, which the address sanitizer reports. failAfter views may be made.
class CopiedWindow final : public PackageWindow {
  public:
    CopiedWindow(const Bytes& file, std::uint64_t start, std::uint32_t viewSize,
                 std::uint32_t granularity)
        : file_(file) {
        place(start, file.size(), viewSize, granularity);
    }
    ~CopiedWindow() { release(); }
    int views = 0;
    int failAfter = 1 << 30;

  protected:
    const unsigned char* makeView(std::uint64_t offset, std::uint32_t length) override {
        EXPECT_LE(offset + length, file_.size());
        if (views == failAfter) return nullptr;
        ++views;
        auto* copy = new unsigned char[length];
        std::memcpy(copy, file_.data() + offset, length);
        return copy;
    }
    void dropView(const unsigned char* view) override { delete[] view; }

  private:
    const Bytes& file_;
};

struct Collector : ByteWriter {
    Bytes bytes;
    bool write(const unsigned char* b, std::size_t n) override {
        bytes.insert(bytes.end(), b, b + n);
        return true;
    }
};

// A file preceded by `lead` bytes of stub, then a package: its header area, then groups of
// folders and files whose names and sizes vary, some compressed, some stored.
Bytes makeImage(std::uint32_t lead, std::uint32_t* scriptOffset) {
    Bytes image(lead + kPackageHeaderSize, 0x5A);
    auto grow = [&image](std::size_t n) {
        image.resize(image.size() + n);
        return image.data() + image.size() - n;
    };
    const auto packageStart = lead;
    for (int g = 0; g < 3; ++g) {
        const std::size_t groupStart = image.size();
        const std::string target = "C:\\Target " + std::string(g * 7 + 1, 'T');
        FileGroupHeader header;
        header.overwriteMode = static_cast<std::uint32_t>(g);
        header.targetFolder = target.c_str();
        writeGroupHeader(grow(groupHeaderSize(target.size())), header);
        for (int f = 0; f < 9; ++f) {
            const std::string name = "file " + std::string(static_cast<std::size_t>(f * 5), 'n');
            if (f % 4 == 3) {
                writeFolderEntry(grow(folderEntrySize(name.size())), name.c_str(), 0);
                continue;
            }
            const Bytes content =
                kelvara::testing::sampleBytes(static_cast<std::size_t>(f * 37 + g * 11));
            const bool compressed = f % 2 == 0;
            const Bytes stored =
                compressed ? kelvara::testing::syncFlushedStream(content) : content;
            FileEntryInfo info;
            info.sizeLow = static_cast<std::uint32_t>(content.size());
            info.storedLength = static_cast<std::uint32_t>(stored.size());
            info.lastWriteTime = 0x01D2000000000000ull + static_cast<std::uint64_t>(f);
            writeFileEntryHeader(grow(fileEntryHeaderSize(name.size())), name.c_str(),
                                 f % 4 == 1 ? 1 : 0, compressed, info);
            image.insert(image.end(), stored.begin(), stored.end());
        }
        patchGroupEndOffset(image.data() + groupStart,
                            static_cast<std::uint32_t>(image.size() - packageStart));
    }
    // A group whose files share blocks: a file that starts in one block and ends two blocks
    // later, an empty one and a folder between them.
    const std::size_t groupStart = image.size();
    FileGroupHeader header;
    header.targetFolder = "C:\\Blocks";
    writeGroupHeader(grow(groupHeaderSize(std::strlen(header.targetFolder))), header);
    const Bytes first = kelvara::testing::sampleBytes(300);
    const Bytes second = kelvara::testing::sampleBytes(700);
    Bytes all = first;
    all.insert(all.end(), second.begin(), second.end());
    auto block = [&](std::size_t from, std::size_t length) {
        const Bytes packed = kelvara::testing::storedLzma2(
            Bytes(all.begin() + static_cast<std::ptrdiff_t>(from),
                  all.begin() + static_cast<std::ptrdiff_t>(from + length)));
        BlockInfo info;
        info.property = lzma2PropertyFor(400);
        info.contentLength = static_cast<std::uint32_t>(length);
        info.packedLength = static_cast<std::uint32_t>(packed.size());
        writeBlockEntryHeader(grow(blockEntryHeaderSize()), info);
        image.insert(image.end(), packed.begin(), packed.end());
    };
    auto inBlock = [&](const char* name, const Bytes& content) {
        FileEntryInfo info;
        info.sizeLow = static_cast<std::uint32_t>(content.size());
        info.lastWriteTime = 0x01D3000000000000ull + content.size();
        writeInBlockFileEntry(grow(fileEntryHeaderSize(std::strlen(name))), name, 0, info);
    };
    block(0, 400);
    inBlock("first", first);
    inBlock("empty", {});
    writeFolderEntry(grow(folderEntrySize(3)), "sub", 0);
    inBlock("second", second);
    block(400, 400);
    block(800, 200);
    patchGroupEndOffset(image.data() + groupStart,
                        static_cast<std::uint32_t>(image.size() - packageStart));

    *scriptOffset = static_cast<std::uint32_t>(image.size() - packageStart);
    image.resize(image.size() + 5, 0);  // bytes after the groups (the script's place)
    return image;
}

// The walk as lines (group and entry fields, each file's content), read through `headers` and
// `content`.
std::vector<std::string> walkLines(PackageBytes& headers, PackageBytes& content,
                                   std::uint32_t scriptOffset, bool* unreadable) {
    std::vector<std::string> lines;
    PackageWalker walker(headers, kPackageHeaderSize, scriptOffset);
    walker.includeBlocks();
    FileGroupHeader group;
    std::vector<unsigned char> buffer(50);
    BlockDecoder decoder;
    while (walker.nextGroup(group)) {
        lines.push_back("G " + std::string(group.targetFolder) + " " +
                        std::to_string(group.overwriteMode));
        PackageEntry entry;
        // The group's block content so far, and the in-block files' lines waiting for theirs.
        Bytes blocks;
        std::vector<std::pair<std::size_t, PackageEntry>> waiting;
        while (walker.nextEntry(entry)) {
            if (entry.isBlock()) {
                Bytes decoded(entry.block.contentLength);
                EXPECT_EQ(decoder.decode(content, entry, decoded.data()), BlockOutcome::decoded);
                blocks.insert(blocks.end(), decoded.begin(), decoded.end());
                continue;
            }
            std::string line = std::string(entry.isFile() ? "F " : "D ") + entry.name + " " +
                               std::to_string(entry.depth);
            if (entry.isInBlock()) {
                line += " " + std::to_string(entry.file.lastWriteTime) + " ";
                waiting.emplace_back(lines.size(), entry);
            } else if (entry.isFile()) {
                Collector out;
                EXPECT_TRUE(
                    writeEntryData(content, entry, out, buffer.data(), buffer.size(), nullptr, 0))
                    << entry.name;
                line += " " + std::to_string(entry.file.lastWriteTime) + " " +
                        std::string(out.bytes.begin(), out.bytes.end());
            }
            lines.push_back(line);
        }
        for (const auto& [at, file] : waiting) {
            EXPECT_LE(file.contentOffset + file.file.sizeLow, blocks.size());
            if (file.contentOffset + file.file.sizeLow > blocks.size()) continue;
            lines[at].append(blocks.begin() + static_cast<std::ptrdiff_t>(file.contentOffset),
                             blocks.begin() + static_cast<std::ptrdiff_t>(file.contentOffset +
                                                                          file.file.sizeLow));
        }
    }
    EXPECT_FALSE(walker.damaged());
    *unreadable = walker.unreadable();
    return lines;
}

}  // namespace

TEST(PackageWindow, WalksAndReadsAsTheWholePackageWhereverTheViewsEdgesFall) {
    for (std::uint32_t lead : {0u, 7u, 64u, 1000u}) {
        std::uint32_t script = 0;
        const Bytes image = makeImage(lead, &script);
        PackageInMemory whole(image.data() + lead, image.size() - lead);
        bool unreadable = true;
        const auto expected = walkLines(whole, whole, script, &unreadable);
        ASSERT_FALSE(unreadable);
        ASSERT_EQ(expected.size(), 4u + 27u + 4u);
        // The smallest view holds a name and the fixed fields of an entry; larger ones too.
        for (std::uint32_t viewSize : {256u, 512u, 4096u}) {
            for (std::uint32_t granularity : {16u, 64u}) {
                CopiedWindow headers(image, lead, viewSize, granularity);
                CopiedWindow content(image, lead, viewSize, granularity);
                EXPECT_EQ(headers.size(), image.size() - lead);
                EXPECT_EQ(walkLines(headers, content, script, &unreadable), expected)
                    << "lead " << lead << ", views of " << viewSize << " at " << granularity;
                EXPECT_FALSE(unreadable);
                EXPECT_GT(headers.views, 1) << "the walk must have moved the view";
                EXPECT_LE(headers.largestView(), viewSize);
                EXPECT_LE(content.largestView(), viewSize);
                // A view moves only when the walk has left it: about once per view's length.
                EXPECT_LE(headers.views, static_cast<int>(image.size() / (viewSize / 2)) + 2)
                    << "lead " << lead << ", views of " << viewSize << " at " << granularity;
            }
        }
        // A view that holds the whole package is made once, however many headers are read.
        CopiedWindow headers(image, lead, 1u << 16, 16);
        CopiedWindow content(image, lead, 1u << 16, 16);
        EXPECT_EQ(walkLines(headers, content, script, &unreadable), expected);
        EXPECT_EQ(headers.views, 1);
        EXPECT_EQ(content.views, 1);
    }
}

TEST(PackageWindow, RequestsOutsideThePackageOrBeyondOneViewAndRefusedViewsFail) {
    std::uint32_t script = 0;
    const Bytes image = makeImage(100, &script);
    CopiedWindow window(image, 100, 256, 64);
    const std::uint32_t size = window.size();
    EXPECT_EQ(window.reach(), 192u);
    ASSERT_NE(window.bytesAt(size - 192, 192), nullptr);
    EXPECT_EQ(std::memcmp(window.bytesAt(size - 10, 10), image.data() + image.size() - 10, 10), 0);
    EXPECT_EQ(window.bytesAt(size - 10, 11), nullptr) << "past the end";
    EXPECT_EQ(window.bytesAt(0, 193), nullptr) << "more than one view holds";
    EXPECT_EQ(window.bytesAt(0xFFFFFFF0u, 0x20), nullptr) << "wrapping offset";
    EXPECT_NE(window.bytesAt(size, 0), nullptr);

    // A view the system refuses half-way: the walk stops as unreadable, not as damaged.
    CopiedWindow failing(image, 100, 256, 64);
    failing.failAfter = 3;
    PackageWalker walker(failing, kPackageHeaderSize, script);
    FileGroupHeader group;
    PackageEntry entry;
    int entries = 0;
    while (walker.nextGroup(group)) {
        while (walker.nextEntry(entry)) ++entries;
    }
    EXPECT_TRUE(walker.unreadable());
    EXPECT_FALSE(walker.damaged());
    EXPECT_GT(entries, 0);
    EXPECT_LT(entries, 27);

    EXPECT_EQ(chooseViewSize(0, 65536), kDefaultViewSize);
    EXPECT_EQ(chooseViewSize(100000, 65536), 131072u) << "at least twice the granularity";
    EXPECT_EQ(chooseViewSize(300000, 65536), 262144u) << "a power of two, rounded down";
    EXPECT_EQ(chooseViewSize(0xFFFFFFFFu, 65536), kLargestViewSize);
}
