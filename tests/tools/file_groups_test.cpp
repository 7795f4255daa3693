#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "formats/block_decode.h"
#include "formats/image_layout.h"
#include "formats/inflate_buffer.h"
#include "formats/package_format.h"
#include "kelvara-build/image/block_compression.h"
#include "kelvara-build/image/file_groups.h"
#include "kelvara-build/image/pe_version.h"
#include "kelvara-build/image/source_files.h"

using namespace kelvara;
using namespace kelvara::build;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::int64_t kUnixEpochAsFileTime = 116444736000000000;

std::uint64_t fileTimeOfUnixSeconds(std::int64_t seconds) {
    return static_cast<std::uint64_t>(seconds * 10000000 + kUnixEpochAsFileTime);
}

// A source tree in a fresh temporary folder, removed afterwards.
class SourceTree {
  public:
    SourceTree() {
        static int counter = 0;
        root_ = fs::temp_directory_path() / ("kelvara-file-groups-" + std::to_string(::getpid()) +
                                             "-" + std::to_string(counter++));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~SourceTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& root() const { return root_; }

    fs::path write(const std::string& relative, const std::string& content,
                   std::int64_t unixTime = 1500000000) {
        fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        fs::last_write_time(path, std::chrono::file_clock::from_sys(
                                      std::chrono::sys_seconds(std::chrono::seconds(unixTime))));
        return path;
    }
    fs::path write(const std::string& relative, const Bytes& content) {
        return write(relative, std::string(content.begin(), content.end()));
    }

  private:
    fs::path root_;
};

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 generator(seed);
    std::string text(n, '\0');
    for (char& c : text) c = static_cast<char>(generator());
    return text;
}

std::string compressibleText(std::size_t n) {
    std::string text;
    while (text.size() < n) text += "The quick brown fox jumps over the lazy dog. ";
    text.resize(n);
    return text;
}

// Inflates a stream that ends in a sync flush: it must give exactly `size` bytes, with zlib
// and with the engine's inflater, and neither reach a final block nor carry a trailer.
std::string inflateSyncFlushed(const unsigned char* data, std::uint32_t length,
                               std::uint32_t size) {
    EXPECT_GE(length, 6u);
    if (length >= 4) {
        EXPECT_EQ(std::memcmp(data + length - 4, "\x00\x00\xFF\xFF", 4), 0)
            << "the stream ends with the empty stored block of a sync flush";
    }
    std::string out(size + 1, '\0');
    z_stream stream{};
    EXPECT_EQ(inflateInit(&stream), Z_OK);
    stream.next_in = const_cast<unsigned char*>(data);
    stream.avail_in = length;
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    int result = inflate(&stream, Z_SYNC_FLUSH);
    EXPECT_EQ(result, Z_OK) << "no final block, so the stream never ends";
    EXPECT_EQ(stream.avail_in, 0u);
    out.resize(out.size() - stream.avail_out);
    inflateEnd(&stream);

    // The engine's own inflater gives the same bytes into a buffer of exactly the size.
    std::vector<unsigned char> engine(size);
    long produced = inflateBuffer(data, length, engine.data(), size, nullptr, 0);
    EXPECT_EQ(produced, static_cast<long>(size));
    EXPECT_EQ(std::string(engine.begin(), engine.end()), out);
    return out;
}

// Copies of what the walk gave; the pointers into the package are cleared.
struct Decoded {
    FileGroupHeader group;
    std::string target;
    std::string name;
    std::string path;  // target folder, folders and name joined as the extraction joins them
    PackageEntry entry;
    std::string content;  // files: the file's bytes, inflated when compressed
};

// The pieces the decoder calls final, each copied when it is called so: joined, they must be
// the stream as it ends (nothing changed after it was called final).
struct FinalPieces : DecodeProgress {
    explicit FinalPieces(const std::string& stream) : stream(stream) { every = 4096; }
    void decodedUpTo(std::uint32_t length) override {
        EXPECT_GT(length, joined.size());
        joined.append(stream, joined.size(), length - joined.size());
        ++calls;
    }
    const std::string& stream;
    std::string joined;
    int calls = 0;
};

// The block's content read while it is decoded: the stream in pieces as the decoder calls them
// final, the x86 filter undone by the reader in pieces of its own, which need not meet those.
std::string readWhileDecoding(BlockDecoder& decoder, PackageBytes& bytes,
                              const PackageEntry& block) {
    std::string stream(block.block.contentLength, '\0');
    FinalPieces pieces(stream);
    EXPECT_EQ(decoder.decodeStream(bytes, block, reinterpret_cast<unsigned char*>(stream.data()),
                                   &pieces),
              BlockOutcome::decoded);
    EXPECT_EQ(pieces.joined, stream) << "bytes called final changed afterwards";
    if (stream.size() > 3 * pieces.every) {
        EXPECT_GT(pieces.calls, 2);
    }
    if (block.block.filter != kBlockFilterX86) return stream;
    std::string content;
    X86Unfilter unfilter;
    std::vector<unsigned char> out(777);
    const auto* decoded = reinterpret_cast<const unsigned char*>(stream.data());
    for (std::uint32_t available = 0; available < stream.size();) {
        available = std::min<std::uint32_t>(available + 4099, stream.size());
        const bool whole = available == stream.size();
        while (std::uint32_t n = unfilter.next(decoded, available, whole, out.data(), 777))
            content.append(reinterpret_cast<const char*>(out.data()), n);
        EXPECT_GE(unfilter.position() + 4, available) << "the filter stops short only at the end";
    }
    EXPECT_EQ(content.size(), stream.size());
    return content;
}

// Places the groups at `first` in a package and walks them with the engine's walker.
std::vector<Decoded> decode(const BuiltFileGroups& built,
                            std::uint32_t first = kPackageHeaderSize) {
    Bytes package(first, 0);
    package.insert(package.end(), built.bytes.begin(), built.bytes.end());
    std::vector<Decoded> out;
    PackageInMemory bytes(package.data(), package.size());
    PackageWalker walker(bytes, first, static_cast<std::uint32_t>(package.size()));
    walker.includeBlocks();
    FileGroupHeader group;
    BlockDecoder decoder;
    while (walker.nextGroup(group)) {
        std::vector<std::string> stack{group.targetFolder};
        // The content of the group's blocks, decoded by the engine's decoder, in order.
        std::string blocks;
        std::size_t groupStart = out.size();
        PackageEntry entry;
        while (walker.nextEntry(entry)) {
            if (entry.isBlock()) {
                EXPECT_EQ(entry.contentOffset, blocks.size()) << "blocks follow one another";
                std::string content(entry.block.contentLength, '\0');
                EXPECT_EQ(
                    decoder.decode(bytes, entry, reinterpret_cast<unsigned char*>(content.data())),
                    BlockOutcome::decoded);
                EXPECT_EQ(readWhileDecoding(decoder, bytes, entry), content)
                    << "read while decoding, the block gives other bytes";
                blocks += content;
                continue;
            }
            Decoded d{group, group.targetFolder, entry.name, "", entry, ""};
            for (std::uint32_t i = 0; i <= entry.depth; ++i) d.path += stack.at(i) + "\\";
            d.path += entry.name;
            if (!entry.isFile()) {
                stack.resize(entry.depth + 2);
                stack[entry.depth + 1] = entry.name;
            } else if (entry.isInBlock()) {
                // Filled in at the group's end, once all its blocks are decoded.
            } else if (entry.isCompressed()) {
                d.content = inflateSyncFlushed(&package[entry.dataOffset], entry.file.storedLength,
                                               entry.file.sizeLow);
            } else {
                d.content.assign(reinterpret_cast<const char*>(&package[entry.dataOffset]),
                                 entry.file.storedLength);
            }
            d.group.targetFolder = nullptr;
            d.entry.name = nullptr;
            out.push_back(d);
        }
        for (std::size_t i = groupStart; i < out.size(); ++i) {
            const PackageEntry& e = out[i].entry;
            if (!e.isInBlock()) continue;
            EXPECT_LE(e.contentOffset + e.file.sizeLow, blocks.size());
            if (e.contentOffset + e.file.sizeLow <= blocks.size())
                out[i].content = blocks.substr(e.contentOffset, e.file.sizeLow);
        }
    }
    EXPECT_FALSE(walker.damaged());
    return out;
}

FileGroupSpec groupOf(const SourceTree& tree, int line = 7) {
    FileGroupSpec groupSpec;
    groupSpec.line = line;
    groupSpec.targetFolder = "%InstallPath%";
    groupSpec.sourceDir = tree.root();
    return groupSpec;
}

BuiltFileGroups buildGroups(const std::vector<FileGroupSpec>& groups, Diagnostics& diagnostics,
                            PackageOptions options = {}) {
    return buildFileGroups(groups, kPackageHeaderSize, options, diagnostics);
}

// A 32- or 64-bit PE image with one section holding a version resource, which ends the file.
Bytes makePe(bool pe32plus, std::uint32_t ms, std::uint32_t ls) {
    Bytes pe(0x200, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        if (pe.size() < at + 2) pe.resize(at + 2);
        pe[at] = static_cast<unsigned char>(v);
        pe[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    const std::uint32_t optionalSize = pe32plus ? 240 : 224;
    const std::uint32_t directories = pe32plus ? 112 : 96;
    const std::size_t rsrc = 0x200, rva = 0x1000, versionInfo = 0x58, versionSize = 92;
    put16(0, 0x5A4D);
    put32(0x3C, 0x40);
    put32(0x40, 0x4550);
    put16(0x44, pe32plus ? 0x8664 : 0x14C);
    put16(0x46, 1);  // one section
    put16(0x54, optionalSize);
    const std::size_t optional = 0x58;
    put16(optional, pe32plus ? 0x20B : 0x10B);
    put32(optional + directories - 4, 16);  // NumberOfRvaAndSizes
    put32(optional + directories + 16, rva);
    put32(optional + directories + 20, static_cast<std::uint32_t>(versionInfo + versionSize));
    const std::size_t section = optional + optionalSize;
    std::memcpy(&pe[section], ".rsrc", 5);
    put32(section + 8, static_cast<std::uint32_t>(versionInfo + versionSize));
    put32(section + 12, rva);
    put32(section + 16, static_cast<std::uint32_t>(versionInfo + versionSize));
    put32(section + 20, rsrc);
    // Type (16 = version) -> name 1 -> language 0x409 -> data entry.
    put16(rsrc + 14, 1);
    put32(rsrc + 0x10, 16);
    put32(rsrc + 0x14, 0x80000000u | 0x18);
    put16(rsrc + 0x18 + 14, 1);
    put32(rsrc + 0x28, 1);
    put32(rsrc + 0x2C, 0x80000000u | 0x30);
    put16(rsrc + 0x30 + 14, 1);
    put32(rsrc + 0x40, 0x409);
    put32(rsrc + 0x44, 0x48);
    put32(rsrc + 0x48, static_cast<std::uint32_t>(rva + versionInfo));
    put32(rsrc + 0x4C, static_cast<std::uint32_t>(versionSize));
    const std::size_t vs = rsrc + versionInfo;
    put16(vs, static_cast<std::uint32_t>(versionSize));
    put16(vs + 2, 52);
    const char key[] = "VS_VERSION_INFO";
    for (std::size_t i = 0; i < sizeof key; ++i) put16(vs + 6 + 2 * i, key[i]);
    put32(vs + 40, 0xFEEF04BD);
    put32(vs + 44, 0x00010000);
    put32(vs + 48, ms);
    put32(vs + 52, ls);
    put32(vs + 40 + 51 - 3, 0);  // the fixed info's last field, so the file ends with it
    EXPECT_EQ(pe.size(), vs + versionSize);
    return pe;
}

std::optional<FileVersion> versionOfExactBuffer(const Bytes& bytes, std::size_t size) {
    std::unique_ptr<unsigned char[]> exact(new unsigned char[size ? size : 1]);
    if (size) std::memcpy(exact.get(), bytes.data(), size);
    return readPeFileVersion(exact.get(), size);
}

}  // namespace

TEST(FileGroups, TreeBecomesFoldersAndFilesInSortedOrder) {
    SourceTree tree;
    const std::string text = compressibleText(20000);
    const std::string noise = randomBytes(5000, 1);
    tree.write("z.txt", "last");
    tree.write("bin/sub/deep.txt", text);
    tree.write("bin/app.dll", noise);
    tree.write("a.txt", text);
    tree.write("empty.dat", "");
    tree.write("docs/readme.md", "read me");
    tree.write("bin-notes.txt", "sorts before bin/");

    Diagnostics diagnostics;
    BuiltFileGroups built = buildGroups({groupOf(tree)}, diagnostics);
    ASSERT_FALSE(diagnostics.failed()) << diagnostics.errors().front();
    EXPECT_TRUE(diagnostics.warnings().empty());

    std::vector<Decoded> entries = decode(built);
    std::vector<std::string> listing;
    for (const Decoded& d : entries)
        listing.push_back((d.entry.isFile() ? "F " : "D ") + std::to_string(d.entry.depth) + " " +
                          d.path);
    EXPECT_EQ(listing, (std::vector<std::string>{
                           "F 0 %InstallPath%\\a.txt",
                           "F 0 %InstallPath%\\bin-notes.txt",
                           "D 0 %InstallPath%\\bin",
                           "F 1 %InstallPath%\\bin\\app.dll",
                           "D 1 %InstallPath%\\bin\\sub",
                           "F 2 %InstallPath%\\bin\\sub\\deep.txt",
                           "D 0 %InstallPath%\\docs",
                           "F 1 %InstallPath%\\docs\\readme.md",
                           "F 0 %InstallPath%\\empty.dat",
                           "F 0 %InstallPath%\\z.txt",
                       }));
    EXPECT_EQ(built.fileCount, 7u);
    EXPECT_EQ(built.folderCount, 3u);
    EXPECT_EQ(built.requiredSpace, 2 * text.size() + noise.size() + 4 + 0 + 7 + 17);

    auto find = [&](const std::string& tail) -> const Decoded& {
        for (const Decoded& d : entries)
            if (d.path == "%InstallPath%\\" + tail) return d;
        throw std::runtime_error("no entry " + tail);
    };
    // Auto: compressed when smaller, stored otherwise, and every byte comes back.
    EXPECT_TRUE(find("a.txt").entry.isCompressed());
    EXPECT_LT(find("a.txt").entry.file.storedLength, text.size() / 10);
    EXPECT_EQ(find("a.txt").content, text);
    EXPECT_EQ(find("bin\\sub\\deep.txt").content, text);
    EXPECT_FALSE(find("bin\\app.dll").entry.isCompressed()) << "random bytes do not shrink";
    EXPECT_EQ(find("bin\\app.dll").content, noise);
    EXPECT_FALSE(find("empty.dat").entry.isCompressed());
    EXPECT_EQ(find("empty.dat").entry.file.storedLength, 0u);
    EXPECT_FALSE(find("z.txt").entry.isCompressed()) << "4 bytes cannot shrink";
    EXPECT_EQ(find("z.txt").content, "last");
    for (const Decoded& d : entries) {
        if (!d.entry.isFile()) continue;
        EXPECT_EQ(d.entry.file.sizeLow, d.content.size()) << d.path;
        EXPECT_EQ(d.entry.file.sizeHigh, 0u) << d.path;
        EXPECT_EQ(d.entry.file.versionMs, 0u) << d.path;
    }
}

TEST(FileGroups, GroupFieldsCompressionChoicesAndOffsets) {
    SourceTree tree;
    const std::string text = compressibleText(3000);
    const std::string noise = randomBytes(3000, 2);
    tree.write("text.txt", text);
    tree.write("noise.bin", noise);

    FileGroupSpec stored = groupOf(tree);
    stored.compression = Compression::Stored;
    stored.targetFolder = "<CommonFiles>\\Vendor";
    stored.overwrite = OverwriteMode::Older;
    stored.rule = DecisionRule::VersionAndDate;
    stored.shared = true;
    FileGroupSpec compressed = groupOf(tree);
    compressed.compression = Compression::Compressed;
    compressed.overwrite = OverwriteMode::Never;
    compressed.rule = DecisionRule::Version;

    Diagnostics diagnostics;
    const std::uint32_t first = 0x1234;
    BuiltFileGroups built = buildFileGroups({stored, compressed}, first, {}, diagnostics);
    ASSERT_FALSE(diagnostics.failed());
    std::vector<Decoded> entries = decode(built, first);
    ASSERT_EQ(entries.size(), 4u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(entries[i].target, "<CommonFiles>\\Vendor");
        EXPECT_EQ(entries[i].group.overwriteMode, kOverwriteOlder);
        EXPECT_EQ(entries[i].group.decisionRule, kDecideByVersionAndDate);
        EXPECT_EQ(entries[i].group.shared, 1u);
        EXPECT_FALSE(entries[i].entry.isCompressed()) << "stored group: " << entries[i].path;
    }
    for (int i = 2; i < 4; ++i) {
        EXPECT_EQ(entries[i].group.overwriteMode, kOverwriteNever);
        EXPECT_EQ(entries[i].group.decisionRule, kDecideByVersion);
        EXPECT_EQ(entries[i].group.shared, 0u);
        EXPECT_TRUE(entries[i].entry.isCompressed()) << "compressed group: " << entries[i].path;
    }
    EXPECT_EQ(entries[0].content, noise);
    EXPECT_EQ(entries[1].content, text);
    EXPECT_EQ(entries[2].content, noise) << "forced compression of random bytes still inflates";
    EXPECT_EQ(entries[3].content, text);
    // Group end offsets are package offsets: the first group ends where the second begins.
    std::size_t second = entries[0].group.endOffset - first;
    ASSERT_LT(second + kGroupTargetFolderField, built.bytes.size());
    EXPECT_STREQ(reinterpret_cast<const char*>(&built.bytes[second + kGroupTargetFolderField]),
                 "%InstallPath%");
    EXPECT_EQ(entries[2].group.endOffset, first + built.bytes.size());
}

// The builder's bytes read by hand, with the documented layout's numbers written out instead of
// the shared constants and walker: a slip made alike in the builder and the engine shows here.
TEST(FileGroups, ABuiltGroupDecodedByHandFromTheDocumentedLayout) {
    SourceTree tree;
    const std::string text = compressibleText(3000);
    const std::string noise = randomBytes(100, 3);
    tree.write("docs/read me.txt", text, 1500000000);
    tree.write("z.bin", noise, 1600000000);
    FileGroupSpec groupSpec = groupOf(tree);
    groupSpec.targetFolder = "C:\\Target";
    groupSpec.overwrite = OverwriteMode::Older;
    groupSpec.rule = DecisionRule::VersionAndDate;
    groupSpec.shared = true;
    Diagnostics diagnostics;
    const std::uint32_t first = 12;
    BuiltFileGroups built = buildFileGroups({groupSpec}, first, {}, diagnostics);
    ASSERT_FALSE(diagnostics.failed());
    const Bytes& b = built.bytes;
    const auto u32 = [&](std::size_t at) {
        EXPECT_LE(at + 4, b.size());
        return at + 4 > b.size() ? 0u
                                 : static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 |
                                                              b[at + 2] << 16 | b[at + 3] << 24);
    };
    const auto u64 = [&](std::size_t at) { return u32(at) | std::uint64_t{u32(at + 4)} << 32; };
    const auto text0 = [&](std::size_t& at) {
        std::string s(reinterpret_cast<const char*>(&b[at]));
        at += s.size() + 1;
        return s;
    };

    ASSERT_GT(b.size(), 30u);
    EXPECT_EQ(u32(0), first + b.size()) << "the end offset counts from the package start";
    EXPECT_EQ(u32(4), 3u) << "overwrite older";
    EXPECT_EQ(u32(8), 2u) << "decide by version and date";
    EXPECT_EQ(u32(12), 1u) << "shared";
    EXPECT_EQ(u32(16), 0u) << "reserved";
    std::size_t at = 20;
    EXPECT_EQ(text0(at), "C:\\Target");

    std::map<std::string, std::string> seen;  // name -> "depth flags size time data"
    while (at < b.size()) {
        const std::string name = text0(at);
        const std::uint32_t depth = u32(at);
        const unsigned flags = b[at + 4];
        at += 5;
        std::string line = std::to_string(depth) + " " + std::to_string(flags);
        if (flags & 1) {
            const std::uint32_t size = u32(at + 32);
            const std::uint32_t stored = u32(at + 44);
            line += " " + std::to_string(size) + " " + std::to_string(u64(at + 20));
            EXPECT_EQ(u32(at + 28), 0u) << name << ": size high";
            at += 48;
            ASSERT_LE(at + stored, b.size()) << name;
            line += " " + ((flags & 2) ? inflateSyncFlushed(&b[at], stored, size)
                                       : std::string(b.begin() + at, b.begin() + at + stored));
            at += stored;
        }
        seen[name] = line;
    }
    EXPECT_EQ(at, b.size());
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen["docs"], "0 0");
    EXPECT_EQ(seen["read me.txt"],
              "1 3 3000 " + std::to_string(fileTimeOfUnixSeconds(1500000000)) + " " + text)
        << "depth 1 under docs, compressed";
    EXPECT_EQ(seen["z.bin"],
              "0 1 100 " + std::to_string(fileTimeOfUnixSeconds(1600000000)) + " " + noise)
        << "random bytes stay stored";
}

TEST(FileGroups, PatternsSelectFiles) {
    EXPECT_TRUE(matchesGlob("**", "a/b/c.txt"));
    EXPECT_TRUE(matchesGlob("*.txt", "c.txt"));
    EXPECT_FALSE(matchesGlob("*.txt", "a/c.txt")) << "* stays inside one name";
    EXPECT_TRUE(matchesGlob("**/*.txt", "c.txt")) << "**/ matches zero folders";
    EXPECT_TRUE(matchesGlob("**/*.txt", "a/b/c.txt"));
    EXPECT_TRUE(matchesGlob("a/**", "a/b/c"));
    EXPECT_FALSE(matchesGlob("a/**", "ab/c"));
    EXPECT_TRUE(matchesGlob("a/**/c", "a/c"));
    EXPECT_TRUE(matchesGlob("a/**/c", "a/x/y/c"));
    EXPECT_FALSE(matchesGlob("a/**/c", "a/x/yc"));
    EXPECT_TRUE(matchesGlob("?.dll", "x.dll"));
    EXPECT_FALSE(matchesGlob("?.dll", "xy.dll"));
    EXPECT_FALSE(matchesGlob("a?b", "a/b")) << "? never matches a separator";
    EXPECT_FALSE(matchesGlob("*.TXT", "c.txt")) << "matching is exact in case";
    EXPECT_FALSE(matchesGlob(std::string(40, '*') + "x", std::string(200, 'a')))
        << "many stars do not take exponential time";

    SourceTree tree;
    tree.write("app.exe", "exe");
    tree.write("lib/one.dll", "one");
    tree.write("lib/debug/one.pdb", "pdb");
    tree.write("lib/debug/two.dll", "two");
    FileGroupSpec groupSpec = groupOf(tree, 12);
    groupSpec.include = {"*.exe", "lib/**/*.dll", "*.hlp"};
    groupSpec.exclude = {"**/debug/**"};
    Diagnostics diagnostics("project.toml");
    BuiltFileGroups built = buildGroups({groupSpec}, diagnostics);
    ASSERT_FALSE(diagnostics.failed());
    std::vector<std::string> paths;
    for (const Decoded& d : decode(built)) paths.push_back(d.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"%InstallPath%\\app.exe", "%InstallPath%\\lib",
                                               "%InstallPath%\\lib\\one.dll"}));
    ASSERT_EQ(diagnostics.warnings().size(), 1u);
    EXPECT_EQ(diagnostics.warnings()[0].rfind("project.toml:12: pattern '*.hlp'", 0), 0u)
        << diagnostics.warnings()[0];
}

TEST(FileGroups, TimesAndAttributesComeFromTheSources) {
    SourceTree tree;
    tree.write("old.txt", "o", 1000000000);
    tree.write("new.txt", "n", 1700000000);
    fs::path locked = tree.write("locked.txt", "l", 1600000000);
    fs::permissions(locked,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    auto times = [&](std::optional<std::int64_t> epoch) {
        Diagnostics diagnostics;
        PackageOptions options;
        options.sourceDateEpoch = epoch;
        std::map<std::string, FileEntryInfo> byName;
        for (const Decoded& d : decode(buildGroups({groupOf(tree)}, diagnostics, options))) {
            EXPECT_EQ(d.entry.file.creationTime, d.entry.file.lastWriteTime);
            EXPECT_EQ(d.entry.file.lastAccessTime, d.entry.file.lastWriteTime);
            byName[d.name] = d.entry.file;
        }
        EXPECT_FALSE(diagnostics.failed());
        return byName;
    };
    auto plain = times(std::nullopt);
    EXPECT_EQ(plain["old.txt"].lastWriteTime, fileTimeOfUnixSeconds(1000000000));
    EXPECT_EQ(plain["new.txt"].lastWriteTime, fileTimeOfUnixSeconds(1700000000));
    EXPECT_EQ(plain["old.txt"].attributes, 0x20u) << "writable: archive";
    EXPECT_EQ(plain["locked.txt"].attributes, 0x01u) << "not writable by its owner: read-only";

    auto capped = times(1650000000);
    EXPECT_EQ(capped["old.txt"].lastWriteTime, fileTimeOfUnixSeconds(1000000000));
    EXPECT_EQ(capped["locked.txt"].lastWriteTime, fileTimeOfUnixSeconds(1600000000));
    EXPECT_EQ(capped["new.txt"].lastWriteTime, fileTimeOfUnixSeconds(1650000000));

    using namespace std::chrono;
    auto at = [](std::int64_t ns) {
        return file_clock::from_sys(sys_time<nanoseconds>(nanoseconds(ns)));
    };
    EXPECT_EQ(toFileTime(at(123), std::nullopt), std::uint64_t(kUnixEpochAsFileTime) + 1)
        << "100 ns units, rounded down";
    // Past 2262 a time no longer fits nanoseconds since 1970; the conversion must not wrap.
    auto year2317 = file_clock::from_sys(sys_seconds(seconds(1500000000))) + hours(24 * 365 * 300);
    EXPECT_EQ(toFileTime(year2317, std::nullopt), fileTimeOfUnixSeconds(10960800000));
    EXPECT_EQ(toFileTime(at(0), std::int64_t(-20000000000)), 0u) << "an epoch before 1601";
}

TEST(FileGroups, SameBytesWhateverTheThreadCount) {
    SourceTree tree;
    for (int i = 0; i < 40; ++i) {
        std::string name = "dir" + std::to_string(i % 5) + "/f" + std::to_string(i) + ".bin";
        tree.write(name, i % 3 ? compressibleText(1000 + 997 * i) : randomBytes(500 + 31 * i, i));
    }
    std::vector<FileGroupSpec> groups{groupOf(tree), groupOf(tree)};
    groups[1].compression = Compression::Compressed;

    std::vector<Bytes> outputs;
    for (unsigned threads : {1u, 4u, 0u}) {
        Diagnostics diagnostics;
        PackageOptions options;
        options.threads = threads;
        std::uint64_t lastFiles = 0, lastBytes = 0, calls = 0, total = 0, bytesTotal = 0;
        options.progress = [&](std::uint64_t files, std::uint64_t filesTotal, std::uint64_t bytes,
                               std::uint64_t allBytes) {
            EXPECT_EQ(files, lastFiles + 1);
            EXPECT_GE(bytes, lastBytes);
            lastFiles = files;
            lastBytes = bytes;
            total = filesTotal;
            bytesTotal = allBytes;
            ++calls;
        };
        BuiltFileGroups built = buildGroups(groups, diagnostics, options);
        ASSERT_FALSE(diagnostics.failed());
        EXPECT_EQ(calls, 80u) << threads << " threads";
        EXPECT_EQ(total, 80u);
        EXPECT_EQ(lastBytes, bytesTotal);
        EXPECT_EQ(built.fileCount, 80u);
        outputs.push_back(built.bytes);
    }
    EXPECT_EQ(outputs[0], outputs[1]) << "1 and 4 threads";
    EXPECT_EQ(outputs[0], outputs[2]) << "1 thread and all cores";
}

// The streamed form: every piece as it is ready, the group headers reserved first and filled in
// once each group ends, the data's Adler-32 from the workers; a failing output stops the build.
TEST(FileGroups, StreamedPiecesAddUpToTheGatheredBytes) {
    SourceTree tree;
    for (int i = 0; i < 12; ++i) {
        std::string name = "d" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".bin";
        tree.write(name, i % 2 ? compressibleText(3000 + 101 * i) : randomBytes(700 + 13 * i, i));
    }
    tree.write("empty.txt", "");
    std::vector<FileGroupSpec> groups{groupOf(tree), groupOf(tree), groupOf(tree)};
    groups[1].compression = Compression::Stored;
    groups[2].targetFolder = "<CommonFiles>\\Vendor";

    struct Recording final : GroupOutput {
        Bytes bytes;
        std::map<std::size_t, std::size_t> reserved;  // offset -> size, until filled
        std::size_t checkedPieces = 0, badChecksums = 0, badFills = 0, appends = 0;
        std::size_t failAfter = static_cast<std::size_t>(-1);  // appends before ok() turns false
        void append(const unsigned char* data, std::size_t size,
                    std::optional<std::uint32_t> adler) override {
            ++appends;
            if (adler) {
                ++checkedPieces;
                uLong sum = adler32(adler32(0, Z_NULL, 0), data, static_cast<uInt>(size));
                if (sum != *adler) ++badChecksums;
            }
            bytes.insert(bytes.end(), data, data + size);
        }
        std::size_t reserve(std::size_t size) override {
            reserved[bytes.size()] = size;
            bytes.resize(bytes.size() + size, 0xEE);
            return bytes.size() - size;
        }
        void fill(std::size_t handle, const unsigned char* data, std::size_t size) override {
            auto it = reserved.find(handle);
            if (it == reserved.end() || it->second != size) {
                ++badFills;
                return;
            }
            std::memcpy(bytes.data() + handle, data, size);
            reserved.erase(it);
        }
        bool ok() const override { return appends < failAfter; }
    };

    Diagnostics gatheredDiagnostics;
    BuiltFileGroups gathered = buildGroups(groups, gatheredDiagnostics);
    ASSERT_FALSE(gatheredDiagnostics.failed());
    for (unsigned threads : {1u, 3u}) {
        Recording output;
        Diagnostics diagnostics;
        PackageOptions options;
        options.threads = threads;
        BuiltFileGroups built =
            buildFileGroups(groups, kPackageHeaderSize, options, diagnostics, output);
        ASSERT_FALSE(diagnostics.failed());
        EXPECT_TRUE(built.bytes.empty()) << "streamed, not gathered";
        EXPECT_EQ(output.bytes, gathered.bytes) << threads << " threads";
        EXPECT_TRUE(output.reserved.empty()) << "every group header filled in";
        EXPECT_EQ(output.badFills, 0u);
        EXPECT_EQ(output.checkedPieces, 36u) << "each non-empty file's data with its checksum";
        EXPECT_EQ(output.badChecksums, 0u);
        EXPECT_EQ(built.fileCount, gathered.fileCount);
        EXPECT_EQ(built.requiredSpace, gathered.requiredSpace);
    }

    Recording failing;
    failing.failAfter = 5;
    Diagnostics diagnostics;
    PackageOptions options;
    options.threads = 2;
    std::uint64_t progressCalls = 0;
    options.progress = [&](std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t) {
        ++progressCalls;
    };
    buildFileGroups(groups, kPackageHeaderSize, options, diagnostics, failing);
    EXPECT_LE(failing.appends, 7u) << "the build stops once the output has failed";
    EXPECT_LT(progressCalls, 39u);
}

TEST(FileGroups, ProblemsNameTheGroupLine) {
    SourceTree tree;
    tree.write("good.txt", "g");
    {
        FileGroupSpec missing = groupOf(tree, 21);
        missing.sourceDir = tree.root() / "nowhere";
        Diagnostics diagnostics("p.toml");
        buildGroups({missing}, diagnostics);
        ASSERT_EQ(diagnostics.errors().size(), 1u);
        EXPECT_EQ(diagnostics.errors()[0].rfind("p.toml:21: source folder", 0), 0u)
            << diagnostics.errors()[0];
    }
    {
        SourceTree ansiTree;
        ansiTree.write("caf\xC3\xA9.txt", "utf-8 name");
        Diagnostics diagnostics;
        std::vector<Decoded> entries = decode(buildGroups({groupOf(ansiTree)}, diagnostics));
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name, "caf\xE9.txt") << "names are written in Windows-1252";
    }
    for (const char* bad : {"\xE6\x97\xA5.txt", "a,b.txt", "con.txt", "dots.", "sub/aux/x.txt",
                            "back\\slash", "what?.txt", "tab\t.txt"}) {
        SourceTree badTree;
        badTree.write(bad, "x");
        Diagnostics diagnostics("p.toml");
        buildGroups({groupOf(badTree, 9)}, diagnostics);
        ASSERT_EQ(diagnostics.errors().size(), 1u) << bad;
        EXPECT_EQ(diagnostics.errors()[0].rfind("p.toml:9: '", 0), 0u) << diagnostics.errors()[0];
    }
    {
        SourceTree longTree;
        longTree.write(std::string(130, 'a') + "/" + std::string(130, 'b'), "x");
        Diagnostics diagnostics;
        buildGroups({groupOf(longTree)}, diagnostics);
        EXPECT_TRUE(diagnostics.failed()) << "a path that cannot fit MAX_PATH";
    }
    {
        SourceTree bigTree;
        fs::resize_file(bigTree.write("huge.bin", ""), 0x100000000ull);  // sparse: no disk used
        Diagnostics diagnostics;
        buildGroups({groupOf(bigTree)}, diagnostics);
        ASSERT_EQ(diagnostics.errors().size(), 1u) << "the entry's sizes are 32 bits";
        EXPECT_NE(diagnostics.errors()[0].find("larger than 4 GiB"), std::string::npos);
    }
    {
        SourceTree caseTree;
        caseTree.write("Readme.txt", "1");
        caseTree.write("README.txt", "2");
        Diagnostics diagnostics;
        buildGroups({groupOf(caseTree)}, diagnostics);
        EXPECT_FALSE(diagnostics.failed());
        EXPECT_EQ(diagnostics.warnings().size(), 1u) << "names that collide on Windows";
    }
    {
        FileGroupSpec noTarget = groupOf(tree);
        noTarget.targetFolder.clear();
        Diagnostics diagnostics;
        buildGroups({noTarget}, diagnostics);
        EXPECT_TRUE(diagnostics.failed());
    }

    EXPECT_EQ(nameProblem("readme.txt"), "");
    EXPECT_EQ(nameProblem("..a"), "");
    EXPECT_EQ(nameProblem("console.txt"), "") << "only the exact device names are refused";
    EXPECT_EQ(nameProblem("LPT1"), "'LPT1' names a device on Windows");
    EXPECT_NE(nameProblem("nul .txt"), "");
    EXPECT_NE(nameProblem(".."), "");
    EXPECT_NE(nameProblem("trailing "), "");
    EXPECT_NE(nameProblem(std::string("nul\0byte", 8)), "");
}

TEST(PeVersion, ReadsTheFixedFileInfoOfBothImageKinds) {
    for (bool pe32plus : {false, true}) {
        Bytes pe = makePe(pe32plus, 0x00020005, 0x00070009);
        auto version = versionOfExactBuffer(pe, pe.size());
        ASSERT_TRUE(version) << (pe32plus ? "PE32+" : "PE32");
        EXPECT_EQ(version->ms, 0x00020005u);
        EXPECT_EQ(version->ls, 0x00070009u);
    }
    Bytes pe = makePe(false, 1, 2);
    Bytes noSignature = pe;
    noSignature[pe.size() - 52] ^= 0xFF;
    EXPECT_FALSE(versionOfExactBuffer(noSignature, noSignature.size()));
    Bytes otherType = pe;
    otherType[0x200 + 0x10] = 3;  // an icon, not a version resource
    EXPECT_FALSE(versionOfExactBuffer(otherType, otherType.size()));
    EXPECT_FALSE(readPeFileVersion(nullptr, 0));
}

TEST(PeVersion, DamagedFilesGiveNothingAndNeverReadOutside) {
    const Bytes pe = makePe(false, 0x00030001, 0x00040002);
    // Every truncation: the version info ends the file, so none of them has a version.
    for (std::size_t size = 0; size < pe.size(); ++size)
        EXPECT_FALSE(versionOfExactBuffer(pe, size)) << "truncated to " << size;

    // Every single damaged byte: either nothing or the same version, unless the byte is part
    // of the version itself.
    const std::size_t versionAt = pe.size() - 52 + 8;
    for (std::size_t i = 0; i < pe.size(); ++i) {
        for (unsigned char value : {0x00, 0x7F, 0xFF}) {
            Bytes damaged = pe;
            damaged[i] = value;
            auto version = versionOfExactBuffer(damaged, damaged.size());
            if (version && (i < versionAt || i >= versionAt + 8)) {
                EXPECT_EQ(version->ms, 0x00030001u) << "byte " << i;
                EXPECT_EQ(version->ls, 0x00040002u) << "byte " << i;
            }
        }
    }
    // Garbage behind a plausible MS-DOS header.
    for (unsigned seed = 0; seed < 200; ++seed) {
        std::string noise = randomBytes(64 + seed * 7, seed);
        Bytes bytes(noise.begin(), noise.end());
        bytes[0] = 'M';
        bytes[1] = 'Z';
        bytes[0x3C] = static_cast<unsigned char>(seed % 64);
        bytes[0x3D] = bytes[0x3E] = bytes[0x3F] = 0;
        EXPECT_FALSE(versionOfExactBuffer(bytes, bytes.size())) << "seed " << seed;
    }
}

TEST(PeVersion, BuilderRecordsTheVersionOfPeFiles) {
    SourceTree tree;
    tree.write("tool.dll", makePe(false, 0x00010002, 0x00030004));
    tree.write("plain.txt", "MZ but not a program");
    Diagnostics diagnostics;
    std::vector<Decoded> entries = decode(buildGroups({groupOf(tree)}, diagnostics));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "plain.txt");
    EXPECT_EQ(entries[0].entry.file.versionMs, 0u);
    EXPECT_EQ(entries[0].entry.file.versionLs, 0u);
    EXPECT_EQ(entries[1].name, "tool.dll");
    EXPECT_EQ(entries[1].entry.file.versionMs, 0x00010002u);
    EXPECT_EQ(entries[1].entry.file.versionLs, 0x00030004u);
    const Bytes pe = makePe(false, 0x00010002, 0x00030004);
    EXPECT_EQ(entries[1].content, std::string(pe.begin(), pe.end()));
}

namespace {

// x86 code as a compiler leaves it: the same few routines called from everywhere, each call's
// relative address different, which the x86 filter makes one absolute address that repeats.
Bytes x86Program(std::size_t size) {
    Bytes code = makePe(false, 0x00020001, 0);
    std::mt19937 generator(7);
    while (code.size() + 5 < size) {
        const std::uint32_t target = 0x1000 + 16 * (generator() % 8);
        const std::uint32_t relative = target - static_cast<std::uint32_t>(code.size() + 5);
        code.push_back(0xE8);
        for (int i = 0; i < 4; ++i) code.push_back(static_cast<unsigned char>(relative >> 8 * i));
        code.push_back(0x90 + generator() % 4);
    }
    return code;
}

struct BlockWalk {
    std::vector<PackageEntry> blocks;
    bool damaged = false;
};

BlockWalk walkBlocks(const Bytes& package) {
    PackageInMemory bytes(package.data(), package.size());
    PackageWalker walker(bytes, kPackageHeaderSize, static_cast<std::uint32_t>(package.size()));
    walker.includeBlocks();
    BlockWalk walk;
    FileGroupHeader group;
    PackageEntry entry;
    while (walker.nextGroup(group)) {
        while (walker.nextEntry(entry)) {
            if (entry.isBlock()) walk.blocks.push_back(entry);
        }
    }
    walk.damaged = walker.damaged();
    return walk;
}

Bytes packageOf(const BuiltFileGroups& built) {
    Bytes package(kPackageHeaderSize, 0);
    package.insert(package.end(), built.bytes.begin(), built.bytes.end());
    return package;
}

}  // namespace

TEST(FileGroups, Lzma2BlocksCarryEveryFileThroughTheEngineDecoder) {
    SourceTree tree;
    std::map<std::string, std::string> sources;
    auto add = [&](const std::string& path, const std::string& content) {
        tree.write(path, content);
        std::string windowsPath = path;
        std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
        sources["%InstallPath%\\" + windowsPath] = content;
    };
    for (int i = 0; i < 20; ++i)
        add("docs/note" + std::to_string(i) + ".txt", compressibleText(3000 + 37 * i));
    const Bytes program = x86Program(150000);
    add("bin/tool.exe", std::string(program.begin(), program.end()));
    add("data/big.bin", compressibleText(300000));  // a file across five blocks
    // Bytes that do not shrink are stored between the blocks' files, more of them than a block
    // holds: the block being gathered is sealed early, and its files still come out whole.
    add("data/noise.bin", randomBytes(300000, 3));
    add("empty.txt", "");
    add("z/last.txt", "the end");
    add("data/a.txt", compressibleText(5000));
    add("data/sub/deep.txt", "inside data");
    add("data-old/old.txt", "beside data");
    FileGroupSpec solid = groupOf(tree);
    solid.compression = Compression::Lzma2;
    solid.blockSize = 64 << 10;
    FileGroupSpec stored = groupOf(tree, 9);
    stored.targetFolder = "<CommonFiles>\\Kept";
    stored.include = {"z/*"};
    stored.compression = Compression::Stored;
    FileGroupSpec zlib = groupOf(tree, 11);
    zlib.targetFolder = "<CommonFiles>\\Deflated";
    zlib.include = {"docs/note1.txt"};

    std::vector<Bytes> packages;
    for (unsigned threads : {3u, 1u}) {
        Diagnostics diagnostics;
        PackageOptions options;
        options.threads = threads;
        BuiltFileGroups built = buildGroups({solid, stored, zlib}, diagnostics, options);
        ASSERT_FALSE(diagnostics.failed()) << diagnostics.errors().at(0);
        packages.push_back(packageOf(built));
        EXPECT_EQ(built.fileCount, sources.size() + 2);

        // Every file comes back whole from the blocks, the stored group and the deflated one.
        // In blocks a folder's files lie by kind: by extension, then name.
        std::map<std::string, std::string> installed;
        std::vector<std::string> dataOrder;
        std::set<std::string> folders;
        for (const Decoded& d : decode(built)) {
            if (!d.entry.isFile()) {
                // Each folder once: a folder's subfolders follow it, as in the order by path.
                EXPECT_TRUE(folders.insert(d.path).second) << d.path << " entered again";
                continue;
            }
            installed[d.path] = d.content;
            if (d.path.starts_with("%InstallPath%\\data\\")) dataOrder.push_back(d.name);
            const bool noise = d.path == "%InstallPath%\\data\\noise.bin";
            EXPECT_EQ(d.entry.isInBlock(), !noise && d.path.starts_with("%InstallPath%")) << d.path;
        }
        EXPECT_EQ(installed.size(), sources.size() + 2);
        for (const auto& [path, content] : sources) {
            EXPECT_EQ(installed[path].size(), content.size()) << path;
            EXPECT_TRUE(installed[path] == content) << path;
        }
        EXPECT_EQ(dataOrder,
                  (std::vector<std::string>{"big.bin", "noise.bin", "a.txt", "deep.txt"}));
        EXPECT_EQ(installed["<CommonFiles>\\Kept\\z\\last.txt"], "the end");
        EXPECT_EQ(installed["<CommonFiles>\\Deflated\\docs\\note1.txt"],
                  sources.at("%InstallPath%\\docs\\note1.txt"));
    }
    EXPECT_EQ(packages[0], packages[1]) << "the same bytes whatever the thread count";

    BlockWalk walk = walkBlocks(packages[0]);
    EXPECT_FALSE(walk.damaged);
    std::uint64_t content = 0;
    int filtered = 0;
    for (std::size_t i = 0; i < walk.blocks.size(); ++i) {
        const BlockInfo& block = walk.blocks[i].block;
        EXPECT_EQ(block.method, kBlockMethodLzma2);
        EXPECT_LE(block.contentLength, 64u << 10) << "block " << i;
        EXPECT_GE(lzma2DictionarySize(block.property), block.contentLength);
        filtered += block.filter == kBlockFilterX86;
        content += block.contentLength;
    }
    std::uint64_t solidBytes = 0;
    for (const auto& [path, text] : sources) solidBytes += text.size();
    EXPECT_EQ(content, solidBytes - 300000)
        << "the blocks hold the solid group's files but the noise, and nothing more";
    EXPECT_GE(filtered, 1) << "the blocks that are mostly the program go through the x86 filter";
    EXPECT_LT(filtered, static_cast<int>(walk.blocks.size())) << "the others do not";
}

TEST(FileGroups, DamagedBlocksAreRefusedBeforeAnythingIsWritten) {
    SourceTree tree;
    tree.write("a.txt", compressibleText(5000));
    tree.write("b.txt", compressibleText(9000));
    FileGroupSpec solid = groupOf(tree);
    solid.compression = Compression::Lzma2;
    solid.blockSize = 4096;
    Diagnostics diagnostics;
    const Bytes package = packageOf(buildGroups({solid}, diagnostics));
    ASSERT_FALSE(diagnostics.failed());
    const BlockWalk walk = walkBlocks(package);
    ASSERT_FALSE(walk.damaged);
    ASSERT_EQ(walk.blocks.size(), 4u) << "14,000 bytes in blocks of 4,096";

    // Each field of a block's part, and of the in-block file that follows it, changed alone.
    const std::size_t part = walk.blocks[1].dataOffset - kBlockPartSize;
    const std::size_t flags = part - 1;
    struct Change {
        const char* what;
        std::size_t at;
        unsigned char value;
    };
    const Change changes[] = {
        {"an unknown method", part + kBlockPartMethod, 2},
        {"no method", part + kBlockPartMethod, 0},
        {"an unknown filter", part + kBlockPartFilter, 2},
        {"a property past 40", part + kBlockPartProperty, 41},
        {"the reserved byte set", part + kBlockPartReserved, 1},
        {"no content", part + kBlockPartContentLength + 1, 0},  // 4,096 becomes 0
        {"more content than the files claim", part + kBlockPartContentLength, 1},
        {"packed bytes past the group", part + kBlockPartPackedLength + 3, 0x7F},
        {"a block that is also a file", flags, kEntryFlagBlock | kEntryFlagFile},
        {"an unknown flag", flags, kEntryFlagBlock | 0x10},
        {"a block with a depth", flags - 4, 1},
    };
    for (const Change& change : changes) {
        Bytes damaged = package;
        damaged[change.at] = change.value;
        EXPECT_TRUE(walkBlocks(damaged).damaged) << change.what;
    }

    // The first file's entry follows the first block: compressed, with data of its own, of
    // 4 GiB or more, or claiming more than the blocks hold.
    const std::size_t file = walk.blocks[0].dataOffset + walk.blocks[0].block.packedLength;
    const std::size_t filePart =
        file + std::strlen("a.txt") + 1 + kEntryDepthSize + kEntryFlagsSize;
    const Change fileChanges[] = {
        {"an in-block file also compressed", filePart - 1,
         kEntryFlagFile | kEntryFlagInBlock | kEntryFlagCompressed},
        {"an in-block folder", filePart - 1, kEntryFlagInBlock},
        {"an in-block file with data", filePart + kFilePartStoredLength, 1},
        {"an in-block file of 4 GiB or more", filePart + kFilePartSizeHigh, 1},
        {"an in-block file claiming more than the blocks", filePart + kFilePartSizeLow + 2, 1},
    };
    for (const Change& change : fileChanges) {
        Bytes damaged = package;
        damaged[change.at] = change.value;
        EXPECT_TRUE(walkBlocks(damaged).damaged) << change.what;
    }

    // Blocks out of their order: the second block before the first file's entry, which has not
    // claimed the first block's content yet.
    {
        Bytes swapped(package.begin(), package.begin() + static_cast<std::ptrdiff_t>(file));
        const std::size_t second = part - 1 - kEntryDepthSize - 1;
        const std::size_t secondEnd = walk.blocks[1].dataOffset + walk.blocks[1].block.packedLength;
        swapped.insert(swapped.end(), package.begin() + static_cast<std::ptrdiff_t>(second),
                       package.begin() + static_cast<std::ptrdiff_t>(secondEnd));
        swapped.insert(swapped.end(), package.begin() + static_cast<std::ptrdiff_t>(file),
                       package.begin() + static_cast<std::ptrdiff_t>(second));
        swapped.insert(swapped.end(), package.begin() + static_cast<std::ptrdiff_t>(secondEnd),
                       package.end());
        ASSERT_EQ(swapped.size(), package.size());
        EXPECT_TRUE(walkBlocks(swapped).damaged) << "a block before its content is claimed";
    }

    // The decoder: a stream cut short, one with a byte after its end, and content that is not
    // the stream's are damage, found however the packed bytes are read.
    const std::string text = compressibleText(70000);
    const PackedBlock packed =
        packBlock(reinterpret_cast<const unsigned char*>(text.data()), text.size(), false);
    auto decodeWith = [&](std::uint32_t packedLength, std::uint32_t contentLength,
                          std::uint8_t method) {
        Bytes bytes = packed.bytes;
        bytes.resize(packed.bytes.size() + 1, 0);
        PackageInMemory source(bytes.data(), bytes.size());
        PackageEntry block;
        block.flags = kEntryFlagBlock;
        block.block = packed.info;
        block.block.packedLength = packedLength;
        block.block.contentLength = contentLength;
        block.block.method = method;
        std::string content(contentLength, '\0');
        BlockDecoder decoder;
        const BlockOutcome outcome =
            decoder.decode(source, block, reinterpret_cast<unsigned char*>(content.data()));
        if (outcome == BlockOutcome::decoded) {
            EXPECT_EQ(content, text);
        }
        return outcome;
    };
    const std::uint32_t length = packed.info.packedLength;
    EXPECT_EQ(decodeWith(length, 70000, kBlockMethodLzma2), BlockOutcome::decoded);
    EXPECT_EQ(decodeWith(length - 1, 70000, kBlockMethodLzma2), BlockOutcome::damaged);
    EXPECT_EQ(decodeWith(length + 1, 70000, kBlockMethodLzma2), BlockOutcome::damaged);
    EXPECT_EQ(decodeWith(length, 69999, kBlockMethodLzma2), BlockOutcome::damaged);
    EXPECT_EQ(decodeWith(length, 70000, 7), BlockOutcome::damaged);
}
