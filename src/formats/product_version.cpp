#include "formats/product_version.h"

namespace kelvara {
namespace {

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// One part of a version from `*at` up to its dot or end; `*at` is left after the dot.
struct VersionPart {
    const char* digits;  // its number, leading zeros skipped
    int digitCount;
    const char* rest;  // the text after the number
    int restLength;
};

VersionPart nextPart(const char*& at) {
    VersionPart part{};
    while (*at == '0' && at[1] >= '0' && at[1] <= '9') ++at;
    part.digits = at;
    while (*at >= '0' && *at <= '9') ++at;
    part.digitCount = static_cast<int>(at - part.digits);
    if (part.digitCount == 0) {  // no number counts as 0
        part.digits = "0";
        part.digitCount = 1;
    }
    part.rest = at;
    while (*at && *at != '.') ++at;
    part.restLength = static_cast<int>(at - part.rest);
    if (*at == '.') ++at;
    return part;
}

// Numbers of any length: the longer one (without leading zeros) is larger.
int compareNumbers(const VersionPart& a, const VersionPart& b) {
    if (a.digitCount != b.digitCount) return a.digitCount < b.digitCount ? -1 : 1;
    for (int i = 0; i < a.digitCount; ++i) {
        if (a.digits[i] != b.digits[i]) return a.digits[i] < b.digits[i] ? -1 : 1;
    }
    return 0;
}

// A text after the number marks a version before its release: "2.1.0-beta" comes before
// "2.1.0", as a person upgrading from the beta expects.
int compareTexts(const VersionPart& a, const VersionPart& b) {
    if ((a.restLength == 0) != (b.restLength == 0)) return a.restLength == 0 ? 1 : -1;
    for (int i = 0; i < a.restLength || i < b.restLength; ++i) {
        char x = i < a.restLength ? folded(a.rest[i]) : '\0';
        char y = i < b.restLength ? folded(b.rest[i]) : '\0';
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

bool isZero(const VersionPart& part) {
    return part.digitCount == 1 && part.digits[0] == '0' && part.restLength == 0;
}

}  // namespace

int compareProductVersions(const char* a, const char* b) {
    const char* x = a ? a : "";
    const char* y = b ? b : "";
    while (*x || *y) {
        VersionPart p = nextPart(x);
        VersionPart q = nextPart(y);
        if (isZero(p) && isZero(q)) continue;
        if (int order = compareNumbers(p, q)) return order;
        if (int order = compareTexts(p, q)) return order;
    }
    return 0;
}

}  // namespace kelvara
