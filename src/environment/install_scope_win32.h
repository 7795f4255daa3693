// Chooses for whom the run installs, before the script's records are read (their paths and the
// previous location take the scope's folders and keys).
#pragma once
#include <cstddef>
#include <cstdint>

namespace kelvara {

// Reads the scope record ahead of the others, decides runEnvironment.forUser (install_scope.h;
// `earlier`: the scope the product was installed in before, kScopeChoose for none) and, for the
// current user alone, resolves the tokens that follow the scope. False when the run may not
// install at all (a user's installation under a service account): the reason has been shown,
// unless quiet, and logged.
bool chooseInstallScope(const unsigned char* script, std::size_t size, std::uint8_t earlier);

}  // namespace kelvara
