#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "formats/image_signature.h"
#include "runtime/byte_order.h"

using namespace kelvara;

namespace {

constexpr std::uint32_t kPeAt = 0x80;

// The headers of a PE file as a linker writes them, with room after them; `plus` for PE32+.
std::vector<unsigned char> peHeaders(bool plus, std::size_t size = 1024) {
    std::vector<unsigned char> file(size, 0);
    file[0] = 'M';
    file[1] = 'Z';
    writeLe32(file.data() + 0x3C, kPeAt);
    file[kPeAt] = 'P';
    file[kPeAt + 1] = 'E';
    const std::uint32_t optional = kPeAt + 24;
    const std::uint32_t directories = plus ? 112 : 96;
    writeLe16(file.data() + kPeAt + 20, static_cast<std::uint16_t>(directories + 16 * 8));
    writeLe16(file.data() + optional, plus ? 0x20B : 0x10B);
    writeLe32(file.data() + optional + directories - 4, 16);
    return file;
}

std::uint32_t entryAt(bool plus) {
    return kPeAt + 24 + (plus ? 112 : 96) + 4 * 8;
}

// Appends a certificate table of `size` bytes (a WIN_CERTIFICATE header, then filler) and names
// it in the security entry, as signing does.
void sign(std::vector<unsigned char>& file, bool plus, std::uint32_t size) {
    const auto at = static_cast<std::uint32_t>(file.size());
    file.resize(file.size() + size, 0x5A);
    writeLe32(file.data() + at, size);
    writeLe16(file.data() + at + 4, 0x0200);
    writeLe16(file.data() + at + 6, 0x0002);
    writeLe32(file.data() + entryAt(plus), at);
    writeLe32(file.data() + entryAt(plus) + 4, size);
    writeLe32(file.data() + kPeAt + 24 + 64, 0x12345678);  // the PE checksum signing computes
}

}  // namespace

// Both header forms give the two fields' places; an unsigned file is covered to its end, a
// signed one to its table, and every way a table can be wrong is damage.
TEST(ImageSignature, FieldsRangeAndDamage) {
    for (bool plus : {false, true}) {
        SCOPED_TRACE(plus ? "PE32+" : "PE32");
        std::vector<unsigned char> file = peHeaders(plus);
        SignatureFields fields;
        ASSERT_TRUE(readSignatureFields(file.data(), file.size(), fields));
        EXPECT_EQ(fields.checksumField, kPeAt + 24 + 64);
        EXPECT_EQ(fields.securityEntry, entryAt(plus));
        EXPECT_FALSE(isSigned(fields));
        EXPECT_EQ(checksummedEnd(fields, file.size()), file.size());

        sign(file, plus, 40);
        ASSERT_TRUE(readSignatureFields(file.data(), file.size(), fields));
        ASSERT_TRUE(isSigned(fields));
        EXPECT_EQ(fields.tableOffset, 1024u);
        EXPECT_EQ(checksummedEnd(fields, file.size()), 1024u);
        EXPECT_TRUE(certificateTableIsSound(file.data() + fields.tableOffset, fields));

        EXPECT_EQ(checksummedEnd(fields, file.size() + 8), 0u) << "bytes after the table";
        SignatureFields moved = fields;
        moved.tableOffset += 4;
        moved.tableSize -= 4;
        EXPECT_EQ(checksummedEnd(moved, file.size()), 0u) << "a table off the 8-byte boundary";
        SignatureFields inside = fields;
        inside.tableOffset = 8;
        inside.tableSize = static_cast<std::uint32_t>(file.size() - 8);
        EXPECT_EQ(checksummedEnd(inside, file.size()), 0u) << "a table over the headers";
        SignatureFields tiny = fields;
        tiny.tableOffset = static_cast<std::uint32_t>(file.size() - 4);
        tiny.tableSize = 4;
        EXPECT_EQ(checksummedEnd(tiny, file.size()), 0u) << "a table smaller than its header";

        std::vector<unsigned char> bad = file;
        writeLe16(bad.data() + fields.tableOffset + 4, 0x0300);
        EXPECT_FALSE(certificateTableIsSound(bad.data() + fields.tableOffset, fields));
        bad = file;
        writeLe32(bad.data() + fields.tableOffset, 41);
        EXPECT_FALSE(certificateTableIsSound(bad.data() + fields.tableOffset, fields))
            << "a certificate longer than the table";
    }
}

// The check reads the two fields as zero whichever pieces of the file it is given.
TEST(ImageSignature, BlankingCoversTheFieldsInAnyPiece) {
    std::vector<unsigned char> file = peHeaders(false);
    sign(file, false, 16);
    SignatureFields fields;
    ASSERT_TRUE(readSignatureFields(file.data(), file.size(), fields));
    std::vector<unsigned char> whole = file;
    blankSignatureFields(whole.data(), 0, whole.size(), fields);
    for (std::size_t piece : {1u, 3u, 7u, 64u, 1040u}) {
        std::vector<unsigned char> pieces = file;
        for (std::size_t at = 0; at < pieces.size(); at += piece) {
            const std::size_t length = pieces.size() - at < piece ? pieces.size() - at : piece;
            blankSignatureFields(pieces.data() + at, at, length, fields);
        }
        EXPECT_EQ(pieces, whole) << "pieces of " << piece;
    }
    for (std::size_t i = 0; i < file.size(); ++i) {
        const bool field = (i >= fields.checksumField && i < fields.checksumField + 4) ||
                           (i >= fields.securityEntry && i < fields.securityEntry + 8);
        ASSERT_EQ(whole[i], field ? 0 : file[i]) << "byte " << i;
    }
    EXPECT_NE(readLe32(file.data() + fields.checksumField), 0u);
}

// Headers that cannot be read give no fields: not a PE file, cut short, a directory count or an
// optional header that does not reach the security entry.
TEST(ImageSignature, UnreadableHeadersGiveNoFields) {
    SignatureFields fields;
    std::vector<unsigned char> file = peHeaders(false);
    EXPECT_FALSE(readSignatureFields(file.data(), 200, fields)) << "cut before the entry";
    std::vector<unsigned char> bad = file;
    bad[0] = 'X';
    EXPECT_FALSE(readSignatureFields(bad.data(), bad.size(), fields));
    bad = file;
    bad[kPeAt + 1] = 'X';
    EXPECT_FALSE(readSignatureFields(bad.data(), bad.size(), fields));
    bad = file;
    writeLe32(bad.data() + 0x3C, 0xFFFFFFF0u);
    EXPECT_FALSE(readSignatureFields(bad.data(), bad.size(), fields)) << "PE header far away";
    bad = file;
    writeLe32(bad.data() + kPeAt + 24 + 92, 4);
    EXPECT_FALSE(readSignatureFields(bad.data(), bad.size(), fields)) << "four directories";
    bad = file;
    writeLe16(bad.data() + kPeAt + 20, 96 + 4 * 8);
    EXPECT_FALSE(readSignatureFields(bad.data(), bad.size(), fields)) << "short optional header";
    bad = file;
    writeLe16(bad.data() + kPeAt + 24, 0x107);
    EXPECT_FALSE(readSignatureFields(bad.data(), bad.size(), fields)) << "a ROM image";
}

TEST(ImageSignature, StubSignatureRecordRoundTrips) {
    unsigned char bytes[kStubSignatureSize + 4] = {};
    encodeStubSignature(bytes, {0xAABBCCDD, 0x20000, 0x1234});
    StubSignature read;
    ASSERT_TRUE(decodeStubSignature(bytes, kStubSignatureSize, read));
    EXPECT_EQ(read.checksum, 0xAABBCCDDu);
    EXPECT_EQ(read.tableOffset, 0x20000u);
    EXPECT_EQ(read.tableSize, 0x1234u);
    EXPECT_FALSE(decodeStubSignature(bytes, kStubSignatureSize - 1, read)) << "too little room";
    bytes[0] = 0;
    EXPECT_FALSE(decodeStubSignature(bytes, kStubSignatureSize, read)) << "no record there";
}
