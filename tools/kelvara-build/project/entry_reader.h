// The entries of a project that become field-string records of the setup script: shortcuts,
// registry values, INI entries, associations, programs and DLL calls.
#pragma once
#include <array>
#include <string>
#include <toml++/toml.h>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/project/project.h"

namespace kelvara::build {

// The arrays of tables that hold entries, by their names in the project file.
constexpr std::array<const char*, 6> entryKinds() {
    return {"shortcuts", "registry", "ini", "associations", "run", "dll-call"};
}

// Reads one table of the array `kind` into the project's entries, reporting its problems (and
// telling `keys`, when not null, of the keys it looks up).
void readEntry(Project& project, Diagnostics& diagnostics, const std::string& kind,
               const toml::table& table, KeyListener* keys);

}  // namespace kelvara::build
