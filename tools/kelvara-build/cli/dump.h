// Inspection of a setup image: its header fields, checksum, file groups and script records,
// decoded with the engine's own readers (image_layout, package_format, RecordCursor).
#pragma once
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "formats/image_layout.h"
#include "formats/image_signature.h"
#include "formats/script_format.h"

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

// One line per record of a script block, in order, ending with "end" when the end record is
// met, or a line saying where the walk stopped.
std::vector<std::string> describeScript(const unsigned char* script, std::size_t size);
std::string describeRecord(const ScriptRecord& record);

// Prints everything about the image at `path` to `out`. Returns 0 when the image is sound, 2
// when it cannot be read, its checksum differs or its package or script is damaged (the reason
// goes to `err`).
int dumpImage(const std::filesystem::path& path, std::ostream& out, std::ostream& err);

}  // namespace kelvara::build
