// The packager's sign command, run by the builder on the uninstaller stub and on the image.
#pragma once
#include <filesystem>
#include <string>

namespace kelvara::build {

// Runs `command` on `file`: "{in}" stands for the file to sign and "{out}" for where the signed
// file goes, both quoted for the shell; a command without "{out}" signs "{in}" in place. Either
// way `file` holds the signed file afterwards. False with `error` set when the command is not
// usable (no "{in}") or fails (its own messages went to the builder's output), or the signed
// file cannot be put in place.
bool signFile(const std::string& command, const std::filesystem::path& file, std::string& error);

// The command with its placeholders replaced by the quoted paths; exposed for the tests.
std::string signCommandFor(const std::string& command, const std::filesystem::path& in,
                           const std::filesystem::path& out);

}  // namespace kelvara::build
