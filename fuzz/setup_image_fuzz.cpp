// A whole setup image from bytes: the stub header, the checksum, the package header and the
// setup script inflated as the engine loads it (kelvara-build --dump reads images with the same
// code), then the file groups and the script's records walked.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "formats/image_layout.h"
#include "formats/image_signature.h"
#include "formats/package_format.h"
#include "formats/script_format.h"
#include "fuzz_support.h"
#include "kelvara-build/cli/dump.h"
#include "kelvara-build/image/image_decoder.h"
#include "runtime/byte_order.h"

using namespace kelvara;

namespace {

// A script size field above this only makes the reader clear that much memory; the limit keeps
// each input fast, the reader's own limit is checked by its tests.
constexpr std::uint32_t kScriptSizeWorkLimit = 1u << 16;

// The header fields survive being written back: package offset and package header.
void checkHeaderRoundTrip(const unsigned char* bytes, std::size_t size) {
    StubHeader header = decodeStubHeader(bytes);
    unsigned char copy[kStubHeaderSize];
    std::memcpy(copy, bytes, sizeof copy);
    encodePackageOffset(copy, header.packageOffset);
    StubHeader again = decodeStubHeader(copy);
    FUZZ_CHECK(again.packageOffset == header.packageOffset);
    FUZZ_CHECK(again.scriptBytes == header.scriptBytes && again.checksum == header.checksum);
    // Only the two package offset fields may change.
    for (int i = 0; i < kStubHeaderSize; ++i) {
        bool offsetField = (i >= kPackageOffsetField && i < kPackageOffsetField + 2) ||
                           (i >= kWidePackageOffsetField && i < kWidePackageOffsetField + 4);
        FUZZ_CHECK(offsetField || copy[i] == bytes[i]);
    }
    if (size >= kStubHeaderSize + kPackageHeaderSize) {
        PackageHeader package = decodePackageHeader(bytes + kStubHeaderSize);
        unsigned char written[kPackageHeaderSize];
        encodePackageHeader(written, package);
        FUZZ_CHECK(std::memcmp(written, bytes + kStubHeaderSize, kPackageHeaderSize) == 0);
    }
}

// The script size field as the reader will find it, or 0 when the reader stops before it.
std::uint32_t scriptSizeField(const std::vector<unsigned char>& image) {
    StubHeader header = decodeStubHeader(image.data());
    std::uint64_t p = header.packageOffset;
    if (p == 0 || p + kPackageHeaderSize > image.size()) return 0;
    std::uint64_t at = p + decodePackageHeader(image.data() + p).scriptOffset;
    return at + 4 <= image.size() ? readLe32(image.data() + at) : 0;
}

// The file groups as listEntries walks them: every entry lies inside the package, in order.
void walkFileGroups(const std::vector<unsigned char>& image, const build::DecodedImage& d) {
    const std::size_t p = d.header.packageOffset;
    const unsigned char* package = image.data() + p;
    const std::size_t packageSize = image.size() - p;
    PackageInMemory bytes(package, packageSize);
    PackageWalker walker(bytes, d.package.firstEntryOffset, d.package.scriptOffset);
    FileGroupHeader group;
    std::uint32_t last = d.package.firstEntryOffset;
    while (walker.nextGroup(group)) {
        FUZZ_CHECK(group.endOffset <= d.package.scriptOffset);
        PackageEntry entry;
        while (walker.nextEntry(entry)) {
            FUZZ_CHECK(walker.offset() > last && walker.offset() <= group.endOffset);
            last = walker.offset();
            const auto* name = reinterpret_cast<const unsigned char*>(entry.name);
            FUZZ_CHECK(name >= package && name < package + group.endOffset);
            FUZZ_CHECK(isPlainEntryName(entry.name, std::strlen(entry.name)));
            if (entry.isFile()) {
                FUZZ_CHECK(std::uint64_t(entry.dataOffset) + entry.file.storedLength <=
                           group.endOffset);
            }
        }
    }
    FUZZ_CHECK(walker.offset() <= d.package.scriptOffset || walker.damaged());
}

// The fields signing writes lie inside the headers they were read from, and a signed file's
// checksummed range ends at its certificate table, inside the file.
void checkSignatureFields(const std::vector<unsigned char>& image) {
    const std::size_t head = image.size() < kSignatureHeadSize ? image.size() : kSignatureHeadSize;
    SignatureFields fields;
    if (!readSignatureFields(image.data(), head, fields)) return;
    FUZZ_CHECK(fields.checksumField + 4 <= head && fields.securityEntry + 8 <= head);
    const std::uint64_t end = checksummedEnd(fields, image.size());
    FUZZ_CHECK(end <= image.size());
    if (isSigned(fields) && end != 0) {
        FUZZ_CHECK(end == fields.tableOffset && end % kCertificateTableAlignment == 0);
        FUZZ_CHECK(end > fields.securityEntry);
        certificateTableIsSound(image.data() + end, fields);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= static_cast<std::size_t>(kStubHeaderSize)) checkHeaderRoundTrip(data, size);
    std::vector<unsigned char> image(data, data + size);
    if (size >= static_cast<std::size_t>(kStubHeaderSize) &&
        scriptSizeField(image) > kScriptSizeWorkLimit) {
        return -1;  // not kept in the corpus
    }
    checkSignatureFields(image);
    build::DecodedImage decoded;
    std::string problem;
    if (!build::decodeImage(image, decoded, problem)) {
        FUZZ_CHECK(!problem.empty());
        return 0;
    }
    FUZZ_CHECK(decoded.header.packageOffset != 0);
    FUZZ_CHECK(decoded.header.packageOffset + kPackageHeaderSize <= size);
    FUZZ_CHECK(decoded.script.size() == decoded.scriptSize);
    // The inflater never reports more than the room it was given.
    FUZZ_CHECK(decoded.inflated <= static_cast<long>(decoded.scriptSize));
    walkFileGroups(image, decoded);

    std::vector<std::string> lines =
        build::describeScript(decoded.script.data(), decoded.script.size());
    RecordCursor cursor(decoded.script.data(), decoded.script.size());
    ScriptRecord record;
    std::size_t records = 0;
    while (cursor.next(record)) ++records;
    FUZZ_CHECK(lines.size() == records + 1);
    FUZZ_CHECK((lines.back() == "end") == cursor.reachedEndRecord());
    return 0;
}
