// A setup image read back from its bytes: its header fields, the checksum as the engine computes
// it, its signature, the package header and the inflated script, decoded with the engine's own
// readers (image_layout, image_signature, package_format).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/image_layout.h"
#include "formats/image_signature.h"

namespace kelvara::build {

struct DecodedImage {
    StubHeader header;
    std::uint32_t computedChecksum = 0;
    // Code signing: the fields the image's security entry names, where its own bytes end (its
    // size, or its certificate table's start; 0 when the entry names a table that does not end
    // the file), and the signed stub's fields kept for the uninstaller, when there are any.
    SignatureFields signature;
    std::uint64_t dataEnd = 0;
    std::optional<StubSignature> stubSignature;
    PackageHeader package;
    std::uint32_t scriptSize = 0;       // U
    std::vector<unsigned char> script;  // the inflated script (U bytes)
    long inflated = 0;                  // bytes the inflater produced
};

// Decodes an image held in memory. False with `problem` set when it has no package or its
// package header or script size lie outside the file.
bool decodeImage(const std::vector<unsigned char>& image, DecodedImage& decoded,
                 std::string& problem);

}  // namespace kelvara::build
