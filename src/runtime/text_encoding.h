// What a byte of text is: the engine's texts are 8-bit in the process's ANSI code page, which
// for the Unicode edition (and on a system that made UTF-8 its code page) is UTF-8, where a
// character takes one to four bytes. Everything here leaves the texts of a single-byte code page
// as they are.
#pragma once
#include <cstddef>

namespace kelvara {

// True when the process's ANSI code page is UTF-8. The host stand-in answers what the tests set.
bool textIsUtf8();

// True when every byte of the text is ASCII (null counts as ASCII).
bool isAsciiText(const char* text);

// The length of the text's first `length` bytes without a last character that they hold only
// part of: `length` itself unless the text is UTF-8 and they end inside a character. For a text
// cut to fit a buffer, whose end would otherwise show as a stray sign.
std::size_t wholeCharactersLength(const char* text, std::size_t length);

// Bytes of the character the text starts with: 0 for an empty or null text, 1 in a single-byte
// code page, 1 to 4 in UTF-8 (never past the terminator; a stray byte counts as one).
std::size_t characterLength(const char* text);

}  // namespace kelvara
