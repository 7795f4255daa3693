// What the winget and Intune writers share: texts counted and checked as the schemas count
// them, the image's name and hash, and writing a file. Internal to the package manifests.
#pragma once
#include <filesystem>
#include <string>

#include "kelvara-build/cli/package_manifests.h"

namespace kelvara::build::manifests {

// A path as UTF-8, and a UTF-8 file name as a path (a plain std::string would be taken in the
// code page on Windows).
std::string utf8Path(const std::filesystem::path& path);
std::filesystem::path utf8Name(const std::string& name);

bool isAsciiAlnum(char c);
bool isAsciiLetter(char c);
// Characters as the schemas' length limits count them (UTF-8 continuation bytes are not).
std::size_t characterCount(const std::string& text);
bool hasControl(const std::string& text);
bool isSha256Hex(const std::string& hash);
// A name the engine writes an uninstall entry under: not empty, no backslash, one line.
bool validShortName(const std::string& name);

// The image as a manifest names it: its file name and its SHA-256 in upper-case hex.
struct ReleaseImage {
    std::string fileName, sha256;
};

// The facts' image name and hash, given or read from the file. False with `error` when the name
// is no plain file name, the file cannot be read or the hash is malformed.
bool resolveImage(const ReleaseFacts& facts, ReleaseImage& out, std::string& error);

// False when the file cannot be written.
bool writeText(const std::filesystem::path& file, const std::string& text);

}  // namespace kelvara::build::manifests
