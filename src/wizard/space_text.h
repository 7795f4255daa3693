// The destination page's space figures as text: "%u Kb" below a million kilobytes, "%u Mb" from
// there on, so that the number always fits 32 bits and the control's 16 characters. Portable.
#pragma once
#include <cstdint>

namespace kelvara {

constexpr int kSpaceTextSize = 16;  // room for the longest text, "4294967295 Mb"

// Free bytes as the page shows them: kilobytes (bytes shifted right by 10) when fewer than
// 1,000,000 of them, else megabytes (shifted right by 20, truncated to 32 bits).
void formatFreeSpace(std::uint64_t bytes, char (&out)[kSpaceTextSize]);

// The space an installation needs, always in kilobytes.
void formatRequiredSpace(std::uint64_t bytes, char (&out)[kSpaceTextSize]);

}  // namespace kelvara
