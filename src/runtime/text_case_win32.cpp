// The system's character rules on Windows: the user's ANSI code page and locale order.
#include "runtime/text_case.h"

#include <windows.h>

#include "runtime/text_encoding.h"

namespace kelvara {

char charUpper(char c) {
    // A byte past ASCII is part of a character in UTF-8, not one of its own: it stays as it is
    // (the system's answer for a lone byte is not one to rely on).
    if (static_cast<unsigned char>(c) >= 0x80 && textIsUtf8()) return c;
    // CharUpperA takes a single character in the low word of the pointer argument.
    auto value = static_cast<UINT_PTR>(static_cast<unsigned char>(c));
    return static_cast<char>(
        reinterpret_cast<UINT_PTR>(::CharUpperA(reinterpret_cast<LPSTR>(value))));
}

void textUpper(char* text) {
    if (text) ::CharUpperA(text);
}

// Nulls are handled here rather than left to the system: a null text sorts before any other.
int compareTextNoCase(const char* a, const char* b) {
    if (!a || !b) return (a != nullptr) - (b != nullptr);
    return ::lstrcmpiA(a, b);
}

int compareText(const char* a, const char* b) {
    if (!a || !b) return (a != nullptr) - (b != nullptr);
    return ::lstrcmpA(a, b);
}

}  // namespace kelvara
