// Text between the project file and the engine: UTF-8 to the engine's code page, and the
// project file made fit for the TOML library.
#pragma once
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

// UTF-8 text as Windows-1252; nullopt when a character has no place in that code page.
std::optional<std::string> toAnsi(const std::string& utf8);

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

// The TOML library tests characters outside ASCII against its whitespace table wherever it
// scans for the end of a token, and that test is undefined behaviour for many of them (U+00A1
// to U+0499 among them): a malformed value followed by a quoted 'é' is enough. So the library
// is only ever given ASCII. Outside strings and comments TOML has no place for such a
// character, and it is refused; in a comment it is dropped; in a string it becomes a \u or \U
// escape, a literal string turning into the basic string of the same value. Lines stay where
// they are, so the library's line numbers hold.
struct AsciiToml {
    std::string text;
    int problemLine = 0;  // 0 when the text could be carried over
    std::string problem;
};

AsciiToml asAsciiToml(const std::string& text);

}  // namespace kelvara::build
