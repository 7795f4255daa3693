// The file version of a Windows program or library, read from the bytes of the file: the
// VS_FIXEDFILEINFO of its version resource. The engine compares it with the version of a file
// already installed when a group's decision rule looks at versions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kelvara::build {

struct FileVersion {
    std::uint32_t ms = 0;  // dwFileVersionMS: major << 16 | minor
    std::uint32_t ls = 0;  // dwFileVersionLS: build << 16 | revision
};

// The version of a PE image (32- or 64-bit) with a version resource; nothing for any other
// bytes. Every read is checked against `size`: damaged or hostile files give nothing, never a
// read outside the bytes.
std::optional<FileVersion> readPeFileVersion(const unsigned char* bytes, std::size_t size);

// True for a PE image of x86 or x64 code, whose calls and jumps the x86 filter turns into
// absolute addresses (which repeat, and so compress better).
bool isX86PeImage(const unsigned char* bytes, std::size_t size);

}  // namespace kelvara::build
