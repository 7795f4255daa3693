// The files of components: what each component's files need on disk, which the components page
// adds to the always-installed files' required space, and the check that no file is installed
// for two different sets of components.
#pragma once
#include <cstdint>
#include <vector>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/image/file_groups.h"
#include "kelvara-build/image/source_files.h"
#include "kelvara-build/project/project.h"

namespace kelvara::build {

// The bytes of each of the project's components: the sizes of the files of the groups that
// count in it, summed as the required space is (at most 0xFFFFFFFF, with a warning). A target
// file (target folder and relative path, ignoring case) that two groups needing different
// components install is an error at the later group's line, once per pair of groups; two
// groups for the same components and tasks that install one get a warning there (the later
// copy replaces the earlier), naming both lines.
std::vector<std::uint32_t> componentBytes(const std::vector<FileGroupSpec>& groups,
                                          const CollectedFiles& collected,
                                          const std::vector<Component>& components,
                                          Diagnostics& diagnostics);

}  // namespace kelvara::build
