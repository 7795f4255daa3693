// The install scope page's part in the run: whether it is shown, and its answer applied.
#pragma once
#include <cstdint>

namespace kelvara {

// Shows the scope page (page slot 5) when the person is to choose: a "choose" product in a run
// with a wizard that neither the command line, nor an earlier installation (`earlier`, as
// chooseInstallScope takes it), nor a service account decided; hides it otherwise. True when
// it is shown: the rights then wait for the answer.
bool prepareScopePage(std::uint8_t earlier);

// The page's answer. True when the run goes on with it: a changed answer resolves the folders
// that follow the scope again and applies the records that name them again (an installation
// folder given by /DIR= stays). False when the answer is "for all users" and the run lacks
// the administrator rights it can ask for: only an elevated run can install so.
bool applyScopeChoice(bool forUser);

}  // namespace kelvara
