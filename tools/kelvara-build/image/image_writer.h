// The setup image: stub, package header, file groups and script block, with the stub header's
// package offset, script size and checksum. The same inputs always give the same bytes.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/common/file_bytes.h"
#include "kelvara-build/image/file_groups.h"
#include "kelvara-build/project/project.h"

namespace kelvara::build {

struct ImageSummary {
    std::uint32_t packageOffset = 0;
    std::uint32_t requiredSpace = 0;
    std::uint64_t fileCount = 0, folderCount = 0;
    std::size_t scriptSize = 0;        // U
    std::size_t scriptCompressed = 0;  // C
    std::size_t imageSize = 0;
};

// The Adler-32 of two stretches joined, from the sum of each and the second one's length.
// zlib's adler32_combine takes that length as a z_off_t, a 32-bit long on Windows and on 32-bit
// Linux, where a stretch of 2 GiB or more turns negative and gives 0xFFFFFFFF: a wrong checksum.
std::uint32_t combineAdler32(std::uint32_t first, std::uint32_t second, std::uint64_t secondLength);

// The script compressed as one zlib stream that ends with a sync flush: no final block and no
// Adler-32 trailer, as the engine's loader expects.
std::vector<unsigned char> compressScript(const std::vector<unsigned char>& script);

// Appends the package to a copy of `stub` and fills the header fields. Errors (a stub that is
// not an executable or already carries a package, an image past 4 GiB) go to `diagnostics`;
// the result is empty then.
std::vector<unsigned char> assembleImage(const std::vector<unsigned char>& stub,
                                         const std::vector<unsigned char>& fileGroups,
                                         std::uint32_t requiredSpace,
                                         const std::vector<unsigned char>& script,
                                         Diagnostics& diagnostics, ImageSummary* summary = nullptr);

// The whole build of a project: file groups, script, image. Empty on failure (reported).
std::vector<unsigned char> buildImage(const Project& project,
                                      const std::vector<unsigned char>& stub,
                                      const PackageOptions& options, Diagnostics& diagnostics,
                                      ImageSummary* summary = nullptr);

// The same build written to `path` as it goes: the stub, room for the package header, each file
// group entry as soon as its data is ready, the script block, then the package header and the
// stub header's fields in place; the checksum is joined from the pieces' own, so no byte is read
// twice. The bytes are those buildImage gives. The image goes to a temporary next to `path` that
// replaces `path` only when the build succeeded (and, with `warningsAsErrors`, gave no warning);
// otherwise it is removed. False on failure, reported to `diagnostics` (a write error too).
bool writeImage(const Project& project, const std::vector<unsigned char>& stub,
                const PackageOptions& options, const std::filesystem::path& path,
                Diagnostics& diagnostics, bool warningsAsErrors = false,
                ImageSummary* summary = nullptr);

// The file groups of a project in the form the file-group builder takes: with their condition
// entries when the project has components or tasks, and then one group at least.
std::vector<FileGroupSpec> fileGroupSpecs(const Project& project);

}  // namespace kelvara::build
