// The project file's text made fit for the TOML library.
#pragma once
#include <string>

namespace kelvara::build {

// The TOML library tests characters outside ASCII against its whitespace table wherever it
// scans for the end of a token, and that test is undefined behaviour for many of them (U+00A1
// to U+0499 among them): a malformed value followed by a quoted 'é' is enough. So the library
// is only ever given ASCII. Outside strings and comments TOML has no place for such a
// character, and it is refused; in a comment it is dropped; in a string it becomes a \u or \U
// escape, a literal string turning into the basic string of the same value. Lines stay where
// they are, so the library's line numbers hold.
struct AsciiToml {
    std::string text;
    int problemLine = 0;  // 0 when the text could be carried over
    std::string problem;
};

AsciiToml asAsciiToml(const std::string& text);

}  // namespace kelvara::build
