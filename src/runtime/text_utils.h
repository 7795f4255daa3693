// Text routines for the setup script and the install log: numbers, searches, fields.
#pragma once

namespace kelvara {

class StringList;

constexpr int kFieldCount = 15;  // items filled by splitFields

// Decimal (optional leading '-'), hexadecimal ("0x"/"0X") or octal (leading 0 and a digit 0-7);
// stops at the first other character; wraps in 32 bits. Null or empty text gives 0.
int parseNumber(const char* text);

// First occurrence of pattern within the first `limit` characters of text (-1: all of it), or
// null. Null text, null or empty pattern give null.
char* findText(const char* text, const char* pattern, int limit, bool caseSensitive);
// First occurrence of c within the first `limit` characters (-1: to the end), or null.
char* findChar(const char* text, char c, int limit, bool caseSensitive);
// Last occurrence of c within the first `limit` characters (-1: the whole text), or null.
char* findLastChar(const char* text, char c, int limit, bool caseSensitive);

// Finds delimiter twice; *out becomes a new heap string from the first occurrence to the end
// of the second (both included) and the position of the first is returned. Null (and *out null)
// when either is missing or the heap is exhausted.
char* extractDelimited(char** out, const char* text, const char* delimiter, int limit,
                       bool caseSensitive);

// Tokenizer with one shared continuation position (main thread only): a non-empty text restarts
// it; each call cuts at the next separator (exact case) and returns the token, null when done.
char* nextToken(char* text, const char* separator);

// True when any item of list occurs in text (exact case).
bool containsAny(const char* text, const StringList& list);

// Fills fields (made ready here if needed) with items 0..14 from a comma-separated text; see the
// field rules in text_utils.cpp. quotedFirst: item 0 is the first double-quoted part. Each caller
// passes its own list, so threads never share one.
void splitFields(const char* text, bool quotedFirst, StringList& fields);

}  // namespace kelvara
