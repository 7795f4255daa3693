// Text between the project file and the engine: UTF-8 to the engine's code page, file names
// folded as Windows compares them, and rich text for the licence and readme.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace kelvara::build {

// The code page of an image's texts, names and paths: Windows-1252 for the classic edition of
// the engine, UTF-8 for the Unicode edition (the same engine, whose manifest makes UTF-8 the
// process's ANSI code page).
enum class TextEncoding { Windows1252, Utf8 };

// "windows-1252" or "utf-8", as the project file writes it; nullopt for any other word.
std::optional<TextEncoding> encodingNamed(const std::string& keyword);
const char* encodingKeyword(TextEncoding encoding);
// "Windows-1252" or "UTF-8", for messages.
const char* encodingName(TextEncoding encoding);

// The code point of the UTF-8 sequence that starts at text[i], a byte of 0x80 or more, or -1
// for a malformed one (cut short, overlong, a surrogate or past U+10FFFF); `length` is the
// number of bytes it takes.
long decodeUtf8(const std::string& text, std::size_t i, std::size_t& length);

// UTF-8 text as Windows-1252; nullopt when a character has no place in that code page.
std::optional<std::string> toAnsi(const std::string& utf8);

// The code point of a Windows-1252 byte; -1 for the five bytes the code page leaves unused
// (0x81, 0x8D, 0x8F, 0x90 and 0x9D).
long windows1252CodePoint(unsigned char byte);

// Windows-1252 text as UTF-8, for a terminal or a message: the reverse of toAnsi. An unused byte
// becomes the control character of its number (U+0081, ...), as Windows converts it.
std::string fromAnsi(const std::string& ansi);

// A text in the engine's `encoding` as UTF-8, for a message: fromAnsi, or the same bytes.
std::string fromEngineText(const std::string& text, TextEncoding encoding);

// Appends the UTF-8 bytes of the code point `c` (at most U+10FFFF).
void appendUtf8(std::string& out, char32_t c);

// True when the bytes are well-formed UTF-8 (no overlong form, surrogate or code point past
// U+10FFFF).
bool isUtf8(const std::string& text);

// UTF-8 text as the engine's text in `encoding`: Windows-1252 bytes, or the same bytes. Nullopt
// for a NUL, malformed UTF-8, or a character Windows-1252 has no place for.
std::optional<std::string> toEngineText(const std::string& utf8, TextEncoding encoding);

// Why toEngineText refused a text, to follow "holds " in a message.
std::string unwritableText(TextEncoding encoding);

// A file name in the engine's encoding with its letters in lower case as Windows compares file
// names: ASCII, and outside it the letters of Windows-1252, or in UTF-8 those of the common
// scripts (Latin, Greek, Cyrillic, Armenian, full-width forms) one code point at a time.
std::string foldedName(const std::string& name, TextEncoding encoding);

// UTF-8 text as rich text whose characters outside ASCII are Unicode escapes (\uN?, N the
// UTF-16 unit as a signed 16-bit number), so a rich edit control shows them whatever its code
// page. A text that is rich text already ({\rtf...) keeps its markup; plain text is wrapped in
// {\rtf1\ansi ...} with \, { and } escaped and each line break written as \par. Malformed
// UTF-8 gives U+FFFD.
std::string richTextOf(const std::string& utf8);

// True when the text holds a carriage return or a line feed.
bool hasLineBreak(const std::string& text);

}  // namespace kelvara::build
