#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "formats/image_layout.h"
#include "formats/package_format.h"

using namespace kelvara;

namespace {

using Bytes = std::vector<unsigned char>;

// Writes a package with the encoder: the 12-byte header area, then groups at E = 12.
class PackageBuilder {
  public:
    PackageBuilder() : bytes_(kPackageHeaderSize, 0) {}

    PackageBuilder& group(const char* target, std::uint32_t mode = kOverwriteAlways,
                          std::uint32_t rule = kDecideByDate, bool shared = false) {
        closeGroup();
        groupStart_ = bytes_.size();
        FileGroupHeader header;
        header.overwriteMode = mode;
        header.decisionRule = rule;
        header.shared = shared ? 1 : 0;
        header.targetFolder = target;
        writeGroupHeader(grow(groupHeaderSize(std::strlen(target))), header);
        groupOpen_ = true;
        return *this;
    }
    PackageBuilder& condition(std::uint32_t components, std::uint32_t tasks) {
        writeConditionEntry(grow(conditionEntrySize()), components, tasks);
        return *this;
    }
    PackageBuilder& folder(const char* name, std::uint32_t depth) {
        writeFolderEntry(grow(folderEntrySize(std::strlen(name))), name, depth);
        return *this;
    }
    PackageBuilder& file(const char* name, std::uint32_t depth, const std::string& data,
                         bool compressed = false, FileEntryInfo info = {}) {
        info.storedLength = static_cast<std::uint32_t>(data.size());
        if (info.sizeLow == 0) info.sizeLow = info.storedLength;
        writeFileEntryHeader(grow(fileEntryHeaderSize(std::strlen(name))), name, depth, compressed,
                             info);
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    // The finished package; S is its size (no script block is needed for the walk).
    const Bytes& finish() {
        closeGroup();
        return bytes_;
    }
    std::uint32_t size() const { return static_cast<std::uint32_t>(bytes_.size()); }

  private:
    unsigned char* grow(std::size_t n) {
        bytes_.resize(bytes_.size() + n);
        return bytes_.data() + bytes_.size() - n;
    }
    void closeGroup() {
        if (groupOpen_) patchGroupEndOffset(bytes_.data() + groupStart_, size());
        groupOpen_ = false;
    }

    Bytes bytes_;
    std::size_t groupStart_ = 0;
    bool groupOpen_ = false;
};

struct Walked {
    std::vector<std::string> lines;  // "G target mode rule shared", "D depth name", "F ..."
    bool damaged = false;
};

// Walks a package held in a buffer of exactly its size, so that any read past it is caught by
// the address sanitizer.
Walked walk(const Bytes& package, std::uint32_t first, std::uint32_t script) {
    std::unique_ptr<unsigned char[]> exact(new unsigned char[package.size() + 1]);
    if (!package.empty()) std::memcpy(exact.get(), package.data(), package.size());
    Walked out;
    PackageInMemory bytes(exact.get(), package.size());
    PackageWalker walker(bytes, first, script);
    FileGroupHeader group;
    while (walker.nextGroup(group)) {
        out.lines.push_back(
            "G " + std::string(group.targetFolder) + " " + std::to_string(group.overwriteMode) +
            " " + std::to_string(group.decisionRule) + " " + std::to_string(group.shared));
        if (group.conditionComponents || group.conditionTasks) {
            out.lines.push_back("C " + std::to_string(group.conditionComponents) + " " +
                                std::to_string(group.conditionTasks));
        }
        PackageEntry entry;
        while (walker.nextEntry(entry)) {
            std::string line =
                (entry.isFile() ? "F " : "D ") + std::to_string(entry.depth) + " " + entry.name;
            if (entry.isFile()) {
                line +=
                    " " + std::string(reinterpret_cast<const char*>(exact.get() + entry.dataOffset),
                                      entry.file.storedLength);
                if (entry.isCompressed()) line += " z";
            }
            out.lines.push_back(line);
        }
    }
    out.damaged = walker.damaged();
    return out;
}

Walked walk(const Bytes& package) {
    return walk(package, kPackageHeaderSize, static_cast<std::uint32_t>(package.size()));
}

void put32(Bytes& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

TEST(PackageFormat, EncodedGroupsDecodeFieldForField) {
    FileEntryInfo info;
    info.attributes = 0x21;
    info.creationTime = 0x0102030405060708ull;
    info.lastAccessTime = 0x1112131415161718ull;
    info.lastWriteTime = 0x01D0000000000001ull;
    info.sizeHigh = 0;
    info.sizeLow = 1234;
    info.versionMs = 0x00050001;
    info.versionLs = 0x00020003;
    PackageBuilder package;
    package.group("%InstallPath%", kOverwriteNewer, kDecideByVersionAndDate, true)
        .file("app.exe", 0, "zdata", true, info)
        .group("<CommonFiles>\\Vendor", kOverwriteNever)
        .folder("sub", 0)
        .file("empty.txt", 1, "");
    const Bytes& bytes = package.finish();

    // The group header and file part land at the documented offsets.
    EXPECT_EQ(bytes[kPackageHeaderSize + kGroupOverwriteModeField], kOverwriteNewer);
    EXPECT_EQ(bytes[kPackageHeaderSize + kGroupDecisionRuleField], kDecideByVersionAndDate);
    EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[kPackageHeaderSize + 20]), "%InstallPath%");

    PackageInMemory source(bytes.data(), bytes.size());
    PackageWalker walker(source, kPackageHeaderSize, package.size());
    FileGroupHeader group;
    ASSERT_TRUE(walker.nextGroup(group));
    EXPECT_STREQ(group.targetFolder, "%InstallPath%");
    EXPECT_EQ(group.overwriteMode, kOverwriteNewer);
    EXPECT_EQ(group.decisionRule, kDecideByVersionAndDate);
    EXPECT_EQ(group.shared, 1u);
    PackageEntry entry;
    ASSERT_TRUE(walker.nextEntry(entry));
    EXPECT_STREQ(entry.name, "app.exe");
    EXPECT_TRUE(entry.isFile());
    EXPECT_TRUE(entry.isCompressed());
    EXPECT_EQ(entry.file.attributes, 0x21u);
    EXPECT_EQ(entry.file.creationTime, info.creationTime);
    EXPECT_EQ(entry.file.lastAccessTime, info.lastAccessTime);
    EXPECT_EQ(entry.file.lastWriteTime, info.lastWriteTime);
    EXPECT_EQ(entry.file.sizeLow, 1234u);
    EXPECT_EQ(entry.file.versionMs, 0x00050001u);
    EXPECT_EQ(entry.file.versionLs, 0x00020003u);
    EXPECT_EQ(entry.file.storedLength, 5u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[entry.dataOffset]), 5), "zdata");
    // The FILETIME is stored low dword first, as in WIN32_FIND_DATAA.
    const unsigned char* part = &bytes[entry.dataOffset] - kFilePartSize;
    EXPECT_EQ(part[kFilePartCreationTime], 0x08);
    EXPECT_EQ(part[kFilePartCreationTime + 7], 0x01);
    EXPECT_FALSE(walker.nextEntry(entry)) << "the group ends after its one file";

    ASSERT_TRUE(walker.nextGroup(group));
    EXPECT_EQ(group.overwriteMode, kOverwriteNever);
    EXPECT_EQ(group.shared, 0u);
    ASSERT_TRUE(walker.nextEntry(entry));
    EXPECT_FALSE(entry.isFile());
    EXPECT_STREQ(entry.name, "sub");
    ASSERT_TRUE(walker.nextEntry(entry));
    EXPECT_TRUE(entry.isFile());
    EXPECT_FALSE(entry.isCompressed());
    EXPECT_EQ(entry.depth, 1u);
    EXPECT_EQ(entry.file.storedLength, 0u);
    EXPECT_FALSE(walker.nextEntry(entry));
    EXPECT_FALSE(walker.nextGroup(group));
    EXPECT_FALSE(walker.damaged());
    EXPECT_EQ(walker.offset(), package.size());
}

// The layout as documented, laid out byte by byte with its numbers written out instead of the
// encoder and its constants: a slip made alike in the encoder and the walker shows here.
TEST(PackageFormat, AGroupLaidOutByHandFromTheDocumentedLayout) {
    Bytes bytes(12, 0);  // the package header area
    const auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    const auto u64 = [&](std::uint64_t v) {
        u32(static_cast<std::uint32_t>(v));
        u32(static_cast<std::uint32_t>(v >> 32));
    };
    const auto text = [&](const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
    };
    // Group: end offset (patched below), overwrite mode 3 (older), decision rule 2 (version and
    // date), shared 1, reserved 0, target folder.
    u32(0);
    u32(3);
    u32(2);
    u32(1);
    u32(0);
    text("C:\\Target");
    // A folder entry: name, depth 0, flags 0.
    text("docs");
    u32(0);
    bytes.push_back(0x00);
    // A stored file in it: depth 1, flags 1; attributes, creation, access and write times, size
    // high and low, version ms and ls, stored length; then the data.
    text("read me.txt");
    u32(1);
    bytes.push_back(0x01);
    u32(0x20);
    u64(0x01D2000000000011ull);
    u64(0x01D2000000000022ull);
    u64(0x01D2000000000033ull);
    u32(0);
    u32(5);
    u32(0x00020001);
    u32(0x00040003);
    u32(5);
    text("hello");
    bytes.pop_back();  // the data has no terminator
    // A compressed file at depth 0: flags 3, the data a zlib stream of the size-low bytes.
    const std::string content(3000, 'k');
    Bytes stream(compressBound(static_cast<uLong>(content.size())));
    uLongf streamSize = static_cast<uLongf>(stream.size());
    ASSERT_EQ(compress(stream.data(), &streamSize, reinterpret_cast<const Bytef*>(content.data()),
                       static_cast<uLong>(content.size())),
              Z_OK);
    stream.resize(streamSize);
    text("packed.bin");
    u32(0);
    bytes.push_back(0x03);
    u32(0x01);
    u64(1);
    u64(2);
    u64(3);
    u32(0);
    u32(static_cast<std::uint32_t>(content.size()));
    u32(0);
    u32(0);
    u32(static_cast<std::uint32_t>(stream.size()));
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    put32(bytes, 12, static_cast<std::uint32_t>(bytes.size()));  // the group's end offset

    Walked walked = walk(bytes);
    EXPECT_FALSE(walked.damaged);
    ASSERT_EQ(walked.lines.size(), 4u);
    EXPECT_EQ(walked.lines[0], "G C:\\Target 3 2 1");
    EXPECT_EQ(walked.lines[1], "D 0 docs");
    EXPECT_EQ(walked.lines[2], "F 1 read me.txt hello");
    EXPECT_EQ(walked.lines[3].substr(0, 15), "F 0 packed.bin ");
    EXPECT_EQ(walked.lines[3].substr(walked.lines[3].size() - 2), " z");

    PackageInMemory source(bytes.data(), bytes.size());
    PackageWalker walker(source, 12, static_cast<std::uint32_t>(bytes.size()));
    FileGroupHeader group;
    ASSERT_TRUE(walker.nextGroup(group));
    EXPECT_EQ(group.endOffset, bytes.size());
    PackageEntry entry;
    ASSERT_TRUE(walker.nextEntry(entry) && walker.nextEntry(entry));
    EXPECT_EQ(entry.file.attributes, 0x20u);
    EXPECT_EQ(entry.file.creationTime, 0x01D2000000000011ull);
    EXPECT_EQ(entry.file.lastAccessTime, 0x01D2000000000022ull);
    EXPECT_EQ(entry.file.lastWriteTime, 0x01D2000000000033ull);
    EXPECT_EQ(entry.file.sizeLow, 5u);
    EXPECT_EQ(entry.file.versionMs, 0x00020001u);
    EXPECT_EQ(entry.file.versionLs, 0x00040003u);
    ASSERT_TRUE(walker.nextEntry(entry));
    EXPECT_EQ(entry.file.sizeLow, content.size());
    ASSERT_EQ(entry.file.storedLength, stream.size());
    std::string inflated(content.size(), '\0');
    uLongf inflatedSize = static_cast<uLongf>(inflated.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &inflatedSize,
                         &bytes[entry.dataOffset], entry.file.storedLength),
              Z_OK);
    EXPECT_EQ(inflated, content);
    EXPECT_FALSE(walker.nextEntry(entry));
    EXPECT_FALSE(walker.nextGroup(group));
    EXPECT_FALSE(walker.damaged());
}

TEST(PackageFormat, EmptyAreaAndSkippedEntries) {
    Bytes header(kPackageHeaderSize, 0);
    Walked none = walk(header);
    EXPECT_TRUE(none.lines.empty());
    EXPECT_FALSE(none.damaged) << "no groups at all (E = S) is a valid package";

    // A caller that moves on to the next group without reading every entry lands on it.
    PackageBuilder package;
    package.group("A").file("1", 0, "x").file("2", 0, "y").group("B").file("3", 0, "z");
    const Bytes& bytes = package.finish();
    PackageInMemory source(bytes.data(), bytes.size());
    PackageWalker walker(source, kPackageHeaderSize, package.size());
    FileGroupHeader group;
    PackageEntry entry;
    ASSERT_TRUE(walker.nextGroup(group));
    ASSERT_TRUE(walker.nextEntry(entry));
    ASSERT_TRUE(walker.nextGroup(group));
    EXPECT_STREQ(group.targetFolder, "B");
    ASSERT_TRUE(walker.nextEntry(entry));
    EXPECT_STREQ(entry.name, "3");
    EXPECT_FALSE(walker.nextGroup(group));
    EXPECT_FALSE(walker.damaged());
}

// The folder stack as the extraction keeps it: item 0 the target, a folder at depth d sets
// item d + 1, an entry at depth d lies in items 0..d. The walk gives exactly the depths this
// needs, and lets an entry use an item set earlier in the group even after a shallower folder.
TEST(PackageFormat, DepthsFollowTheFolderStack) {
    PackageBuilder package;
    package.group("T")
        .folder("a", 0)
        .folder("b", 1)
        .file("x", 2, "1")
        .folder("c", 0)
        .file("y", 1, "2")
        .file("z", 0, "3")
        .file("w", 2, "4")  // items 0..2 are T, c, b: b stays from before
        .group("U")
        .file("v", 0, "5");
    Walked walked = walk(package.finish());
    ASSERT_FALSE(walked.damaged);

    std::vector<std::string> stack;
    std::vector<std::string> paths;
    PackageInMemory source(package.finish().data(), package.size());
    PackageWalker walker(source, kPackageHeaderSize, package.size());
    FileGroupHeader group;
    while (walker.nextGroup(group)) {
        stack.assign(1, group.targetFolder);
        PackageEntry entry;
        while (walker.nextEntry(entry)) {
            std::string path;
            for (std::uint32_t i = 0; i <= entry.depth; ++i) path += stack.at(i) + "\\";
            path += entry.name;
            paths.push_back(path);
            if (!entry.isFile()) {
                if (stack.size() < entry.depth + 2) stack.resize(entry.depth + 2);
                stack[entry.depth + 1] = entry.name;
            }
        }
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"T\\a", "T\\a\\b", "T\\a\\b\\x", "T\\c", "T\\c\\y",
                                               "T\\z", "T\\c\\b\\w", "U\\v"}));

    // Folder entries past every item set so far are refused (the folder stack starts over per
    // group); a file entry there is read, and its path skips the items never set.
    EXPECT_TRUE(walk(PackageBuilder().group("T").folder("a", 1).finish()).damaged);
    EXPECT_TRUE(walk(PackageBuilder().group("T").folder("a", 0).group("U").folder("b", 1).finish())
                    .damaged);
    EXPECT_TRUE(walk(PackageBuilder().group("T").folder("a", 0xFFFFFFFF).finish()).damaged);
    Walked deep =
        walk(PackageBuilder().group("T").file("x", 1, "").file("y", 0xFFFFFFFF, "").finish());
    EXPECT_FALSE(deep.damaged);
    EXPECT_EQ(deep.lines.size(), 3u);
}

TEST(PackageFormat, EveryTruncationStopsInsideTheBytesGiven) {
    PackageBuilder package;
    package.group("%InstallPath%")
        .folder("docs", 0)
        .file("readme.txt", 1, "hello")
        .file("app.exe", 0, "payload", true)
        .group("<Windows>")
        .file("x.dll", 0, "xyz");
    const Bytes full = package.finish();
    const Walked whole = walk(full);
    ASSERT_FALSE(whole.damaged);
    ASSERT_EQ(whole.lines.size(), 6u);

    std::uint32_t firstGroupEnd = full[kPackageHeaderSize] | (full[kPackageHeaderSize + 1] << 8);
    for (std::uint32_t cut = kPackageHeaderSize; cut < full.size(); ++cut) {
        Bytes shorter(full.begin(), full.begin() + cut);
        // S moved to the cut: the walk yields at most what lies before it.
        Walked walked = walk(shorter, kPackageHeaderSize, cut);
        bool boundary = cut == kPackageHeaderSize || cut == firstGroupEnd;
        EXPECT_EQ(walked.damaged, !boundary) << "cut at " << cut;
        EXPECT_LE(walked.lines.size(), whole.lines.size()) << "cut at " << cut;
        for (std::size_t i = 0; i < walked.lines.size(); ++i)
            EXPECT_EQ(walked.lines[i], whole.lines[i]) << "cut at " << cut;
        // S as the header says, but fewer bytes: refused before anything is read.
        Walked beyond = walk(shorter, kPackageHeaderSize, static_cast<std::uint32_t>(full.size()));
        EXPECT_TRUE(beyond.damaged);
        EXPECT_TRUE(beyond.lines.empty());
    }
}

TEST(PackageFormat, InconsistentGroupsAndEntriesAreRefused) {
    const Bytes good = PackageBuilder().group("T").folder("d", 0).file("f", 1, "abc").finish();
    ASSERT_FALSE(walk(good).damaged);
    const std::size_t g = kPackageHeaderSize;
    const std::uint32_t size = static_cast<std::uint32_t>(good.size());

    struct Case {
        const char* what;
        Bytes bytes;
        std::uint32_t first;
    };
    std::vector<Case> cases;
    auto with = [&](const char* what, auto change, std::uint32_t first = kPackageHeaderSize) {
        Bytes bytes = good;
        change(bytes);
        cases.push_back({what, bytes, first});
    };
    with("end offset past S", [&](Bytes& b) { put32(b, g, size + 1); });
    with("end offset going backwards",
         [&](Bytes& b) { put32(b, g, static_cast<std::uint32_t>(g)); });
    with("end offset inside the target folder", [&](Bytes& b) { put32(b, g, g + 21); });
    with("target folder without NUL", [&](Bytes& b) {
        b.resize(g + 22);
        b[g + 20] = 'T';
        b[g + 21] = 'U';
        put32(b, g, static_cast<std::uint32_t>(b.size()));
    });
    with("stored length past the group end", [&](Bytes& b) { put32(b, b.size() - 7, 4); });
    with("stored length of 4 GiB", [&](Bytes& b) { put32(b, b.size() - 7, 0xFFFFFFFF); });
    with(
        "first entry after S", [](Bytes&) {}, size + 1);
    with("name that is a parent reference", [&](Bytes& b) {
        // "d" -> ".." would shift everything; rename the file "f" to "\" instead.
        b[b.size() - 3 - kFilePartSize - 5 - 2] = '\\';
    });
    with("header shorter than its fixed fields", [&](Bytes& b) { b.resize(g + 10); });
    with("name without NUL before the group end", [&](Bytes& b) {
        b.resize(g + 22 + 3);  // "T\0", then "d\0" and one byte of depth
        put32(b, g, static_cast<std::uint32_t>(b.size()));
        b[b.size() - 1] = 'x';
        b[b.size() - 2] = 'y';
    });
    for (const Case& c : cases) {
        Walked walked = walk(c.bytes, c.first, static_cast<std::uint32_t>(c.bytes.size()));
        EXPECT_TRUE(walked.damaged) << c.what;
    }

    EXPECT_TRUE(walk(PackageBuilder().group("T").file("..", 0, "").finish()).damaged);
    EXPECT_TRUE(walk(PackageBuilder().group("T").file("a/b", 0, "").finish()).damaged);
    EXPECT_TRUE(walk(PackageBuilder().group("T").folder("C:", 0).finish()).damaged);
    EXPECT_TRUE(walk(PackageBuilder().group("T").file("", 0, "").finish()).damaged);
    EXPECT_FALSE(walk(PackageBuilder().group("T").file("..a", 0, "").finish()).damaged);
    EXPECT_FALSE(walk(PackageBuilder().group("").finish()).damaged)
        << "an empty target folder is text for the extraction to judge, not damage";
}

// A group's condition entry comes first, is read with its header, and is refused anywhere
// else or out of its form: no engine may take a part's files for files always installed.
TEST(PackageFormat, ConditionEntriesStandFirstInTheirGroup) {
    PackageBuilder good;
    good.group("<A>").condition(5, 2).file("a.txt", 0, "aa");
    good.group("<B>").condition(0, 0).folder("sub", 0).file("b.txt", 1, "b");
    good.group("<C>").condition(1, 0);  // a group of no file, as for a product of records
    EXPECT_EQ(walk(good.finish()).lines,
              (std::vector<std::string>{"G <A> 0 0 0", "C 5 2", "F 0 a.txt aa", "G <B> 0 0 0",
                                        "D 0 sub", "F 1 b.txt b", "G <C> 0 0 0", "C 1 0"}));

    PackageBuilder late;
    late.group("<A>").file("a.txt", 0, "aa").condition(1, 0);
    EXPECT_TRUE(walk(late.finish()).damaged) << "after a file";
    PackageBuilder twice;
    twice.group("<A>").condition(1, 0).condition(2, 0);
    EXPECT_TRUE(walk(twice.finish()).damaged) << "a second one";
    const std::size_t entry = groupHeaderSize(3);  // where <A>'s first entry starts
    for (const auto& [offset, value] :
         {std::pair<std::size_t, unsigned char>{1, 1},   // a depth
          {5, kEntryFlagCondition | kEntryFlagFile}}) {  // another flag with it
        PackageBuilder bad;
        bad.group("<A>").condition(1, 0);
        Bytes bytes = bad.finish();
        bytes[kPackageHeaderSize + entry + offset] = value;
        EXPECT_TRUE(walk(bytes).damaged) << "byte " << offset;
    }
    PackageBuilder named;
    named.group("<A>").folder("x", 0);
    Bytes withName = named.finish();
    withName[kPackageHeaderSize + entry + 2 + kEntryDepthSize] = kEntryFlagCondition;
    EXPECT_TRUE(walk(withName).damaged) << "a name";
    PackageBuilder cut;
    cut.group("<A>").condition(1, 0);
    Bytes shorter = cut.finish();
    shorter.pop_back();
    put32(shorter, kPackageHeaderSize, static_cast<std::uint32_t>(shorter.size()));
    EXPECT_TRUE(walk(shorter).damaged) << "masks cut short";
}
