// The package's file groups: which source files go into each group (source_files.h), and their
// bytes in the layout of formats/package_format.h, compressed in parallel (file_compression.h)
// and written in a fixed order (group_writer.h).
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formats/package_format.h"
#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {

enum class OverwriteMode : std::uint32_t {
    Always = kOverwriteAlways,
    Newer = kOverwriteNewer,
    NewerOrSame = kOverwriteNewerOrSame,
    Older = kOverwriteOlder,
    Never = kOverwriteNever,
};
enum class DecisionRule : std::uint32_t {
    Date = kDecideByDate,
    Version = kDecideByVersion,
    VersionAndDate = kDecideByVersionAndDate,
};
// Auto: deflated, or stored when not made smaller. Lzma2: the group's files share LZMA2 blocks.
enum class Compression { Auto, Stored, Compressed, Lzma2 };
// Whether a block's content goes through the x86 filter: Auto when most of it is x86 or x64 code.
enum class BlockFilter { Auto, X86, None };

struct FileGroupSpec {
    int line = 0;              // project-file line, for messages
    std::string targetFolder;  // e.g. "%InstallPath%" or "<CommonFiles>\\Vendor"
    OverwriteMode overwrite = OverwriteMode::Always;
    DecisionRule rule = DecisionRule::Date;
    bool shared = false;
    // Absolute; patterns are relative to it. Empty: a group without files, its condition entry
    // alone.
    std::filesystem::path sourceDir;
    // Glob patterns over paths relative to sourceDir, with / separators: "*" and "?" within a
    // name, "**" across any number of folders. An empty list means {"**"}. A group that takes no
    // file gets a warning, but not one of {"**"} whose source folder holds nothing at all and
    // whose target is not %InstallPath%: it makes that empty folder, as the engine makes every
    // group's target folder.
    std::vector<std::string> include;
    std::vector<std::string> exclude;
    Compression compression = Compression::Auto;
    std::uint32_t blockSize = 64u << 20;  // Lzma2: content per block, at most 64 MiB
    BlockFilter blockFilter = BlockFilter::Auto;
    // The engine's code page, which the names found in sourceDir (UTF-8) are converted to.
    TextEncoding encoding = TextEncoding::Windows1252;
    // With `conditioned`, the group's first entry is a condition entry: the components and tasks
    // its files need (0: none). The files of a group that needs components count in the bytes
    // of each component it names, not in the required space.
    bool conditioned = false;
    std::uint32_t conditionComponents = 0;
    std::uint32_t conditionTasks = 0;
};

struct PackageOptions {
    unsigned threads = 0;                         // 0: all cores
    std::optional<std::int64_t> sourceDateEpoch;  // caps file times (SOURCE_DATE_EPOCH)
    // Called on the calling thread after each file is written.
    std::function<void(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
                       std::uint64_t bytesTotal)>
        progress;
};

struct CollectedFiles;  // source_files.h

struct BuiltFileGroups {
    std::vector<unsigned char>
        bytes;  // the groups, to be placed at package offset firstEntryOffset (empty when streamed)
    // Bytes the installed files need (at most 0xFFFFFFFF): those of the groups that need no
    // component.
    std::uint32_t requiredSpace = 0;
    std::uint64_t fileCount = 0, folderCount = 0, blockCount = 0;
};

// Where the encoded groups go, in order, as soon as each piece is ready. A group header comes
// before its end offset is known: its room is reserved first and filled in when the group ends.
class GroupOutput {
  public:
    virtual ~GroupOutput() = default;
    // Appends `size` bytes. `adler32`, when given, is their Adler-32 (zlib's adler32 started
    // from 1), computed by the thread that prepared them.
    virtual void append(const unsigned char* data, std::size_t size,
                        std::optional<std::uint32_t> adler32 = std::nullopt) = 0;
    // Appends `size` bytes to be filled in later; returns the handle fill() takes.
    virtual std::size_t reserve(std::size_t size) = 0;
    // Gives the bytes of a reserved stretch, exactly the reserved size of them.
    virtual void fill(std::size_t handle, const unsigned char* data, std::size_t size) = 0;
    // False once the output has failed (the disk is full, say): the build stops early then, and
    // reporting the failure is the output owner's business.
    virtual bool ok() const { return true; }
};

// Collects the files of every group, compresses them on options.threads threads and encodes the
// groups in order, files sorted byte-wise by relative path, so identical inputs give identical
// bytes. Each entry goes to `output` as soon as its data is ready, in order, so that writing it
// overlaps compressing the next ones; `bytes` of the result stays empty. Problems go to
// `diagnostics` with the group's line: errors (a missing source folder, a name Windows or the
// install log cannot carry, a file over 4 GiB, a package past 4 GiB, a file that cannot be read)
// and warnings (a group that takes no file from its source folder, a pattern matching nothing,
// names differing only in case, letters outside ASCII among them, more than 4 GiB to install).
// When diagnostics.failed() or !output.ok() the bytes are not a usable package.
BuiltFileGroups buildFileGroups(const std::vector<FileGroupSpec>& groups,
                                std::uint32_t firstEntryOffset, const PackageOptions& options,
                                Diagnostics& diagnostics, GroupOutput& output);

// The same, with the groups' bytes gathered in the result's `bytes`.
BuiltFileGroups buildFileGroups(const std::vector<FileGroupSpec>& groups,
                                std::uint32_t firstEntryOffset, const PackageOptions& options,
                                Diagnostics& diagnostics);

// The same for files collectFileGroups found for these groups (what the build knows of them
// before it reads them): the groups with errors there are left out, as a failed build.
BuiltFileGroups buildFileGroups(const std::vector<FileGroupSpec>& groups,
                                const CollectedFiles& collected, std::uint32_t firstEntryOffset,
                                const PackageOptions& options, Diagnostics& diagnostics,
                                GroupOutput& output);

}  // namespace kelvara::build
