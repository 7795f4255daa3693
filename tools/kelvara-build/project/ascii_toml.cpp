#include "kelvara-build/project/ascii_toml.h"

#include <cstdio>

#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {

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
