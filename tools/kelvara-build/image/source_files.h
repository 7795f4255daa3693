// The source files of file groups: which files a group's patterns take from its source folder,
// their names checked as Windows and the install log need them, and what is known of each
// before it is read (size, time, attributes).
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/image/file_groups.h"

namespace kelvara::build {

constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFu;  // the entry's stored length is 32 bits

struct SourceFile {
    std::size_t group = 0;
    std::filesystem::path path;
    std::string relative;  // / separators
    std::uint64_t size = 0;
    std::uint64_t time = 0;  // FILETIME
    std::uint32_t attributes = 0;
};

// The parts of a relative path between its / separators.
std::vector<std::string> splitPath(std::string_view relative);

// The files of one group (`group`: its index among the build's groups), sorted byte-wise by
// their names in the engine's encoding, every problem reported at the group's line (a group or
// a pattern that takes no file is a warning, as FileGroupSpec::include says); `ok` turns false
// on an error, which makes the group unusable (a warning leaves it).
std::vector<SourceFile> collectGroup(const FileGroupSpec& groupSpec, std::size_t group,
                                     const PackageOptions& options, Diagnostics& diagnostics,
                                     bool& ok);

// The files of every group, as collectGroup finds them, group after group.
struct CollectedFiles {
    std::vector<SourceFile> files;
    std::vector<bool> usable;  // per group: false after an error
    std::uint64_t bytes = 0;   // of every file
};

// Collects every group's files (a group without a source folder has none), reporting problems as
// collectGroup does.
CollectedFiles collectFileGroups(const std::vector<FileGroupSpec>& groups,
                                 const PackageOptions& options, Diagnostics& diagnostics);

// True when `path` (relative, / separators) matches the glob `pattern`.
bool matchesGlob(std::string_view pattern, std::string_view path);

// Why a file or folder name cannot be installed, or empty when it can: empty names, "." and
// "..", characters Windows forbids (control characters, < > : " / \ | ? *), a trailing dot or
// blank, device names (CON, NUL, COM1, ...), and commas, which split install-log fields.
std::string nameProblem(std::string_view name);

// A modification time as a FILETIME (100 ns units since 1601-01-01 UTC), capped at
// `sourceDateEpoch` (seconds since 1970) when given; times before 1601 give 0.
std::uint64_t toFileTime(std::filesystem::file_time_type time,
                         std::optional<std::int64_t> sourceDateEpoch);

}  // namespace kelvara::build
