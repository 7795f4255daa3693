#include "text_conversion.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kelvara::build {
namespace {

// The code point of the UTF-8 sequence at text[i], or -1 for a malformed one; `length` is
// the number of bytes it takes.
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

}  // namespace

std::optional<std::string> toAnsi(const std::string& utf8) {
    // Windows-1252 bytes 0x80 to 0x9F; 0 marks the five unused ones.
    static constexpr std::array<char32_t, 32> kHigh = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
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
        auto found = std::find(kHigh.begin(), kHigh.end(), code);
        if (found == kHigh.end()) return std::nullopt;
        out.push_back(static_cast<char>(0x80 + (found - kHigh.begin())));
    }
    return out;
}

bool hasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

AsciiToml asAsciiToml(const std::string& text) {
    AsciiToml out;
    int line = 1;
    auto fail = [&](const char* problem) {
        out.problemLine = line;
        out.problem = problem;
        return out;
    };
    std::size_t i = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    auto at = [&](std::size_t k, const char* token) { return text.compare(k, 3, token) == 0; };
    // Writes the character at text[i] as an escape; false for a malformed one.
    auto escapeNonAscii = [&]() {
        std::size_t length = 0;
        const long c = decodeUtf8(text, i, length);
        if (c < 0) return false;
        char escape[12];
        std::snprintf(escape, sizeof escape, c > 0xFFFF ? "\\U%08lX" : "\\u%04lX", c);
        out.text += escape;
        i += length;
        return true;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') ++line;
        if (c == '#') {  // a comment runs to the end of its line
            for (; i < text.size() && text[i] != '\n'; ++i) {
                if (static_cast<unsigned char>(text[i]) < 0x80) out.text += text[i];
            }
            continue;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            return fail("a character outside ASCII may stand only in a string or a comment");
        }
        if (c != '"' && c != '\'') {
            out.text += c;
            ++i;
            continue;
        }
        const bool literal = c == '\'';
        const char* closing = literal ? "'''" : "\"\"\"";
        const bool multiline = at(i, closing);
        const char* delimiter = multiline ? "\"\"\"" : "\"";
        out.text += delimiter;
        i += multiline ? 3 : 1;
        while (i < text.size()) {
            const char d = text[i];
            if (d == '\n') {
                if (!multiline) break;  // not a string of one line: the library says so
                ++line;
            }
            if (d == c && (!multiline || at(i, closing))) {
                // Up to two quotes more belong to the text of a multi-line string.
                std::size_t run = 1;
                while (multiline && run < 5 && i + run < text.size() && text[i + run] == c) ++run;
                out.text.append(multiline ? run - 3 : 0, c);
                out.text += delimiter;
                i += run;
                break;
            }
            if (static_cast<unsigned char>(d) >= 0x80) {
                if (!escapeNonAscii()) return fail("the text is not valid UTF-8");
                continue;
            }
            if (literal && (d == '\\' || d == '"')) {
                out.text += '\\';
            } else if (!literal && d == '\\' && i + 1 < text.size()) {
                // An escape is copied whole; none begins with a character outside ASCII.
                if (static_cast<unsigned char>(text[i + 1]) >= 0x80) {
                    return fail("a backslash in a string must begin a TOML escape");
                }
                if (text[i + 1] == '\n') ++line;
                out.text += text[i++];
            }
            out.text += text[i++];
        }
    }
    return out;
}

}  // namespace kelvara::build
