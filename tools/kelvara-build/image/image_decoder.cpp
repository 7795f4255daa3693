#include "kelvara-build/image/image_decoder.h"

#include <algorithm>
#include <zlib.h>

#include "formats/inflate_buffer.h"
#include "formats/package_format.h"
#include "runtime/byte_order.h"

namespace kelvara::build {
namespace {

// Larger than any real script; a damaged size field must not make us allocate gigabytes.
constexpr std::uint32_t kScriptSizeLimit = 256u << 20;

}  // namespace

bool decodeImage(const std::vector<unsigned char>& image, DecodedImage& d, std::string& problem) {
    if (image.size() < static_cast<std::size_t>(kStubHeaderSize)) {
        problem = "the file is too short for a header";
        return false;
    }
    d.header = decodeStubHeader(image.data());
    // The range the engine's check covers: the whole file, or what comes before a certificate
    // table, with the two fields signing writes read as zero.
    if (!readSignatureFields(image.data(), std::min(image.size(), kSignatureHeadSize), d.signature))
        d.signature = SignatureFields{};
    d.dataEnd = checksummedEnd(d.signature, image.size());
    if (d.dataEnd != 0 && isSigned(d.signature) &&
        !certificateTableIsSound(image.data() + d.signature.tableOffset, d.signature)) {
        d.dataEnd = 0;
    }
    const std::size_t covered = d.dataEnd != 0 ? static_cast<std::size_t>(d.dataEnd) : image.size();
    std::vector<unsigned char> head(
        image.begin(),
        image.begin() + static_cast<std::ptrdiff_t>(std::min(covered, kSignatureHeadSize)));
    if (isSigned(d.signature)) blankSignatureFields(head.data(), 0, head.size(), d.signature);
    uLong sum = adler32(0L, Z_NULL, 0);
    for (std::size_t at = kChecksumStart; at < covered;) {
        const unsigned char* from = at < head.size() ? head.data() + at : image.data() + at;
        const std::size_t limit = at < head.size() ? head.size() : covered;
        auto chunk = static_cast<uInt>(std::min<std::size_t>(limit - at, 1u << 30));
        sum = adler32(sum, from, chunk);
        at += chunk;
    }
    d.computedChecksum = static_cast<std::uint32_t>(sum);
    const std::uint64_t p = d.header.packageOffset;
    if (p == 0) {
        problem = "no package: the file runs as the uninstaller";
        return false;
    }
    if (p + kPackageHeaderSize > image.size()) {
        problem = "the package header lies past the end of the file";
        return false;
    }
    d.package = decodePackageHeader(image.data() + p);
    StubSignature stubSignature;
    if (d.package.firstEntryOffset > kPackageHeaderSize &&
        p + d.package.firstEntryOffset <= image.size() &&
        decodeStubSignature(image.data() + p + kPackageHeaderSize,
                            d.package.firstEntryOffset - kPackageHeaderSize, stubSignature)) {
        d.stubSignature = stubSignature;
    }
    if (p + d.package.scriptOffset + 4 > covered) {
        problem = "the script block lies past the end of the file";
        return false;
    }
    d.scriptSize = readLe32(image.data() + p + d.package.scriptOffset);
    if (d.scriptSize > kScriptSizeLimit) {
        problem = "the script size " + std::to_string(d.scriptSize) + " is not plausible";
        return false;
    }
    // As the engine reads it: C bytes, zero-filled past the end of the file.
    const std::size_t start = p + d.package.scriptOffset + 4;
    const std::size_t available = covered - start;
    std::vector<unsigned char> compressed(
        std::min<std::size_t>(d.header.scriptBytes, available + 4096), 0);
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(start),
                std::min(available, compressed.size()), compressed.begin());
    d.script.assign(d.scriptSize, 0);
    d.inflated = inflateBuffer(compressed.data(), compressed.size(), d.script.data(),
                               d.script.size(), nullptr, 0);
    return true;
}

}  // namespace kelvara::build
