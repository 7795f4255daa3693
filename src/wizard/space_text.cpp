#include "wizard/space_text.h"

namespace kelvara {
namespace {

constexpr std::uint32_t kKilobytesShownUpTo = 1000000;

void formatUnsigned(char (&out)[kSpaceTextSize], const char* unit, std::uint32_t value) {
    // The digits backwards, then the unit: a 32-bit number has at most ten of them.
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    int at = 0;
    while (count > 0) out[at++] = digits[--count];
    for (const char* p = unit; *p && at < kSpaceTextSize - 1; ++p) out[at++] = *p;
    out[at] = '\0';
}

}  // namespace

void formatFreeSpace(std::uint64_t bytes, char (&out)[kSpaceTextSize]) {
    const auto kilobytes = static_cast<std::uint32_t>(bytes >> 10);
    if (kilobytes < kKilobytesShownUpTo) {
        formatUnsigned(out, " Kb", kilobytes);
    } else {
        formatUnsigned(out, " Mb", static_cast<std::uint32_t>(bytes >> 20));
    }
}

void formatRequiredSpace(std::uint64_t bytes, char (&out)[kSpaceTextSize]) {
    formatUnsigned(out, " Kb", static_cast<std::uint32_t>(bytes >> 10));
}

}  // namespace kelvara
