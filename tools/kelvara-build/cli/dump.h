// What --dump prints of a setup image, decoded by image_decoder.h: its header fields, checksum,
// file groups and script records, each record on a line as the engine's RecordCursor walks them.
#pragma once
#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "formats/script_format.h"
#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {

// One line per record of a script block, in order, ending with "end" when the end record is
// met, or a line saying where the walk stopped. The lines are UTF-8: `texts` is the code page of
// the script's texts (the classic edition's Windows-1252 is converted; with UTF-8 the bytes stay
// as they are), and control characters are escaped.
std::vector<std::string> describeScript(const unsigned char* script, std::size_t size,
                                        TextEncoding texts = TextEncoding::Utf8);
std::string describeRecord(const ScriptRecord& record, TextEncoding texts = TextEncoding::Utf8);

// Prints everything about the image at `path` to `out`, its texts in UTF-8 whichever edition's
// stub it has. Returns 0 when the image is sound, 2
// when it cannot be read, its checksum differs or its package or script is damaged (the reason
// goes to `err`).
int dumpImage(const std::filesystem::path& path, std::ostream& out, std::ostream& err);

}  // namespace kelvara::build
