#include "kelvara-build/cli/manifest_texts.h"

#include <cctype>
#include <optional>
#include <vector>

#include "kelvara-build/common/file_bytes.h"
#include "kelvara-build/common/sha256.h"
#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build::manifests {

std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A UTF-8 file name as a path: a plain std::string would be taken in the code page on Windows.
std::filesystem::path utf8Name(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

bool isAsciiAlnum(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Characters as the schema's length limits count them (UTF-8 continuation bytes are not).
std::size_t characterCount(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80;
    return count;
}

bool hasControl(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) return true;
    }
    return false;
}

bool isSha256Hex(const std::string& hash) {
    if (hash.size() != 64) return false;
    for (char c : hash) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

bool validShortName(const std::string& name) {
    // The engine writes no entry for a name that would name the Uninstall key itself or one
    // below another entry.
    return !name.empty() && name.find('\\') == std::string::npos && characterCount(name) <= 255 &&
           !hasLineBreak(name);
}

bool writeText(const std::filesystem::path& file, const std::string& text) {
    return writeFileBytes(file, std::vector<unsigned char>(text.begin(), text.end()));
}

// The image's name and hash: given, or from the file.
bool resolveImage(const ReleaseFacts& facts, ReleaseImage& out, std::string& error) {
    out.fileName =
        facts.imageFileName.empty() ? utf8Path(facts.image.filename()) : facts.imageFileName;
    if (out.fileName.empty() || out.fileName.find_first_of("\\/\"") != std::string::npos ||
        hasControl(out.fileName)) {
        error = "the image's file name '" + out.fileName + "' is not a plain file name";
        return false;
    }
    out.sha256 = facts.imageSha256;
    if (out.sha256.empty()) {
        std::optional<std::string> hash = sha256HexOfFile(facts.image);
        if (!hash) {
            error = "cannot read the image '" + utf8Path(facts.image) + "' to hash it";
            return false;
        }
        out.sha256 = *hash;
    }
    if (!isSha256Hex(out.sha256)) {
        error = "the image's SHA-256 '" + out.sha256 + "' is not 64 hexadecimal digits";
        return false;
    }
    for (char& c : out.sha256) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return true;
}

}  // namespace kelvara::build::manifests
