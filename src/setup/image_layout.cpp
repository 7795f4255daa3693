#include "setup/image_layout.h"

namespace kelvara {
namespace {

std::uint32_t read16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

std::uint32_t read32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

void write16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void write32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

StubHeader decodeStubHeader(const unsigned char* bytes) {
    StubHeader header;
    std::uint32_t narrow = read16(bytes + kPackageOffsetField);
    std::uint32_t wide = read32(bytes + kWidePackageOffsetField);
    if (narrow != 0) header.packageOffset = wide != 0 ? wide : narrow;
    header.scriptBytes = read32(bytes + kScriptBytesField);
    header.checksum = read32(bytes + kChecksumField);
    return header;
}

PackageHeader decodePackageHeader(const unsigned char* bytes) {
    PackageHeader header;
    header.firstEntryOffset = read32(bytes);
    header.scriptOffset = read32(bytes + 4);
    header.requiredSpace = read32(bytes + 8);
    return header;
}

void encodePackageHeader(unsigned char* bytes, const PackageHeader& header) {
    write32(bytes, header.firstEntryOffset);
    write32(bytes + 4, header.scriptOffset);
    write32(bytes + 8, header.requiredSpace);
}

void encodePackageOffset(unsigned char* bytes, std::uint32_t packageOffset) {
    std::uint32_t narrow = packageOffset & 0xFFFF;
    if (packageOffset != 0 && narrow == 0) narrow = 0xFFFF;
    write16(bytes + kPackageOffsetField, narrow);
    write32(bytes + kWidePackageOffsetField, packageOffset);
}

}  // namespace kelvara
