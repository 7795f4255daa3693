#include <windows.h>

#include <zlib.h>

#include "environment/run_environment.h"
#include "formats/image_signature.h"
#include "formats/inflate_buffer.h"
#include "formats/script_format.h"
#include "formats/startup_messages.h"
#include "runtime/byte_order.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "setup/setup_image.h"
#include "setup/startup_stages.h"

namespace kelvara {
namespace {

constexpr const char* kErrorFileSize = "Error retrieving the module file size.";
constexpr const char* kErrorVerifyRead = "Error verifying the file CRC.";
// Large reads keep the check at memory speed; the result is the same as any chunking's.
constexpr DWORD kVerifyBlock = 1 << 20;
static_assert(kVerifyBlock >= kSignatureHeadSize, "the block holds the file's headers too");

HANDLE selfFile() {
    return runEnvironment.selfFile.get();
}

bool seek(std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(selfFile(), to, nullptr, FILE_BEGIN) != 0;
}

// Reads up to `size` bytes; the count actually read.
DWORD readSome(void* buffer, DWORD size) {
    DWORD read = 0;
    if (!::ReadFile(selfFile(), buffer, size, &read, nullptr)) return 0;
    return read;
}

// The end of the range the checksum covers, from the file's first `length` bytes in `head`: the
// file's end, or for a signed image the start of its certificate table (`fields` then says which
// bytes it reads as zero). 0 when the security entry or the table it names is damaged.
std::uint64_t checksummedRange(std::uint64_t size, const unsigned char* head, DWORD length,
                               SignatureFields& fields) {
    // A file without a readable PE header here has no signature either; the checksum, which
    // covers those headers, says whether it is damaged.
    if (!readSignatureFields(head, length, fields)) fields = SignatureFields{};
    const std::uint64_t end = checksummedEnd(fields, size);
    if (end == 0 || !isSigned(fields)) return end;
    unsigned char table[8] = {};
    if (!seek(fields.tableOffset) || readSome(table, sizeof table) != sizeof table ||
        !certificateTableIsSound(table, fields)) {
        return 0;
    }
    return end;
}

}  // namespace

bool verifySetupImage(const StubHeader& header) {
    LARGE_INTEGER fileSize;
    if (!::GetFileSizeEx(selfFile(), &fileSize)) return reportStartupFailure(kErrorFileSize);
    const auto size = static_cast<std::uint64_t>(fileSize.QuadPart);
    if (size < kChecksumStart) return reportStartupFailure(kErrorVerifyRead);
    HeapString block(static_cast<char*>(heapAlloc(kVerifyBlock)));
    if (!block) return reportStartupFailure(kErrorVerifyRead);
    auto* bytes = reinterpret_cast<unsigned char*>(block.get());
    const DWORD headLength =
        size < kSignatureHeadSize ? static_cast<DWORD>(size) : DWORD{kSignatureHeadSize};
    if (!seek(0) || readSome(bytes, headLength) != headLength)
        return reportStartupFailure(kErrorVerifyRead);
    SignatureFields fields;
    const std::uint64_t end = checksummedRange(size, bytes, headLength, fields);
    if (end == 0) return reportStartupFailure(kErrorDamaged);
    if (end < kChecksumStart || !seek(kChecksumStart))
        return reportStartupFailure(kErrorVerifyRead);
    const bool blanked = isSigned(fields);
    std::uint64_t at = kChecksumStart;
    uLong sum = adler32(0, nullptr, 0);
    while (at < end) {
        const DWORD want = end - at > kVerifyBlock ? kVerifyBlock : static_cast<DWORD>(end - at);
        if (readSome(bytes, want) != want) return reportStartupFailure(kErrorVerifyRead);
        // Signing wrote these two fields after the builder computed the checksum over zeros.
        if (blanked) blankSignatureFields(bytes, at, want, fields);
        sum = adler32(sum, bytes, want);
        at += want;
    }
    if (static_cast<std::uint32_t>(sum) != header.checksum)
        return reportStartupFailure(kErrorDamaged);
    runEnvironment.imageDataEnd = end;
    return true;
}

bool loadSetupScript(const StubHeader& header) {
    RunEnvironment& run = runEnvironment;
    // The package ends where the image's own bytes do, before any certificate table.
    const std::uint64_t size = run.imageDataEnd;
    unsigned char packageHeader[kPackageHeaderSize] = {};
    if (!seek(header.packageOffset) ||
        readSome(packageHeader, kPackageHeaderSize) != kPackageHeaderSize) {
        return reportStartupFailure(kErrorDamaged);
    }
    run.packageHeader = decodePackageHeader(packageHeader);
    if (!packageFitsImage(header.packageOffset, run.packageHeader, size)) {
        return reportStartupFailure(kErrorDamaged);
    }

    unsigned char sizeField[4] = {};
    const std::uint64_t scriptStart =
        std::uint64_t(header.packageOffset) + run.packageHeader.scriptOffset;
    if (!seek(scriptStart) || readSome(sizeField, sizeof sizeField) != sizeof sizeField)
        return reportStartupFailure(kErrorDamaged);
    std::uint32_t inflatedSize = readLe32(sizeField);

    // The compressed block: C bytes, of which the file may hold fewer. Only what the file holds
    // is read and offered; the zero bytes the rest would be add nothing to the stream.
    const std::uint64_t available = size - scriptStart - sizeof sizeField;
    const DWORD compressedSize =
        header.scriptBytes < available ? header.scriptBytes : static_cast<DWORD>(available);
    if (!scriptSizeIsPossible(inflatedSize, compressedSize))
        return reportStartupFailure(kErrorDamaged);
    HeapString compressed(static_cast<char*>(heapAlloc(compressedSize ? compressedSize : 1)));
    run.script.reset(static_cast<unsigned char*>(heapAlloc(inflatedSize ? inflatedSize : 1)));
    // A size no memory can hold is a damaged field, not a reason to go on with half a script.
    if (!compressed || !run.script) return reportStartupFailure(kErrorDamaged);
    run.scriptSize = inflatedSize;
    DWORD total = 0;
    while (total < compressedSize) {
        DWORD read = readSome(compressed.get() + total, compressedSize - total);
        if (read == 0) break;
        total += read;
    }
    inflateBuffer(reinterpret_cast<unsigned char*>(compressed.get()), compressedSize,
                  run.script.get(), inflatedSize, nullptr, 0);
    return true;
}

}  // namespace kelvara
