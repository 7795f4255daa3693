#include "runtime/text_encoding.h"

namespace kelvara {
namespace {

// A UTF-8 byte that continues a character, 10xxxxxx, never starts one.
bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

constexpr std::size_t kLongestCharacter = 4;  // bytes of one UTF-8 character

}  // namespace

bool isAsciiText(const char* text) {
    for (; text && *text; ++text) {
        if (static_cast<unsigned char>(*text) >= 0x80) return false;
    }
    return true;
}

std::size_t characterLength(const char* text) {
    if (!text || !*text) return 0;
    std::size_t length = 1;
    if (!textIsUtf8() || static_cast<unsigned char>(*text) < 0xC0) return length;
    while (length < kLongestCharacter && continuesCharacter(text[length])) ++length;
    return length;
}

std::size_t wholeCharactersLength(const char* text, std::size_t length) {
    if (!text || !textIsUtf8()) return length;
    // The last byte that starts a character, within the last four.
    std::size_t start = length;
    while (start > 0 && length - start < kLongestCharacter && continuesCharacter(text[start - 1])) {
        --start;
    }
    if (start == 0 || length - start >= kLongestCharacter) return length;  // no UTF-8: bytes
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    const std::size_t held = length - start + 1;
    return held < size ? start - 1 : length;
}

}  // namespace kelvara
