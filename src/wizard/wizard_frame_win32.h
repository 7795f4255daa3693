// The wizard frame: the modeless window that shows one page at a time, moves between the
// enabled pages with Back and Next (running the action groups of the pages it leaves forwards),
// asks before cancelling, and hands over to and back from the install thread. How far the user
// got is left in wizardState.wizardPosition for the finish decisions (Windows only).
#pragma once
#include <windows.h>

#include "formats/script_format.h"

namespace kelvara {

// The wizard frame's template, the standard layout's number (the compact one is 20 above).
constexpr int kWizardFrameTemplate = 142;
constexpr int kFinishPageIndex = kPageFinish;
// wizardPosition when the finish page's button ended the wizard.
constexpr int kFinishedWizardPosition = 12;

// True when page slot `index` (0 to 11) is shown: enabled by the script and a page the engine
// has a template for (slots 4, 5 and 7 have none and are always passed over).
bool isPageShown(int index);

// True when the script shows at least one page.
bool hasShownPage();

// Creates the frame owned by `owner` in the run's layout, with the first shown page open, and
// stores it in runEnvironment.wizardDialog. Null when the window cannot be made.
HWND createWizardFrame(HWND owner);

}  // namespace kelvara
