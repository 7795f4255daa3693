#include "kelvara-build/common/text_conversion.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kelvara::build {

long decodeUtf8(const std::string& text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || i + length > text.size()) return -1;
    long c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return -1;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    const long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return -1;
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five unused ones.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Capital letters and the distance to their small ones; `alternating`: only every other code
// point from `first` on is a capital, followed by its small letter.
struct CaseRange {
    char32_t first, last;
    std::int32_t toLower;
    bool alternating;
};

// The common scripts' capitals; Windows compares file names by an upper-case table, under which
// each of these and its small letter are one name. Final sigma joins sigma as it does there.
constexpr CaseRange kCaseRanges[] = {
    {0x0041, 0x005A, 32, false}, {0x00C0, 0x00D6, 32, false},   {0x00D8, 0x00DE, 32, false},
    {0x0100, 0x012F, 1, true},   {0x0132, 0x0137, 1, true},     {0x0139, 0x0148, 1, true},
    {0x014A, 0x0177, 1, true},   {0x0178, 0x0178, -121, false}, {0x0179, 0x017E, 1, true},
    {0x01CD, 0x01DC, 1, true},   {0x01DE, 0x01EF, 1, true},     {0x01F8, 0x021F, 1, true},
    {0x0222, 0x0233, 1, true},   {0x0386, 0x0386, 38, false},   {0x0388, 0x038A, 37, false},
    {0x038C, 0x038C, 64, false}, {0x038E, 0x038F, 63, false},   {0x0391, 0x03A1, 32, false},
    {0x03A3, 0x03AB, 32, false}, {0x03C2, 0x03C2, 1, false},    {0x03D8, 0x03EF, 1, true},
    {0x0400, 0x040F, 80, false}, {0x0410, 0x042F, 32, false},   {0x0460, 0x0481, 1, true},
    {0x048A, 0x04BF, 1, true},   {0x04C0, 0x04C0, 15, false},   {0x04C1, 0x04CE, 1, true},
    {0x04D0, 0x052F, 1, true},   {0x0531, 0x0556, 48, false},   {0x1E00, 0x1E95, 1, true},
    {0x1EA0, 0x1EFF, 1, true},   {0x2160, 0x216F, 16, false},   {0x24B6, 0x24CF, 26, false},
    {0xFF21, 0xFF3A, 32, false},
};

char32_t lowerCodePoint(char32_t c) {
    for (const CaseRange& range : kCaseRanges) {
        if (c < range.first || c > range.last) continue;
        if (range.alternating && (c - range.first) % 2 != 0) return c;
        return static_cast<char32_t>(static_cast<std::int32_t>(c) + range.toLower);
    }
    return c;
}

// "\uN?" for one UTF-16 unit, N as a signed 16-bit number.
void appendRtfUnit(std::string& out, char32_t unit) {
    const long n = unit >= 0x8000 ? static_cast<long>(unit) - 0x10000 : static_cast<long>(unit);
    out += "\\u" + std::to_string(n) + "?";
}

}  // namespace

std::optional<std::string> toAnsi(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        char32_t code = 0;
        int extra = 0;
        if (byte < 0x80) {
            code = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            code = byte & 0x1F;
            extra = 1;
        } else if ((byte & 0xF0) == 0xE0) {
            code = byte & 0x0F;
            extra = 2;
        } else if ((byte & 0xF8) == 0xF0) {
            code = byte & 0x07;
            extra = 3;
        } else {
            return std::nullopt;
        }
        if (extra > 0 && i + extra >= utf8.size()) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        i += 1 + extra;
        if (code == 0) return std::nullopt;
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out.push_back(static_cast<char>(code));
            continue;
        }
        auto found = std::find(kWindows1252High.begin(), kWindows1252High.end(), code);
        if (found == kWindows1252High.end()) return std::nullopt;
        out.push_back(static_cast<char>(0x80 + (found - kWindows1252High.begin())));
    }
    return out;
}

long windows1252CodePoint(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    const char32_t code = kWindows1252High[byte - 0x80];
    return code ? static_cast<long>(code) : -1;
}

std::string fromAnsi(const std::string& ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 4);
    for (char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        const long code = windows1252CodePoint(byte);
        appendUtf8(out, code < 0 ? char32_t{byte} : static_cast<char32_t>(code));
    }
    return out;
}

std::string fromEngineText(const std::string& text, TextEncoding encoding) {
    return encoding == TextEncoding::Windows1252 ? fromAnsi(text) : text;
}

std::optional<TextEncoding> encodingNamed(const std::string& keyword) {
    if (keyword == "windows-1252") return TextEncoding::Windows1252;
    if (keyword == "utf-8") return TextEncoding::Utf8;
    return std::nullopt;
}

const char* encodingKeyword(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "utf-8" : "windows-1252";
}

const char* encodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

bool isUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        if (static_cast<unsigned char>(text[i]) >= 0x80 && decodeUtf8(text, i, length) < 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::optional<std::string> toEngineText(const std::string& utf8, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252) return toAnsi(utf8);
    if (utf8.find('\0') != std::string::npos || !isUtf8(utf8)) return std::nullopt;
    return utf8;
}

std::string unwritableText(TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) return "a NUL or bytes that are not UTF-8";
    return "a character that Windows-1252 cannot write (or a NUL)";
}

std::string foldedName(const std::string& name, TextEncoding encoding) {
    std::string out;
    out.reserve(name.size());
    if (encoding == TextEncoding::Windows1252) {
        for (char c : name) {
            const auto byte = static_cast<unsigned char>(c);
            unsigned char lower = byte;
            if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
                lower = static_cast<unsigned char>(byte + 0x20);
            } else if (byte == 0x8A || byte == 0x8C || byte == 0x8E) {  // S, OE, Z with caron
                lower = static_cast<unsigned char>(byte + 0x10);
            } else if (byte == 0x9F) {  // Y with diaeresis
                lower = 0xFF;
            }
            out += static_cast<char>(lower);
        }
        return out;
    }
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = 1;
        long c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) c = decodeUtf8(name, i, length);
        if (c < 0) {
            out += name[i++];  // kept as it is: the names were checked before
            continue;
        }
        appendUtf8(out, lowerCodePoint(static_cast<char32_t>(c)));
        i += length;
    }
    return out;
}

std::string richTextOf(const std::string& utf8) {
    const bool rich = utf8.rfind("{\\rtf", 0) == 0;
    std::string out = rich ? "" : "{\\rtf1\\ansi ";
    out.reserve(out.size() + utf8.size() + utf8.size() / 8);
    for (std::size_t i = 0; i < utf8.size();) {
        const char c = utf8[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            std::size_t length = 1;
            long code = decodeUtf8(utf8, i, length);
            if (code < 0) {
                code = 0xFFFD;
                length = 1;
            }
            if (code > 0xFFFF) {
                appendRtfUnit(out, static_cast<char32_t>(0xD800 + ((code - 0x10000) >> 10)));
                appendRtfUnit(out, static_cast<char32_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
            } else {
                appendRtfUnit(out, static_cast<char32_t>(code));
            }
            i += length;
            continue;
        }
        ++i;
        if (rich) {
            out += c;
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i < utf8.size() && utf8[i] == '\n') ++i;
            out += "\\par\r\n";
        } else {
            out += c;
        }
    }
    if (!rich) out += '}';
    return out;
}

bool hasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace kelvara::build
