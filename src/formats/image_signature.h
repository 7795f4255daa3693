// Code signing and the setup image. Signing a PE file writes its CheckSum field and its security
// directory entry (where the certificate table is and how long) and appends the certificate
// table at the end of the file. The image's own checksum covers the file from kChecksumStart: for
// a signed image it ends where the certificate table starts, and reads the two fields as zero,
// which is what the builder wrote there. Engine and builder both use these definitions.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kelvara {

// Images are written with a length that is a multiple of this, so that signing, which aligns the
// certificate table to it, adds no padding inside the checksummed range.
constexpr std::uint32_t kCertificateTableAlignment = 8;

// Bytes of the file's start that hold every PE header field read here (the PE header is within
// the first kilobytes of any linker's output).
constexpr std::size_t kSignatureHeadSize = 4096;

// Where signing writes, read from a PE32 or PE32+ header.
struct SignatureFields {
    std::uint32_t checksumField = 0;  // file offset of the optional header's CheckSum (4 bytes)
    std::uint32_t securityEntry = 0;  // file offset of the security directory entry (8 bytes)
    std::uint32_t tableOffset = 0;    // the entry's values: 0 and 0 in an unsigned file
    std::uint32_t tableSize = 0;
};

// Reads the fields from the first `length` bytes of a file. False when they hold no PE header
// whose fields are all inside them (not a PE file, or one cut short).
bool readSignatureFields(const unsigned char* head, std::size_t length, SignatureFields& fields);

// True when the fields name a certificate table at all.
inline bool isSigned(const SignatureFields& fields) {
    return fields.tableOffset != 0 || fields.tableSize != 0;
}

// The end of the range the image's checksum covers, in a file of `fileSize` bytes: the file's
// end when it is not signed; the certificate table's start when the table lies after the PE
// headers, on an 8-byte boundary, and ends the file; 0 when the entry names anything else (a
// table that does not end the file, bytes appended after it), which is damage.
std::uint64_t checksummedEnd(const SignatureFields& fields, std::uint64_t fileSize);

// True when `table` (the first 8 bytes of the certificate table) starts a WIN_CERTIFICATE whose
// length fits the table: revision 1.0 or 2.0, an X.509 or PKCS#7 certificate.
bool certificateTableIsSound(const unsigned char* table, const SignatureFields& fields);

// Sets to zero whatever part of the CheckSum field and the security entry falls into `bytes`,
// which hold `length` bytes of the file from `offset` on.
void blankSignatureFields(unsigned char* bytes, std::uint64_t offset, std::size_t length,
                          const SignatureFields& fields);

// The header fields of a signed stub, kept in the package of a signed image so that the
// uninstaller the engine copies out of the image carries the stub's signature again. The record
// lies between the package header and the first file entry (the package header's E leaves room
// for it); engines that do not know it skip it with the rest of that room.
struct StubSignature {
    std::uint32_t checksum = 0;     // the signed stub's CheckSum field
    std::uint32_t tableOffset = 0;  // its security entry: the certificate table inside the stub
    std::uint32_t tableSize = 0;
};

constexpr std::size_t kStubSignatureSize = 16;  // "KVSG", then the three values

void encodeStubSignature(unsigned char* bytes, const StubSignature& signature);

// Reads the record from the `length` bytes between the package header and the first entry.
// False when they hold none.
bool decodeStubSignature(const unsigned char* bytes, std::size_t length, StubSignature& signature);

}  // namespace kelvara
