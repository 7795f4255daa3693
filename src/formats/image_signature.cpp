#include "formats/image_signature.h"

#include "formats/image_layout.h"
#include "runtime/byte_order.h"

namespace kelvara {
namespace {

constexpr std::uint32_t kPeHeaderPointer = 0x3C;
constexpr std::uint32_t kFileHeaderSize = 24;  // "PE\0\0" and the COFF file header
constexpr std::uint32_t kOptionalHeaderSizeField = 20;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kCheckSumInOptional = 64;
// Where the data directories start in each form, and the count before them.
constexpr std::uint32_t kPe32Directories = 96;
constexpr std::uint32_t kPe32PlusDirectories = 112;
constexpr std::uint32_t kSecurityDirectory = 4;
constexpr std::uint32_t kDirectoryEntrySize = 8;
constexpr std::size_t kCertificateHeaderSize = 8;  // WIN_CERTIFICATE: length, revision, type
constexpr char kStubSignatureMagic[4] = {'K', 'V', 'S', 'G'};

// Zeroes the part of [field, field + size) that lies in the bytes [offset, offset + length).
void blank(unsigned char* bytes, std::uint64_t offset, std::size_t length, std::uint32_t field,
           std::uint32_t size) {
    const std::uint64_t from = field > offset ? field : offset;
    const std::uint64_t end = std::uint64_t(field) + size;
    const std::uint64_t to = end < offset + length ? end : offset + length;
    for (std::uint64_t at = from; at < to; ++at) bytes[at - offset] = 0;
}

}  // namespace

bool readSignatureFields(const unsigned char* head, std::size_t length, SignatureFields& fields) {
    if (length < kStubHeaderSize || head[0] != 'M' || head[1] != 'Z') return false;
    const std::uint64_t pe = readLe32(head + kPeHeaderPointer);
    if (pe + kFileHeaderSize + 2 > length) return false;
    if (head[pe] != 'P' || head[pe + 1] != 'E' || head[pe + 2] != 0 || head[pe + 3] != 0)
        return false;
    const std::uint64_t optional = pe + kFileHeaderSize;
    const std::uint32_t optionalSize = readLe16(head + pe + kOptionalHeaderSizeField);
    const std::uint16_t magic = readLe16(head + optional);
    std::uint32_t directories = 0;
    if (magic == kPe32Magic) {
        directories = kPe32Directories;
    } else if (magic == kPe32PlusMagic) {
        directories = kPe32PlusDirectories;
    } else {
        return false;
    }
    const std::uint32_t entryInOptional = directories + kSecurityDirectory * kDirectoryEntrySize;
    // The entry must be inside the optional header the file declares, and the directory count
    // (the field just before the directories) must reach it.
    if (entryInOptional + kDirectoryEntrySize > optionalSize) return false;
    const std::uint64_t entry = optional + entryInOptional;
    if (entry + kDirectoryEntrySize > length) return false;
    if (readLe32(head + optional + directories - 4) <= kSecurityDirectory) return false;
    fields.checksumField = static_cast<std::uint32_t>(optional + kCheckSumInOptional);
    fields.securityEntry = static_cast<std::uint32_t>(entry);
    fields.tableOffset = readLe32(head + entry);
    fields.tableSize = readLe32(head + entry + 4);
    return true;
}

std::uint64_t checksummedEnd(const SignatureFields& fields, std::uint64_t fileSize) {
    if (!isSigned(fields)) return fileSize;
    const std::uint64_t end = std::uint64_t(fields.tableOffset) + fields.tableSize;
    const bool sound = fields.tableOffset > fields.securityEntry + kDirectoryEntrySize &&
                       fields.tableOffset % kCertificateTableAlignment == 0 &&
                       fields.tableSize >= kCertificateHeaderSize && end == fileSize;
    return sound ? fields.tableOffset : 0;
}

bool certificateTableIsSound(const unsigned char* table, const SignatureFields& fields) {
    const std::uint32_t length = readLe32(table);
    const std::uint16_t revision = readLe16(table + 4);
    const std::uint16_t type = readLe16(table + 6);
    return length >= kCertificateHeaderSize && length <= fields.tableSize &&
           (revision == 0x0100 || revision == 0x0200) && (type == 1 || type == 2);
}

void blankSignatureFields(unsigned char* bytes, std::uint64_t offset, std::size_t length,
                          const SignatureFields& fields) {
    blank(bytes, offset, length, fields.checksumField, 4);
    blank(bytes, offset, length, fields.securityEntry, kDirectoryEntrySize);
}

void encodeStubSignature(unsigned char* bytes, const StubSignature& signature) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(kStubSignatureMagic[i]);
    writeLe32(bytes + 4, signature.checksum);
    writeLe32(bytes + 8, signature.tableOffset);
    writeLe32(bytes + 12, signature.tableSize);
}

bool decodeStubSignature(const unsigned char* bytes, std::size_t length, StubSignature& signature) {
    if (length < kStubSignatureSize) return false;
    for (int i = 0; i < 4; ++i) {
        if (bytes[i] != static_cast<unsigned char>(kStubSignatureMagic[i])) return false;
    }
    signature.checksum = readLe32(bytes + 4);
    signature.tableOffset = readLe32(bytes + 8);
    signature.tableSize = readLe32(bytes + 12);
    return true;
}

}  // namespace kelvara
