#include "kelvara-build/image/pe_version.h"

namespace kelvara::build {
namespace {

constexpr std::uint32_t kPeHeaderPointer = 0x3C;  // e_lfanew in the MS-DOS header
constexpr std::uint32_t kCoffHeaderSize = 20;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kSectionHeaderSize = 40;
constexpr std::uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr std::uint32_t kResourceSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kResourceDirectoryHeaderSize = 16;
constexpr std::uint32_t kResourceEntrySize = 8;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;
constexpr std::uint32_t kFixedFileInfoSize = 52;
// VS_VERSIONINFO: wLength, wValueLength, wType, then L"VS_VERSION_INFO" and padding to 4 bytes.
constexpr char kVersionInfoKey[] = "VS_VERSION_INFO";
constexpr std::uint32_t kVersionInfoKeyOffset = 6;
constexpr std::uint32_t kFixedFileInfoOffset = 40;

// Bounds-checked little-endian reads over the file's bytes; a failed read sets `ok` false.
class Reader {
  public:
    Reader(const unsigned char* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    bool has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    std::uint32_t u16(std::uint64_t offset) {
        if (!has(offset, 2)) return fail();
        return bytes_[offset] | (bytes_[offset + 1] << 8);
    }
    std::uint32_t u32(std::uint64_t offset) {
        if (!has(offset, 4)) return fail();
        return std::uint32_t(bytes_[offset]) | (std::uint32_t(bytes_[offset + 1]) << 8) |
               (std::uint32_t(bytes_[offset + 2]) << 16) |
               (std::uint32_t(bytes_[offset + 3]) << 24);
    }
    bool ok = true;

  private:
    std::uint32_t fail() {
        ok = false;
        return 0;
    }
    const unsigned char* bytes_;
    std::size_t size_;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawPointer;
};

// File offset of an RVA through the section table, or nothing when no section's raw data
// holds it.
std::optional<std::uint64_t> rvaToOffset(Reader& in, std::uint64_t sectionTable,
                                         std::uint32_t sectionCount, std::uint32_t rva) {
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        std::uint64_t at = sectionTable + std::uint64_t(i) * kSectionHeaderSize;
        Section s{in.u32(at + 12), in.u32(at + 8), in.u32(at + 16), in.u32(at + 20)};
        if (!in.ok) return std::nullopt;
        std::uint32_t extent = s.virtualSize ? s.virtualSize : s.rawSize;
        if (rva < s.virtualAddress || rva - s.virtualAddress >= extent) continue;
        std::uint32_t delta = rva - s.virtualAddress;
        if (delta >= s.rawSize) return std::nullopt;  // in memory only, not in the file
        return std::uint64_t(s.rawPointer) + delta;
    }
    return std::nullopt;
}

// The OffsetToData of the first entry of a resource directory (with `id`, when given).
std::optional<std::uint32_t> findResourceEntry(Reader& in, std::uint64_t directory,
                                               std::optional<std::uint32_t> id) {
    std::uint32_t named = in.u16(directory + 12);
    std::uint32_t ids = in.u16(directory + 14);
    if (!in.ok) return std::nullopt;
    std::uint64_t entries = directory + kResourceDirectoryHeaderSize;
    for (std::uint32_t i = 0; i < named + ids; ++i) {
        std::uint64_t entry = entries + std::uint64_t(i) * kResourceEntrySize;
        std::uint32_t name = in.u32(entry);
        std::uint32_t target = in.u32(entry + 4);
        if (!in.ok) return std::nullopt;
        if (!id || (i >= named && name == *id)) return target;
    }
    return std::nullopt;
}

bool hasVersionInfoKey(Reader& in, std::uint64_t at) {
    for (std::uint32_t i = 0; i < sizeof kVersionInfoKey; ++i) {
        std::uint32_t c = in.u16(at + kVersionInfoKeyOffset + 2 * i);
        if (!in.ok || c != static_cast<unsigned char>(kVersionInfoKey[i])) return false;
    }
    return true;
}

}  // namespace

bool isX86PeImage(const unsigned char* bytes, std::size_t size) {
    if (!bytes) return false;
    Reader in(bytes, size);
    if (in.u16(0) != 0x5A4D) return false;  // "MZ"
    std::uint64_t pe = in.u32(kPeHeaderPointer);
    if (!in.ok || in.u32(pe) != 0x00004550) return false;  // "PE\0\0"
    const std::uint32_t machine = in.u16(pe + 4);
    return in.ok && (machine == 0x014C || machine == 0x8664);  // i386, AMD64
}

std::optional<FileVersion> readPeFileVersion(const unsigned char* bytes, std::size_t size) {
    if (!bytes) return std::nullopt;
    Reader in(bytes, size);
    if (in.u16(0) != 0x5A4D) return std::nullopt;  // "MZ"
    std::uint64_t pe = in.u32(kPeHeaderPointer);
    if (!in.ok || in.u32(pe) != 0x00004550) return std::nullopt;  // "PE\0\0"
    std::uint64_t coff = pe + 4;
    std::uint32_t sectionCount = in.u16(coff + 2);
    std::uint32_t optionalSize = in.u16(coff + 16);
    std::uint64_t optional = coff + kCoffHeaderSize;
    std::uint32_t magic = in.u16(optional);
    if (!in.ok) return std::nullopt;

    std::uint64_t directoryCountField;
    if (magic == kPe32Magic) {
        directoryCountField = 92;
    } else if (magic == kPe32PlusMagic) {
        directoryCountField = 108;
    } else {
        return std::nullopt;
    }
    std::uint32_t directoryCount = in.u32(optional + directoryCountField);
    if (!in.ok || directoryCount <= kResourceDirectoryIndex) return std::nullopt;
    std::uint64_t resourceDirectory =
        optional + directoryCountField + 4 + 8 * kResourceDirectoryIndex;
    if (resourceDirectory + 8 > optional + optionalSize) return std::nullopt;
    std::uint32_t resourceRva = in.u32(resourceDirectory);
    if (!in.ok || resourceRva == 0) return std::nullopt;
    std::uint64_t sectionTable = optional + optionalSize;

    auto root = rvaToOffset(in, sectionTable, sectionCount, resourceRva);
    if (!root) return std::nullopt;
    // Three levels: type, name, language. Each must point to a subdirectory but the last.
    auto types = findResourceEntry(in, *root, kResourceTypeVersion);
    if (!types || !(*types & kResourceSubdirectoryBit)) return std::nullopt;
    auto names = findResourceEntry(in, *root + (*types & ~kResourceSubdirectoryBit), std::nullopt);
    if (!names || !(*names & kResourceSubdirectoryBit)) return std::nullopt;
    auto data = findResourceEntry(in, *root + (*names & ~kResourceSubdirectoryBit), std::nullopt);
    if (!data || (*data & kResourceSubdirectoryBit)) return std::nullopt;

    std::uint64_t dataEntry = *root + *data;
    std::uint32_t dataRva = in.u32(dataEntry);
    std::uint32_t dataSize = in.u32(dataEntry + 4);
    if (!in.ok) return std::nullopt;
    auto info = rvaToOffset(in, sectionTable, sectionCount, dataRva);
    if (!info || dataSize < kFixedFileInfoOffset + kFixedFileInfoSize || !in.has(*info, dataSize))
        return std::nullopt;
    if (in.u16(*info + 2) < kFixedFileInfoSize || !hasVersionInfoKey(in, *info))
        return std::nullopt;
    std::uint64_t fixed = *info + kFixedFileInfoOffset;
    if (in.u32(fixed) != kFixedFileInfoSignature || !in.ok) return std::nullopt;
    FileVersion version{in.u32(fixed + 8), in.u32(fixed + 12)};
    if (!in.ok) return std::nullopt;
    return version;
}

}  // namespace kelvara::build
