// The TOML library's parse errors in plain words: the mistakes a packager makes most (a text
// left open, a Windows path's single backslash in double quotes) get a message that says what
// to write instead; any other error keeps the library's words.
#pragma once
#include <string>

namespace kelvara::build {

struct TomlError {
    int line = 0;
    std::string message;
};

// The error the library described with `description` at `line` of the project file's `text`
// (as the packager wrote it: the library reads an ASCII copy with the same lines). The line may
// move to where the mistake is: an unclosed text in triple quotes is found at the end of the
// file, and told where it opens.
TomlError plainTomlError(const std::string& text, const std::string& description, int line);

}  // namespace kelvara::build
