// Whole files read and written by the builder: the stub, images, the project and its text files.
#pragma once
#include <filesystem>
#include <optional>
#include <vector>

namespace kelvara::build {

// Reads a whole regular file; nullopt when the path names no file (a folder among them) or a
// read fails part-way.
std::optional<std::vector<unsigned char>> readFileBytes(const std::filesystem::path& path);

// Writes a file through a temporary next to it, so a failed build leaves no partial image.
bool writeFileBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

}  // namespace kelvara::build
