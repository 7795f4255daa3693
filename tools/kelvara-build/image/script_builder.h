// The setup script of a project: its records in the order the engine applies them, ending with
// the end record.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/project/project.h"

namespace kelvara::build {

// The inflated script bytes: settings first (the page flags depend on its layout choice), then
// page flags, look, languages, variables, licence and readme, texts (the English defaults
// overlaid with the project's, for every offered language), components, tasks and setup types,
// entries (each after the condition record it needs, where that changes), product details,
// architecture, scope and requirements. `componentBytes[i]` is what component i's files need
// (0 where it is not given). Problems (a text for a language that is not offered, a record too
// long for its length field) go to `diagnostics`.
std::vector<unsigned char> buildScript(const Project& project, Diagnostics& diagnostics,
                                       std::span<const std::uint32_t> componentBytes = {});

}  // namespace kelvara::build
