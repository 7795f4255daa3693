// Host stand-in for the system's character rules: the C locale.
#include "runtime/text_case.h"

#include <cctype>
#include <cstring>
#include <strings.h>

namespace kelvara {

char charUpper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void textUpper(char* text) {
    if (!text) return;
    for (; *text; ++text) *text = charUpper(*text);
}

// A null text sorts before any other, as with the system's comparison.
int compareTextNoCase(const char* a, const char* b) {
    if (!a || !b) return (a != nullptr) - (b != nullptr);
    return ::strcasecmp(a, b);
}

int compareText(const char* a, const char* b) {
    if (!a || !b) return (a != nullptr) - (b != nullptr);
    return std::strcmp(a, b);
}

}  // namespace kelvara
