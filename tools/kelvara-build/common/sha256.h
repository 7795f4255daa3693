// SHA-256 (FIPS 180-4) of bytes and of files, for the hashes package managers check an image by.
// Plain C++: the builder is also built for Windows, where no crypto library is at hand.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace kelvara::build {

using Sha256Digest = std::array<unsigned char, 32>;

// A running hash: update() as often as the bytes come, then finish() once.
class Sha256 {
  public:
    Sha256();
    void update(std::span<const unsigned char> bytes);
    // The digest of everything given; the object starts over afterwards.
    Sha256Digest finish();

  private:
    void compress(const unsigned char* block);

    std::uint32_t state_[8];
    unsigned char buffer_[64];
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;  // bytes so far: 64 bits also in a 32-bit build
};

Sha256Digest sha256Of(std::span<const unsigned char> bytes);

// Bytes as upper-case hexadecimal digits, as winget writes a hash.
std::string upperHex(std::span<const unsigned char> bytes);

// The hash of `bytes` in upper-case hexadecimal (64 digits).
std::string sha256Hex(std::span<const unsigned char> bytes);

// The hash of a regular file in upper-case hexadecimal, read in pieces (an image may be larger
// than the memory at hand); nullopt when the path names no file or a read fails.
std::optional<std::string> sha256HexOfFile(const std::filesystem::path& path);

}  // namespace kelvara::build
