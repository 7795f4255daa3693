#include <windows.h>

#include <zlib.h>

#include "runtime/byte_order.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "setup/inflate_buffer.h"
#include "setup/setup_image.h"
#include "setup/setup_state.h"
#include "setup/startup_stages.h"

namespace kelvara {
namespace {

constexpr const char* kErrorFileSize = "Error retrieving the module file size.";
constexpr const char* kErrorVerifyRead = "Error verifying the file CRC.";
constexpr const char* kErrorDamaged = "The installer file is damaged!";
// Large reads keep the check at memory speed; the result is the same as any chunking's.
constexpr DWORD kVerifyBlock = 1 << 20;

HANDLE selfFile() {
    return static_cast<HANDLE>(setupState.selfFile);
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
    unsigned char packageHeader[kPackageHeaderSize] = {};
    seek(header.packageOffset);
    readSome(packageHeader, kPackageHeaderSize);
    s.packageHeader = decodePackageHeader(packageHeader);

    unsigned char sizeField[4] = {};
    seek(std::uint64_t(header.packageOffset) + s.packageHeader.scriptOffset);
    readSome(sizeField, sizeof sizeField);
    std::uint32_t inflatedSize = readLe32(sizeField);

    // The compressed block: C bytes, of which the file may hold fewer (the rest stays zero).
    HeapString compressed(
        static_cast<char*>(heapAlloc(header.scriptBytes ? header.scriptBytes : 1)));
    s.script = static_cast<unsigned char*>(heapAlloc(inflatedSize ? inflatedSize : 1));
    if (!compressed || !s.script) return false;
    s.scriptSize = inflatedSize;
    DWORD total = 0;
    while (total < header.scriptBytes) {
        DWORD read = readSome(compressed.get() + total, header.scriptBytes - total);
        if (read == 0) break;
        total += read;
    }
    inflateBuffer(reinterpret_cast<unsigned char*>(compressed.get()), header.scriptBytes, s.script,
                  inflatedSize, nullptr, 0);
    return true;
}

}  // namespace kelvara
