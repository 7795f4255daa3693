#include "kelvara-build/common/file_bytes.h"

#include <fstream>
#include <system_error>

namespace kelvara::build {

std::optional<std::vector<unsigned char>> readFileBytes(const std::filesystem::path& path) {
    // A folder opens as a stream on some systems and fails only at the first read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // istream::read turns a failing read into badbit; reading through the stream buffer
    // directly would let the library's exception escape.
    std::vector<unsigned char> bytes;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeFileBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::filesystem::path temporary = path;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (!error) return true;
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace kelvara::build
