// Text routines for the setup script and the install log.
//
// Field rules of splitFields:
// - Plain: the text is cut at every comma; item i is the i-th piece, blanks kept. Only the first
//   15 pieces are stored (the text after the 15th comma is dropped); items without a piece
//   become empty strings, never holes.
// - quotedFirst: without any double quote all 15 items are empty. Otherwise item 0 is the text
//   between the first double quote and the next one (or the end of the text); the text after the
//   first comma that follows the closing quote fills items 1 to 14 by the plain rule, and when no
//   such comma exists items 1 to 14 are empty.
#include "runtime/text_utils.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

bool sameChar(char a, char b, bool caseSensitive) {
    return a == b || (!caseSensitive && charUpper(a) == charUpper(b));
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Reads digits of one base from text; arithmetic wraps in 32 bits.
std::uint32_t readDigits(const char* text, std::uint32_t base) {
    std::uint32_t value = 0;
    for (; *text; ++text) {
        auto digit = static_cast<std::uint32_t>(digitValue(*text));
        if (digit >= base) break;
        value = value * base + digit;
    }
    return value;
}

// Characters of text that a search with this limit may look at (a negative limit: all).
std::size_t searchLength(const char* text, int limit) {
    std::size_t length = std::strlen(text);
    if (limit < 0) return length;
    return static_cast<std::size_t>(limit) < length ? static_cast<std::size_t>(limit) : length;
}

// The continuation position of nextToken (main thread only).
char* tokenPosition = nullptr;

// Stores the comma-separated pieces of `text` (cut in place) from item `first` on; items left
// without a piece become empty strings.
void storePieces(char* text, int first, StringList& fields) {
    int item = first;
    while (text && item < kFieldCount) {
        char* comma = std::strchr(text, ',');
        if (comma) *comma = '\0';
        fields.set(item++, text);
        text = comma ? comma + 1 : nullptr;
    }
    for (; item < kFieldCount; ++item) fields.set(item, "");
}

}  // namespace

int parseNumber(const char* text) {
    if (!text) return 0;
    std::uint32_t value;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        value = readDigits(text + 2, 16);
    } else if (text[0] == '0' && text[1] >= '0' && text[1] <= '7') {
        value = readDigits(text + 1, 8);
    } else {
        bool negative = text[0] == '-';
        value = readDigits(text + (negative ? 1 : 0), 10);
        if (negative) value = 0u - value;
    }
    return static_cast<int>(value);
}

char* findText(const char* text, const char* pattern, int limit, bool caseSensitive) {
    if (!text || !pattern || !*pattern) return nullptr;
    std::size_t length = searchLength(text, limit);
    std::size_t patternLength = std::strlen(pattern);
    if (patternLength > length) return nullptr;
    std::size_t starts = length - patternLength + 1;
    for (std::size_t at = 0; at < starts; ++at) {
        std::size_t k = 0;
        while (k < patternLength && sameChar(text[at + k], pattern[k], caseSensitive)) ++k;
        if (k == patternLength) return const_cast<char*>(text + at);
    }
    return nullptr;
}

char* findChar(const char* text, char c, int limit, bool caseSensitive) {
    if (!text) return nullptr;
    std::size_t length = searchLength(text, limit);
    for (std::size_t i = 0; i < length; ++i) {
        if (sameChar(text[i], c, caseSensitive)) return const_cast<char*>(text + i);
    }
    return nullptr;
}

char* findLastChar(const char* text, char c, int limit, bool caseSensitive) {
    if (!text) return nullptr;
    // The scan never starts past the terminator, whatever the limit says.
    for (std::size_t i = searchLength(text, limit); i > 0; --i) {
        if (sameChar(text[i - 1], c, caseSensitive)) return const_cast<char*>(text + i - 1);
    }
    return nullptr;
}

char* extractDelimited(char** out, const char* text, const char* delimiter, int limit,
                       bool caseSensitive) {
    if (out) *out = nullptr;
    char* first = findText(text, delimiter, limit, caseSensitive);
    if (!first) return nullptr;
    std::size_t delimiterLength = std::strlen(delimiter);
    std::size_t after = static_cast<std::size_t>(first - text) + delimiterLength;
    // The second occurrence starts after the first and lies within the same limit.
    int rest = limit < 0 ? -1 : limit - static_cast<int>(after);
    char* second = findText(text + after, delimiter, rest, caseSensitive);
    if (!second) return nullptr;
    std::size_t length = static_cast<std::size_t>(second - first) + delimiterLength;
    auto* piece = static_cast<char*>(heapAlloc(length + 1));
    if (!piece) return nullptr;
    std::memcpy(piece, first, length);
    if (out) {
        *out = piece;
    } else {
        heapFree(piece);
    }
    return first;
}

char* nextToken(char* text, const char* separator) {
    if (text && *text) tokenPosition = text;
    char* token = tokenPosition;
    if (!token) return nullptr;
    char* found = findText(token, separator, -1, true);
    if (found) {
        *found = '\0';
        tokenPosition = found + std::strlen(separator);
    } else {
        tokenPosition = nullptr;
    }
    return token;
}

bool containsAny(const char* text, const StringList& list) {
    if (!text) return false;
    for (int i = 0; i < list.count(); ++i) {
        if (findText(text, list.get(i), -1, true)) return true;
    }
    return false;
}

void splitFields(const char* text, bool quotedFirst, StringList& fields) {
    if (!fields.isCreated() && !fields.create(kFieldCount)) return;
    fields.clear();
    HeapString copy(strDupExtra(text, 0));
    char* work = copy.get();
    if (!work) {
        storePieces(nullptr, 0, fields);
        return;
    }
    if (!quotedFirst) {
        storePieces(work, 0, fields);
        return;
    }
    char* open = std::strchr(work, '"');
    if (!open) {
        storePieces(nullptr, 0, fields);
        return;
    }
    char* quoted = open + 1;
    char* close = std::strchr(quoted, '"');
    char* rest = nullptr;
    if (close) {
        *close = '\0';
        char* comma = std::strchr(close + 1, ',');
        if (comma) rest = comma + 1;
    }
    fields.set(0, quoted);
    storePieces(rest, 1, fields);
}

}  // namespace kelvara
