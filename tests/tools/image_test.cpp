// Setup images as the builder writes them: header fields, checksum, package, script stream,
// determinism, and the round trip through the engine's own readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <zlib.h>

#include "formats/image_layout.h"
#include "formats/image_signature.h"
#include "formats/languages.h"
#include "formats/package_format.h"
#include "formats/script_writer.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "fresh_records.h"
#include "install/install_state.h"
#include "kelvara-build/cli/dump.h"
#include "kelvara-build/image/image_decoder.h"
#include "kelvara-build/image/image_writer.h"
#include "kelvara-build/image/script_builder.h"
#include "kelvara-build/project/project.h"
#include "setup/script_records.h"
#include "messages.h"

using namespace kelvara;
using namespace kelvara::build;

namespace {

const std::filesystem::path kData = KELVARA_TEST_DATA;

std::uint32_t get16(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}
std::uint32_t get32(const std::vector<unsigned char>& b, std::size_t at) {
    return get16(b, at) | (get16(b, at + 2) << 16);
}

// A stand-in for the engine: an MS-DOS signature and recognisable bytes.
std::vector<unsigned char> fakeStub(std::size_t size) {
    std::vector<unsigned char> stub(size);
    for (std::size_t i = 0; i < size; ++i) stub[i] = static_cast<unsigned char>(i * 7 + 3);
    stub[0] = 'M';
    stub[1] = 'Z';
    for (int field : {kPackageOffsetField, kPackageOffsetField + 1}) stub[field] = 0;
    return stub;
}

struct Built {
    Project project;
    std::vector<unsigned char> image;
    ImageSummary summary;
};

Built buildFull(std::size_t stubSize, unsigned threads = 2) {
    Built built;
    Diagnostics diagnostics("project.toml");
    built.project = readProject(kData / "full" / "project.toml", {}, diagnostics);
    PackageOptions options;
    options.threads = threads;
    options.sourceDateEpoch = 1700000000;
    built.image =
        buildImage(built.project, fakeStub(stubSize), options, diagnostics, &built.summary);
    EXPECT_FALSE(diagnostics.failed()) << joined(diagnostics.errors());
    return built;
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(SetupImage, HeaderFieldsPackageAndScriptBlock) {
    const std::size_t stubSize = 70000;  // past 16 bits: the wide offset carries it
    Built built = buildFull(stubSize);
    const std::vector<unsigned char>& image = built.image;
    ASSERT_GT(image.size(), stubSize);

    EXPECT_EQ(get16(image, kPackageOffsetField), stubSize & 0xFFFF);
    EXPECT_EQ(get32(image, kWidePackageOffsetField), stubSize);
    // The stub is unchanged apart from the header fields.
    std::vector<unsigned char> stub = fakeStub(stubSize);
    EXPECT_TRUE(
        std::equal(stub.begin() + kStubHeaderSize, stub.end(), image.begin() + kStubHeaderSize));
    EXPECT_TRUE(std::equal(stub.begin() + kChecksumStart + 4, stub.begin() + kStubHeaderSize,
                           image.begin() + kChecksumStart + 4));

    uLong sum = adler32(adler32(0, Z_NULL, 0), image.data() + kChecksumStart,
                        static_cast<uInt>(image.size() - kChecksumStart));
    EXPECT_EQ(get32(image, kChecksumField), sum);

    PackageHeader package = decodePackageHeader(image.data() + stubSize);
    EXPECT_EQ(package.firstEntryOffset, 12u);
    const std::size_t scriptBlock = stubSize + package.scriptOffset;
    const std::uint32_t compressed = get32(image, kScriptBytesField);
    const std::size_t scriptEnd = scriptBlock + 4 + compressed;
    // C covers the stream; zeros after it make the image a multiple of 8 bytes long, so that
    // signing adds no padding inside the checksummed range.
    ASSERT_LE(scriptEnd, image.size());
    EXPECT_LT(image.size() - scriptEnd, 8u);
    EXPECT_EQ(image.size() % 8, 0u);
    EXPECT_TRUE(std::all_of(image.begin() + static_cast<std::ptrdiff_t>(scriptEnd), image.end(),
                            [](unsigned char b) { return b == 0; }));
    EXPECT_EQ(package.requiredSpace, built.summary.requiredSpace);
    // A sync flush ends the stream: no final block and no Adler-32 trailer.
    const unsigned char syncFlush[] = {0x00, 0x00, 0xFF, 0xFF};
    EXPECT_TRUE(std::equal(std::begin(syncFlush), std::end(syncFlush),
                           image.begin() + static_cast<std::ptrdiff_t>(scriptEnd) - 4));

    DecodedImage decoded;
    std::string problem;
    ASSERT_TRUE(decodeImage(image, decoded, problem)) << problem;
    EXPECT_EQ(decoded.header.packageOffset, stubSize);
    Diagnostics diagnostics;
    std::vector<unsigned char> script = buildScript(built.project, diagnostics);
    EXPECT_EQ(decoded.scriptSize, script.size());
    EXPECT_EQ(decoded.inflated, static_cast<long>(script.size()));
    EXPECT_EQ(decoded.script, script);
}

TEST(SetupImage, FilesAndRecordsReadBackWithTheEngineReaders) {
    Built built = buildFull(4096);
    DecodedImage decoded;
    std::string problem;
    ASSERT_TRUE(decodeImage(built.image, decoded, problem)) << problem;
    EXPECT_EQ(get16(built.image, kPackageOffsetField), 4096u);

    PackageInMemory package(built.image.data() + 4096, built.image.size() - 4096);
    PackageWalker walker(package, decoded.package.firstEntryOffset, decoded.package.scriptOffset);
    FileGroupHeader group;
    ASSERT_TRUE(walker.nextGroup(group));
    EXPECT_STREQ(group.targetFolder, "%InstallPath%");
    EXPECT_EQ(group.overwriteMode, kOverwriteNewerOrSame);
    EXPECT_EQ(group.decisionRule, kDecideByDate);
    EXPECT_NE(group.shared, 0u);
    std::vector<std::string> names;
    PackageEntry entry;
    while (walker.nextEntry(entry)) names.push_back(entry.name);
    EXPECT_EQ(names.size(), 3u) << joined(names);
    EXPECT_TRUE(contains(names, "one.txt") && contains(names, "two.txt") && contains(names, "sub"))
        << joined(names);
    EXPECT_FALSE(contains(names, "skip.bak"));
    EXPECT_FALSE(walker.nextGroup(group));
    EXPECT_FALSE(walker.damaged());

    std::vector<std::string> records = describeScript(decoded.script.data(), decoded.script.size());
    ASSERT_GT(records.size(), 3u);
    EXPECT_EQ(records[0].rfind("settings short-name=\"FullProd\" name=\"Full Product\"", 0), 0u)
        << records[0];
    EXPECT_EQ(records[1], "pages 0 1 2 6 9 10 11");
    EXPECT_EQ(records.back(), "end");
    const std::string all = joined(records);
    // The project's texts replace the defaults; a built-in language gives the others.
    EXPECT_TRUE(contains(records, "text language 9 buttons item 1: \"&Onward >\"")) << all;
    EXPECT_FALSE(contains(records, "text language 9 buttons item 1: \"&Next >\"")) << all;
    EXPECT_TRUE(contains(records, "text language 7 buttons item 1: \"&Weiter >\"")) << all;
    EXPECT_TRUE(contains(records,
                         "text language 7 buttons item 0: \"< &Zur\xFC"
                         "ck\""))
        << all;
    EXPECT_TRUE(contains(records, "languages auto-select=0 9 7")) << all;
    EXPECT_TRUE(contains(records, "background #000080 to #000000")) << all;
    EXPECT_TRUE(contains(records, "accent-colour #008CC8")) << all;
    EXPECT_TRUE(contains(records,
                         "requirements windows=\"NT4\" directx=\"8.1\" ie=\"5.5SP2\" "
                         "access=\"2000SR1\" administrator=1"))
        << all;
    EXPECT_TRUE(contains(records,
                         "product version=\"3.1 Beta\" publisher=\"Full Software Caf\xE9\" "
                         "url=\"https://example.com/full\" "
                         "help-url=\"https://example.com/full/help\""))
        << all;
}

// The engine applies the built script into its run record: the values the project meant.
TEST(SetupImage, EngineAppliesTheBuiltScript) {
    Built built = buildFull(1024);
    DecodedImage decoded;
    std::string problem;
    ASSERT_TRUE(decodeImage(built.image, decoded, problem)) << problem;

    ASSERT_TRUE(freshScriptRecords());
    const SetupState& s = setupState;
    RecordPlatform platform = {[](const char*) { return true; },
                               [](int, const char*, const char*) -> char* { return nullptr; },
                               [] { return 7; }};
    ASSERT_TRUE(applyScript(decoded.script.data(), decoded.script.size(), platform));

    EXPECT_STREQ(s.productName.get(), "Full Product");
    EXPECT_STREQ(s.productVersion.get(), "3.1 Beta");
    EXPECT_STREQ(s.publisher.get(), "Full Software Caf\xE9") << "in the engine's code page";
    EXPECT_STREQ(s.aboutUrl.get(), "https://example.com/full");
    EXPECT_STREQ(s.helpUrl.get(), "https://example.com/full/help");
    EXPECT_STREQ(s.setupCaption.get(), "Full Product Setup");
    EXPECT_STREQ(s.normalFontFace, "Arial");
    EXPECT_EQ(s.textColor, 0x302010u);
    EXPECT_EQ(s.pageColor, 0x000080FFu);
    EXPECT_EQ(s.dialogSetOffset, kCompactLayout);
    EXPECT_TRUE(s.pageSlots[6].enabled);
    EXPECT_EQ(s.pageSlots[6].dialogId, 155);
    EXPECT_FALSE(s.pageSlots[3].enabled);
    EXPECT_TRUE(installState.restartNeeded);
    EXPECT_TRUE(s.createUninstaller);
    EXPECT_TRUE(s.hideMakerLink);
    EXPECT_TRUE(s.captionedBackground);
    EXPECT_TRUE(s.hasDesktopShortcuts);
    EXPECT_FALSE(s.hasGroupShortcuts);
    // Auto-select is off: the first offered language, although the user's is German.
    EXPECT_EQ(s.currentLanguage, 9);
    EXPECT_STREQ(text(kTableButtonLabels, 1), "&Onward >");
    selectLanguage(7);
    EXPECT_STREQ(text(kTableButtonLabels, 1), "&Weiter >");
    EXPECT_STREQ(text(1, 1), "Willkommen");
    selectLanguage(9);

    EXPECT_STREQ(lookupVariable("%alpha%"), "<ProgramFiles>\\%Zeta%");
    ASSERT_EQ(s.registryEntries.count(), 4);
    EXPECT_STREQ(s.registryEntries.get(3), "1,Software\\Full,List,7,a|b c");
    ASSERT_EQ(s.shortcutEntries.count(), 1);
    ASSERT_EQ(s.pageSlots[9].runPrograms.count(), 1);  // after the ready page: group 10
    EXPECT_STREQ(s.pageSlots[9].runPrograms.get(0),
                 "%InstallPath%\\setup-helper.exe,/quiet,%InstallPath%,0,1,1");
    ASSERT_EQ(s.uninstallPrograms.count(), 1);
    ASSERT_EQ(s.groupZeroDllCalls.count(), 1);
    EXPECT_STREQ(s.groupZeroDllCalls.get(0), "%InstallPath%\\full.dll,Configure,one,two,0");
    EXPECT_EQ(s.pageSlots[10].dllCalls.count(), 1);
    EXPECT_EQ(s.pageSlots[11].runPrograms.count(), 1);
    ASSERT_EQ(s.backgroundLines.count(), 1);
    EXPECT_STREQ(s.requiredIe.get(), "5.5SP2");
    EXPECT_TRUE(s.adminRequired);
}

// The checksum of an image is joined from the sums of its stretches; a stretch of 2 GiB or more
// (a large packaged file) must join as well as a short one, in a 32-bit build as in a 64-bit one.
TEST(SetupImage, ChecksumsJoinOverStretchesOfAnyLength) {
    const unsigned char first[] = "stub header and script";
    const unsigned char second[] = "packaged file";
    const auto sumOf = [](const unsigned char* data, std::size_t size) {
        return static_cast<std::uint32_t>(
            adler32(adler32(0, Z_NULL, 0), data, static_cast<uInt>(size)));
    };
    const std::uint32_t a = sumOf(first, sizeof first);
    const std::uint32_t b = sumOf(second, sizeof second);
    std::vector<unsigned char> joined(first, first + sizeof first);
    joined.insert(joined.end(), second, second + sizeof second);
    EXPECT_EQ(combineAdler32(a, b, sizeof second), sumOf(joined.data(), joined.size()));
    // The joined sum depends on the length only modulo 65521: lengths past 2 GiB and 4 GiB
    // that agree with the short one modulo 65521 must give the same sum.
    for (std::uint64_t wide : {std::uint64_t{1} << 31, std::uint64_t{1} << 32}) {
        const std::uint64_t length = sizeof second + (wide / 65521 + 1) * 65521;
        EXPECT_EQ(combineAdler32(a, b, length), combineAdler32(a, b, sizeof second)) << length;
    }
}

TEST(SetupImage, SameInputsGiveTheSameBytes) {
    Built first = buildFull(2048, 1);
    Built second = buildFull(2048, 2);
    ASSERT_FALSE(first.image.empty());
    EXPECT_EQ(first.image, second.image);
}

TEST(SetupImage, NarrowFieldNeverReadsAsNoPackage) {
    // An offset whose low 16 bits are 0 writes 0xFFFF in the 16-bit field.
    Built built = buildFull(65536);
    EXPECT_EQ(get16(built.image, kPackageOffsetField), 0xFFFFu);
    EXPECT_EQ(get32(built.image, kWidePackageOffsetField), 65536u);
    EXPECT_EQ(decodeStubHeader(built.image.data()).packageOffset, 65536u);
}

TEST(SetupImage, UnusableStubsAreRefused) {
    Diagnostics notExecutable;
    EXPECT_TRUE(assembleImage(std::vector<unsigned char>(100, 'x'), {}, 0, {0xFF, 0xFF, 0xFF, 0xFF},
                              notExecutable)
                    .empty());
    EXPECT_EQ(notExecutable.errors().size(), 1u);

    Built built = buildFull(512);
    Diagnostics alreadyImage;
    EXPECT_TRUE(assembleImage(built.image, {}, 0, {0xFF, 0xFF, 0xFF, 0xFF}, alreadyImage).empty());
    ASSERT_EQ(alreadyImage.errors().size(), 1u);
    EXPECT_NE(alreadyImage.errors()[0].find("already carries a package"), std::string::npos);
}

TEST(SetupImage, DumpChecksTheChecksum) {
    Built built = buildFull(512);
    const std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / "kelvara-dump-checksum-test.exe";
    auto dump = [&](const std::vector<unsigned char>& image, std::string& out) {
        EXPECT_TRUE(writeFileBytes(path, image));
        std::ostringstream output, errors;
        int code = dumpImage(path, output, errors);
        out = output.str() + errors.str();
        return code;
    };
    std::string out;
    EXPECT_EQ(dump(built.image, out), 0) << out;
    EXPECT_NE(out.find("(matches)"), std::string::npos) << out;
    EXPECT_NE(out.find("  end\n"), std::string::npos) << out;
    EXPECT_NE(out.find("one.txt"), std::string::npos) << out;

    std::vector<unsigned char> damaged = built.image;
    damaged[kChecksumStart] ^= 1;  // the first byte the checksum covers
    EXPECT_EQ(dump(damaged, out), 2) << out;
    EXPECT_NE(out.find("DIFFERS"), std::string::npos) << out;

    std::vector<unsigned char> outside = built.image;
    outside[2] ^= 0xFF;  // before offset 40 and not a header field: not covered
    EXPECT_EQ(dump(outside, out), 0) << out;
    std::filesystem::remove(path);
}

// The image written to a file as it is built: the same bytes as the one built in memory (with
// several groups, so several reserved headers take part in the checksum), and `path` replaced
// only by a build that succeeded.
TEST(SetupImage, WrittenImageIsTheBuiltOneAndReplacesOnlyOnSuccess) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(::testing::TempDir()) / "kelvara-write-image-test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path payload = fs::absolute(kData / "full" / "payload");
    auto projectWith = [&](const std::string& extra) {
        std::ofstream(dir / "project.toml")
            << "[product]\nname = \"Streamed\"\n\n"
            << "[[files]]\nsource = \"" << payload.generic_string()
            << "\"\ntarget = \"%InstallPath%\"\n\n"
            << "[[files]]\nsource = \"" << payload.generic_string()
            << "\"\ntarget = \"%InstallPath%\\\\Copy\"\ncompression = \"stored\"\n\n"
            << "[[files]]\nsource = \"" << payload.generic_string()
            << "\"\ntarget = \"%InstallPath%\\\\Third\"\n"
            << extra;
        Diagnostics diagnostics("project.toml");
        Project project = readProject(dir / "project.toml", {}, diagnostics);
        EXPECT_FALSE(diagnostics.failed()) << joined(diagnostics.errors());
        return project;
    };
    auto fileBytes = [](const fs::path& path) {
        std::optional<std::vector<unsigned char>> bytes = readFileBytes(path);
        return bytes ? *bytes : std::vector<unsigned char>{};
    };
    PackageOptions options;
    options.threads = 2;
    options.sourceDateEpoch = 1700000000;
    const fs::path out = dir / "setup.exe";
    const fs::path partial = dir / "setup.exe.partial";

    Project project = projectWith("");
    Diagnostics inMemory;
    ImageSummary memorySummary;
    std::vector<unsigned char> image =
        buildImage(project, fakeStub(3000), options, inMemory, &memorySummary);
    ASSERT_FALSE(image.empty()) << joined(inMemory.errors());
    Diagnostics written;
    ImageSummary summary;
    ASSERT_TRUE(writeImage(project, fakeStub(3000), options, out, written, false, &summary))
        << joined(written.errors());
    EXPECT_EQ(fileBytes(out), image);
    EXPECT_FALSE(fs::exists(partial));
    EXPECT_EQ(summary.imageSize, image.size());
    EXPECT_EQ(summary.fileCount, 9u);
    EXPECT_EQ(summary.fileCount, memorySummary.fileCount);
    EXPECT_EQ(summary.folderCount, memorySummary.folderCount);
    uLong sum = adler32(adler32(0, Z_NULL, 0), image.data() + kChecksumStart,
                        static_cast<uInt>(image.size() - kChecksumStart));
    EXPECT_EQ(get32(image, kChecksumField), sum);
    DecodedImage decoded;
    std::string problem;
    EXPECT_TRUE(decodeImage(image, decoded, problem)) << problem;

    // Failures leave what was there.
    const std::vector<unsigned char> before{'o', 'l', 'd'};
    ASSERT_TRUE(writeFileBytes(out, before));
    Diagnostics badStub;
    EXPECT_FALSE(writeImage(project, std::vector<unsigned char>(100, 'x'), options, out, badStub));
    EXPECT_EQ(badStub.errors().size(), 1u);
    Project warned = projectWith("include = [\"nothing-matches-*\"]\n");
    Diagnostics strict;
    EXPECT_FALSE(writeImage(warned, fakeStub(3000), options, out, strict, true));
    EXPECT_FALSE(strict.warnings().empty());
    EXPECT_EQ(fileBytes(out), before) << "a warning treated as an error writes nothing";
    EXPECT_FALSE(fs::exists(partial));
    Diagnostics lenient;
    EXPECT_TRUE(writeImage(warned, fakeStub(3000), options, out, lenient, false));
    EXPECT_NE(fileBytes(out), before);

    Diagnostics unwritable;
    EXPECT_FALSE(
        writeImage(project, fakeStub(3000), options, dir / "no-such-folder" / "x.exe", unwritable));
    ASSERT_EQ(unwritable.errors().size(), 1u);
    EXPECT_NE(unwritable.errors()[0].find("cannot write"), std::string::npos)
        << unwritable.errors()[0];
    fs::remove_all(dir);
}

// The writer stops at the first byte its sink refuses and says so.
TEST(ScriptWriter, FailingSinkStopsTheScript) {
    struct LimitedSink final : ByteSink {
        std::size_t room;
        std::vector<unsigned char> bytes;
        explicit LimitedSink(std::size_t r) : room(r) {}
        bool append(const void* data, std::size_t size) override {
            if (size > room) return false;
            room -= size;
            auto* b = static_cast<const unsigned char*>(data);
            bytes.insert(bytes.end(), b, b + size);
            return true;
        }
    };
    LimitedSink sink(20);
    ScriptWriter writer(sink);
    writer.variable("%A%", "1");  // 8 + 4 + 2 = 14 bytes
    EXPECT_TRUE(writer.ok());
    writer.variable("%B%", "2");
    EXPECT_FALSE(writer.ok());
    writer.end();
    EXPECT_EQ(sink.bytes.size(), 18u);  // the first record and the second's type field
    RecordCursor cursor(sink.bytes.data(), sink.bytes.size());
    ScriptRecord record;
    ASSERT_TRUE(cursor.next(record));
    EXPECT_EQ(describeRecord(record), "variable %A% = \"1\"");
    EXPECT_FALSE(cursor.next(record));
    EXPECT_FALSE(cursor.reachedEndRecord());
}

// Texts the engine would never show, and languages that would show English, are pointed out; a
// built-in language gives its own texts and its name.
TEST(ScriptBuilder, WarnsAboutUntranslatedAndUnofferedTexts) {
    Diagnostics diagnostics("project.toml");
    Project project = parseProject(
        "[product]\nname = \"P\"\n[languages]\noffer = [\"english\", \"hungarian\", "
        "\"french\"]\n"
        "[pages]\nshow = [\"language\", \"welcome\"]\n"
        "[[texts]]\nlanguage = \"german\"\ntable = \"buttons\"\nitem = 1\ntext = \"&Weiter\"\n",
        kData / "full" / "project.toml", {}, diagnostics);
    ASSERT_FALSE(diagnostics.failed()) << joined(diagnostics.errors());
    std::vector<unsigned char> script = buildScript(project, diagnostics);
    const std::string warnings = joined(diagnostics.warnings());
    EXPECT_NE(
        warnings.find("project.toml:7: text for language 7, which [languages] does not offer"),
        std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("language 14: "), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("language 12: "), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("language 9: "), std::string::npos) << warnings;
    std::vector<std::string> records = describeScript(script.data(), script.size());
    EXPECT_TRUE(contains(records, "text language 14 buttons item 1: \"&Next >\""));
    EXPECT_TRUE(contains(records, "text language 12 buttons item 1: \"&Suivant >\""));
    EXPECT_TRUE(contains(records,
                         "text language 12 page 0 item 4: \"Fran\xE7"
                         "ais\""))
        << joined(records);
}

namespace {

constexpr std::uint32_t kFakePe = 0x80;
constexpr std::uint32_t kFakeChecksum = kFakePe + 24 + 64;
constexpr std::uint32_t kFakeSecurityEntry = kFakePe + 24 + 96 + 4 * 8;

void put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A stub with the PE32 headers the signing fields live in, as a linker writes them.
std::vector<unsigned char> fakePeStub(std::size_t size) {
    std::vector<unsigned char> stub = fakeStub(size);
    std::fill(stub.begin() + kChecksumStart, stub.begin() + 0x200, 0);
    put32(stub, 0x3C, kFakePe);
    stub[kFakePe] = 'P';
    stub[kFakePe + 1] = 'E';
    stub[kFakePe + 20] = 96 + 16 * 8;
    stub[kFakePe + 24] = 0x0B;
    stub[kFakePe + 25] = 0x01;
    put32(stub, kFakePe + 24 + 92, 16);
    put32(stub, kFakeChecksum, 0x0002CAD7);  // the linker's checksum of the stub alone
    return stub;
}

// Signs a file as a signing tool does: a certificate table appended, the entry and the
// checksum written.
void fakeSign(std::vector<unsigned char>& file, std::uint32_t tableSize, std::uint32_t checksum) {
    const auto at = static_cast<std::uint32_t>(file.size());
    file.resize(file.size() + tableSize, 0xC3);
    put32(file, at, tableSize);
    file[at + 4] = 0x00;
    file[at + 5] = 0x02;
    file[at + 6] = 0x02;
    file[at + 7] = 0x00;
    put32(file, kFakeSecurityEntry, at);
    put32(file, kFakeSecurityEntry + 4, tableSize);
    put32(file, kFakeChecksum, checksum);
}

}  // namespace

// A signed stub becomes the image's first part with its signing fields zeroed and kept in the
// package for the uninstaller; the image signed afterwards still passes the engine's check, and
// bytes after its table do not.
TEST(SetupImage, SignedStubAndSignedImage) {
    std::vector<unsigned char> stub = fakePeStub(8192);
    const std::vector<unsigned char> unsignedImage = [&] {
        Diagnostics diagnostics;
        Project project = readProject(kData / "full" / "project.toml", {}, diagnostics);
        PackageOptions options;
        options.sourceDateEpoch = 1700000000;
        return buildImage(project, stub, options, diagnostics, nullptr);
    }();
    ASSERT_FALSE(unsignedImage.empty());
    EXPECT_EQ(get32(unsignedImage, kFakeChecksum), 0u) << "the stub's own checksum is dropped";
    EXPECT_EQ(decodePackageHeader(unsignedImage.data() + 8192).firstEntryOffset, 12u);

    fakeSign(stub, 1000, 0x11111111);
    Diagnostics diagnostics;
    Project project = readProject(kData / "full" / "project.toml", {}, diagnostics);
    PackageOptions options;
    options.sourceDateEpoch = 1700000000;
    std::vector<unsigned char> image = buildImage(project, stub, options, diagnostics, nullptr);
    ASSERT_FALSE(image.empty()) << joined(diagnostics.errors());
    const PackageHeader package = decodePackageHeader(image.data() + stub.size());
    ASSERT_EQ(package.firstEntryOffset, 12u + kStubSignatureSize);
    StubSignature kept;
    ASSERT_TRUE(decodeStubSignature(image.data() + stub.size() + 12, kStubSignatureSize, kept));
    EXPECT_EQ(kept.checksum, 0x11111111u);
    EXPECT_EQ(kept.tableOffset, 8192u);
    EXPECT_EQ(kept.tableSize, 1000u);
    EXPECT_EQ(get32(image, kFakeChecksum), 0u);
    EXPECT_EQ(get32(image, kFakeSecurityEntry), 0u);
    EXPECT_EQ(get32(image, kFakeSecurityEntry + 4), 0u);
    for (std::size_t i = kChecksumStart; i < stub.size(); ++i) {
        const bool field = (i >= kFakeChecksum && i < kFakeChecksum + 4) ||
                           (i >= kFakeSecurityEntry && i < kFakeSecurityEntry + 8);
        if (field) continue;
        ASSERT_EQ(image[i], stub[i]) << "the signed stub is the image's first part";
    }

    DecodedImage decoded;
    std::string problem;
    ASSERT_TRUE(decodeImage(image, decoded, problem)) << problem;
    EXPECT_EQ(decoded.computedChecksum, decoded.header.checksum);
    ASSERT_TRUE(decoded.stubSignature.has_value());
    EXPECT_EQ(decoded.stubSignature->tableOffset, 8192u);

    const std::size_t imageSize = image.size();
    ASSERT_EQ(imageSize % 8, 0u);
    fakeSign(image, 2048, 0x22222222);
    ASSERT_TRUE(decodeImage(image, decoded, problem)) << problem;
    EXPECT_EQ(decoded.dataEnd, imageSize);
    EXPECT_EQ(decoded.computedChecksum, decoded.header.checksum)
        << "the signed image passes the check over what comes before its table";
    EXPECT_EQ(decoded.inflated, static_cast<long>(decoded.scriptSize));

    image.push_back(0);
    decodeImage(image, decoded, problem);
    EXPECT_EQ(decoded.dataEnd, 0u) << "a byte after the table is damage";
    image.pop_back();
    image[imageSize - 20] ^= 1;
    decodeImage(image, decoded, problem);
    EXPECT_NE(decoded.computedChecksum, decoded.header.checksum) << "a changed package byte";

    // A stub whose table does not end it cannot be the uninstaller.
    std::vector<unsigned char> cut = stub;
    cut.resize(cut.size() - 8);
    Diagnostics refused;
    EXPECT_TRUE(buildImage(project, cut, options, refused, nullptr).empty());
    EXPECT_TRUE(refused.failed());
}
