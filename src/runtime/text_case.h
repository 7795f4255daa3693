// The system's character comparisons: locale-aware upper-casing and text comparison.
// Windows uses the user's ANSI code page; the host stand-in uses the C locale.
#pragma once

namespace kelvara {

// The character upper-cased by the system's rule. In UTF-8 only ASCII letters change: a byte
// past ASCII is part of a character and comes back as it is.
char charUpper(char c);
// Upper-cases a NUL-terminated text in place.
void textUpper(char* text);
// <0, 0 or >0 like strcmp, ignoring case (system comparison, locale order).
int compareTextNoCase(const char* a, const char* b);
// <0, 0 or >0 like strcmp, exact case (system comparison, locale order).
int compareText(const char* a, const char* b);

}  // namespace kelvara
