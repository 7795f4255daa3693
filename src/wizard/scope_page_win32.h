// The install scope page: a product that lets one choose asks for whom it installs, "for all
// users" (which needs administrator rights) or "just for me" (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// Selects the answer the run was prepared for (runEnvironment.forUser).
void initialiseScopePage(HWND page);

// Hands the selected answer to wizardState.scopeChosen when the page is left by Next. True when
// the wizard goes on with it; false when the run must start again with administrator rights
// for it (wizardState.elevatedRestartChosen is then set, and the wizard is to end).
bool scopeChoiceTaken(HWND page);

}  // namespace kelvara
