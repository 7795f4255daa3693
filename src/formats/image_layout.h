// The setup image: the stub's MS-DOS header carries the fields that tie stub and package
// together. Engine and builder both read and write the image with these definitions.
#pragma once
#include <cstdint>

namespace kelvara {

constexpr int kStubHeaderSize = 64;  // bytes read at start-up

// Offsets of the header fields. All lie before kChecksumStart, outside the checksum.
constexpr int kPackageOffsetField = 0x12;      // 16 bits: 0 = no package (the uninstaller)
constexpr int kScriptBytesField = 0x1C;        // 32 bits: bytes read for the compressed script
constexpr int kWidePackageOffsetField = 0x20;  // 32 bits: the full package offset when not 0
constexpr int kChecksumField = 0x24;           // 32 bits: Adler-32 of the file from kChecksumStart
constexpr int kChecksumStart = 40;

struct StubHeader {
    std::uint32_t packageOffset = 0;  // 0: no package
    std::uint32_t scriptBytes = 0;
    std::uint32_t checksum = 0;
};

// The package header at the package offset; offsets in it count from the package offset.
constexpr int kPackageHeaderSize = 12;

struct PackageHeader {
    std::uint32_t firstEntryOffset = 0;  // the first file entry (12 when entries follow directly)
    std::uint32_t scriptOffset = 0;      // the script block, which ends the file-entry area
    std::uint32_t requiredSpace = 0;     // bytes the installed files need on disk
};

PackageHeader decodePackageHeader(const unsigned char* bytes);
void encodePackageHeader(unsigned char* bytes, const PackageHeader& header);

// True when the package header read at the package offset describes a package inside a file of
// `fileSize` bytes: the header itself, the file entries (E no further than S) and the script
// block's size field all lie in the file. These values are outside the checksum, so a file can
// pass it and still point anywhere.
bool packageFitsImage(std::uint32_t packageOffset, const PackageHeader& package,
                      std::uint64_t fileSize);

// Decodes the first kStubHeaderSize bytes of an image. The 16-bit field says whether there is a
// package at all; when there is, the 32-bit field holds its offset unless it is 0, in which case
// the 16-bit field does (images whose package starts below 64 KiB).
StubHeader decodeStubHeader(const unsigned char* bytes);

// Writes the package fields into a header: the 32-bit offset, and in the 16-bit field the low 16
// bits of it, or 0xFFFF when those are 0 (so that it never reads as "no package"). An offset of 0
// clears both fields: the image runs as the uninstaller.
void encodePackageOffset(unsigned char* bytes, std::uint32_t packageOffset);

}  // namespace kelvara
