// What --dump prints of a setup image, decoded by image_decoder.h: its header fields, checksum,
// file groups and script records, each record on a line as the engine's RecordCursor walks them.
#pragma once
#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "formats/script_format.h"

namespace kelvara::build {

// One line per record of a script block, in order, ending with "end" when the end record is
// met, or a line saying where the walk stopped.
std::vector<std::string> describeScript(const unsigned char* script, std::size_t size);
std::string describeRecord(const ScriptRecord& record);

// Prints everything about the image at `path` to `out`. Returns 0 when the image is sound, 2
// when it cannot be read, its checksum differs or its package or script is damaged (the reason
// goes to `err`).
int dumpImage(const std::filesystem::path& path, std::ostream& out, std::ostream& err);

}  // namespace kelvara::build
