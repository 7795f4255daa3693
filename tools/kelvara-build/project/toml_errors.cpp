#include "kelvara-build/project/toml_errors.h"

#include <optional>

namespace kelvara::build {
namespace {

// A text of the file that its line (or, in triple quotes, the file) ends inside.
struct OpenText {
    int line = 0;  // where it opens
    char quote = '"';
    bool multiline = false;
    bool endsInEscapedQuote = false;  // its last characters are \" : the closing quote escaped
};

// The first text of the file that is not closed, as TOML reads texts: in double quotes a
// backslash escapes the next character, in single quotes nothing does; a text in one pair of
// quotes ends with its line, one in three pairs may span lines. Comments hold no texts.
std::optional<OpenText> firstOpenText(const std::string& text) {
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
            continue;
        }
        if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
            continue;
        }
        if (c != '"' && c != '\'') {
            ++i;
            continue;
        }
        OpenText open;
        open.line = line;
        open.quote = c;
        const std::string triple(3, c);
        open.multiline = text.compare(i, 3, triple) == 0;
        i += open.multiline ? 3 : 1;
        bool closed = false;
        while (i < text.size()) {
            const char d = text[i];
            if (d == '\n') {
                if (!open.multiline) break;
                ++line;
            }
            if (d == '\\' && c == '"' && i + 1 < text.size()) {
                // Only a multi-line text goes on past a backslash that ends its line.
                if (text[i + 1] == '\n' && !open.multiline) break;
                if (text[i + 1] == '\n') ++line;
                // A backslash and the quote ending the line: the quote belongs to the text.
                open.endsInEscapedQuote =
                    text[i + 1] == '"' &&
                    text.find_first_not_of(" \t\r", i + 2) == text.find('\n', i + 2);
                i += 2;
                continue;
            }
            if (d == c && (!open.multiline || text.compare(i, 3, triple) == 0)) {
                i += open.multiline ? 3 : 1;
                // Up to two more quotes belong to a multi-line text.
                while (open.multiline && i < text.size() && text[i] == c) ++i;
                closed = true;
                break;
            }
            ++i;
        }
        if (!closed) return open;
    }
    return std::nullopt;
}

bool has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

const char* const kBackslashHint =
    "a single backslash in a text in double quotes starts an escape: write \\\\ for a backslash, "
    "or put the path in single quotes ('C:\\Tools')";

std::string notClosed(const OpenText& open) {
    if (open.multiline) {
        const std::string triple(3, open.quote);
        return "a text in triple quotes is not closed: the file ends before its closing " + triple;
    }
    std::string message =
        std::string("a text is not closed: a closing ") + open.quote + " is missing on this line";
    if (open.endsInEscapedQuote) {
        message +=
            " (the backslash before the last \" makes that quote part of the text: write \\\\ "
            "for a backslash, or put the path in single quotes)";
    }
    return message;
}

}  // namespace

TomlError plainTomlError(const std::string& text, const std::string& description, int line) {
    // The library's words for a line that ends inside a text (it meets the line break, a control
    // character TOML does not allow there) and for a file that does.
    if (has(description, "unescaped control characters") ||
        (has(description, "parsing string") && has(description, "end-of-file"))) {
        const std::optional<OpenText> open = firstOpenText(text);
        if (open && (open->multiline || open->line == line || has(description, "end-of-file")))
            return {open->line, notClosed(*open)};
    }
    if (has(description, "unknown escape sequence") ||
        (has(description, "escape sequence") && has(description, "not supported")) ||
        has(description, "unicode scalar sequence")) {
        return {line, kBackslashHint};
    }
    return {line, "the file is not valid TOML: " + description};
}

}  // namespace kelvara::build
