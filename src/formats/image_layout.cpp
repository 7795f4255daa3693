#include "formats/image_layout.h"

#include "runtime/byte_order.h"

namespace kelvara {

StubHeader decodeStubHeader(const unsigned char* bytes) {
    StubHeader header;
    std::uint32_t narrow = readLe16(bytes + kPackageOffsetField);
    std::uint32_t wide = readLe32(bytes + kWidePackageOffsetField);
    if (narrow != 0) header.packageOffset = wide != 0 ? wide : narrow;
    header.scriptBytes = readLe32(bytes + kScriptBytesField);
    header.checksum = readLe32(bytes + kChecksumField);
    return header;
}

PackageHeader decodePackageHeader(const unsigned char* bytes) {
    PackageHeader header;
    header.firstEntryOffset = readLe32(bytes);
    header.scriptOffset = readLe32(bytes + 4);
    header.requiredSpace = readLe32(bytes + 8);
    return header;
}

void encodePackageHeader(unsigned char* bytes, const PackageHeader& header) {
    writeLe32(bytes, header.firstEntryOffset);
    writeLe32(bytes + 4, header.scriptOffset);
    writeLe32(bytes + 8, header.requiredSpace);
}

void encodePackageOffset(unsigned char* bytes, std::uint32_t packageOffset) {
    std::uint32_t narrow = packageOffset & 0xFFFF;
    if (packageOffset != 0 && narrow == 0) narrow = 0xFFFF;
    writeLe16(bytes + kPackageOffsetField, narrow);
    writeLe32(bytes + kWidePackageOffsetField, packageOffset);
}

bool packageFitsImage(std::uint32_t packageOffset, const PackageHeader& package,
                      std::uint64_t fileSize) {
    const std::uint64_t start = packageOffset;
    return start + kPackageHeaderSize <= fileSize &&
           package.firstEntryOffset <= package.scriptOffset &&
           start + package.scriptOffset + 4 <= fileSize;
}

}  // namespace kelvara
