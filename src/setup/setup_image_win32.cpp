#include <windows.h>

#include <zlib.h>

#include "formats/inflate_buffer.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
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

HANDLE selfFile() {
    return setupState.selfFile.get();
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

}  // namespace

bool verifySetupImage(const StubHeader& header) {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(selfFile(), &size)) return reportStartupFailure(kErrorFileSize);
    if (size.QuadPart < kChecksumStart || !seek(kChecksumStart))
        return reportStartupFailure(kErrorVerifyRead);
    HeapString block(static_cast<char*>(heapAlloc(kVerifyBlock)));
    if (!block) return reportStartupFailure(kErrorVerifyRead);
    std::uint64_t remaining = static_cast<std::uint64_t>(size.QuadPart) - kChecksumStart;
    uLong sum = adler32(0, nullptr, 0);
    while (remaining != 0) {
        DWORD want = remaining > kVerifyBlock ? kVerifyBlock : static_cast<DWORD>(remaining);
        if (readSome(block.get(), want) != want) return reportStartupFailure(kErrorVerifyRead);
        sum = adler32(sum, reinterpret_cast<const Bytef*>(block.get()), want);
        remaining -= want;
    }
    if (static_cast<std::uint32_t>(sum) != header.checksum)
        return reportStartupFailure(kErrorDamaged);
    return true;
}

bool loadSetupScript(const StubHeader& header) {
    SetupState& s = setupState;
    LARGE_INTEGER fileSize;
    if (!::GetFileSizeEx(selfFile(), &fileSize)) return reportStartupFailure(kErrorFileSize);
    const auto size = static_cast<std::uint64_t>(fileSize.QuadPart);
    unsigned char packageHeader[kPackageHeaderSize] = {};
    if (!seek(header.packageOffset) ||
        readSome(packageHeader, kPackageHeaderSize) != kPackageHeaderSize) {
        return reportStartupFailure(kErrorDamaged);
    }
    s.packageHeader = decodePackageHeader(packageHeader);
    if (!packageFitsImage(header.packageOffset, s.packageHeader, size))
        return reportStartupFailure(kErrorDamaged);

    unsigned char sizeField[4] = {};
    const std::uint64_t scriptStart =
        std::uint64_t(header.packageOffset) + s.packageHeader.scriptOffset;
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
    s.script.reset(static_cast<unsigned char*>(heapAlloc(inflatedSize ? inflatedSize : 1)));
    // A size no memory can hold is a damaged field, not a reason to go on with half a script.
    if (!compressed || !s.script) return reportStartupFailure(kErrorDamaged);
    s.scriptSize = inflatedSize;
    DWORD total = 0;
    while (total < compressedSize) {
        DWORD read = readSome(compressed.get() + total, compressedSize - total);
        if (read == 0) break;
        total += read;
    }
    inflateBuffer(reinterpret_cast<unsigned char*>(compressed.get()), compressedSize,
                  s.script.get(), inflatedSize, nullptr, 0);
    return true;
}

}  // namespace kelvara
