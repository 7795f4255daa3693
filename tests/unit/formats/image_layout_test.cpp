#include <gtest/gtest.h>

#include "formats/image_layout.h"

using namespace kelvara;

TEST(ImageLayout, PackageOffsetRoundTripsThroughBothFields) {
    const std::uint32_t offsets[] = {0x200, 0xFFFF, 0x10000, 0x12345, 0x7FFF0000, 0xFFFFFFFF};
    for (std::uint32_t offset : offsets) {
        unsigned char header[kStubHeaderSize] = {};
        encodePackageOffset(header, offset);
        EXPECT_EQ(decodeStubHeader(header).packageOffset, offset) << std::hex << offset;
        int narrow = header[kPackageOffsetField] | (header[kPackageOffsetField + 1] << 8);
        EXPECT_NE(narrow, 0) << "an image with a package must never read as the uninstaller";
    }
    unsigned char header[kStubHeaderSize] = {};
    encodePackageOffset(header, 0x30000);
    EXPECT_EQ(header[kPackageOffsetField], 0xFF);
    EXPECT_EQ(header[kPackageOffsetField + 1], 0xFF);
}

TEST(ImageLayout, NarrowFieldDecidesWhetherThereIsAPackage) {
    unsigned char header[kStubHeaderSize] = {};
    header[kWidePackageOffsetField + 2] = 0x01;  // a stale wide offset...
    EXPECT_EQ(decodeStubHeader(header).packageOffset, 0u)
        << "...without the 16-bit field is ignored";

    // The classic layout: the 16-bit field alone.
    unsigned char classic[kStubHeaderSize] = {};
    classic[kPackageOffsetField] = 0x00;
    classic[kPackageOffsetField + 1] = 0x9C;
    EXPECT_EQ(decodeStubHeader(classic).packageOffset, 0x9C00u);

    // Clearing, as the uninstaller copy does.
    unsigned char cleared[kStubHeaderSize] = {};
    encodePackageOffset(cleared, 0x123456);
    encodePackageOffset(cleared, 0);
    for (int i = 0; i < kStubHeaderSize; ++i) EXPECT_EQ(cleared[i], 0) << "byte " << i;
}

TEST(ImageLayout, ScriptSizeAndChecksumAreLittleEndian) {
    unsigned char header[kStubHeaderSize] = {};
    const unsigned char script[] = {0x78, 0x56, 0x34, 0x12};
    const unsigned char sum[] = {0xEF, 0xBE, 0xAD, 0xDE};
    for (int i = 0; i < 4; ++i) {
        header[kScriptBytesField + i] = script[i];
        header[kChecksumField + i] = sum[i];
    }
    StubHeader decoded = decodeStubHeader(header);
    EXPECT_EQ(decoded.scriptBytes, 0x12345678u);
    EXPECT_EQ(decoded.checksum, 0xDEADBEEFu);
    EXPECT_LT(kChecksumField + 4, kChecksumStart + 1) << "header fields lie outside the checksum";
}
