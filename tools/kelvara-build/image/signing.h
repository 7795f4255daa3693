// The packager's sign command, run by the builder on the uninstaller stub and on the image.
#pragma once
#include <filesystem>
#include <string>

namespace kelvara::build {

// Runs `command` on `file`: "{in}" stands for the file to sign and "{out}" for where the signed
// file goes, both quoted for the shell; a command without "{out}" signs "{in}" in place. Either
// way `file` holds the signed file afterwards. False with `error` set when the command is not
// usable (no "{in}", or a path the shell could not take as one word) or fails (its own messages
// went to the builder's output), or the signed file cannot be put in place.
bool signFile(const std::string& command, const std::filesystem::path& file, std::string& error);

// The command in `line` with its placeholders replaced by the quoted paths, in one pass over
// the command. False with `error` set, and nothing run, when a path holds a quote or a line
// break (on Windows a percent sign too); exposed for the tests.
bool signCommandFor(const std::string& command, const std::filesystem::path& in,
                    const std::filesystem::path& out, std::string& line, std::string& error);

}  // namespace kelvara::build
