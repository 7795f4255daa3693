// Whether a packaged file may replace a target that already exists: the group's overwrite mode
// and decision rule, applied to dates and versions.
#pragma once
#include <cstdint>

#include "formats/package_format.h"
#include "runtime/version_text.h"

namespace kelvara {

// The modes and rules are the file group fields of the package (package_format.h).
struct OverwriteFacts {
    std::uint32_t mode = kOverwriteAlways;
    std::uint32_t rule = kDecideByDate;
    VersionPair packageVersion;
    bool installedHasVersion = false;  // the existing file has a version resource
    VersionPair installedVersion;
    std::uint64_t packageWriteTime = 0;  // last write times as FILETIME values
    std::uint64_t installedWriteTime = 0;
};

// True when the existing target is to be replaced. Mode 0 always, mode 4 never; modes 1 to 3
// by the rule over the mode's version and date tests. A mode outside 0..4 tests nothing and
// writes, as mode 0 does.
bool mayReplaceExisting(const OverwriteFacts& facts);

}  // namespace kelvara
