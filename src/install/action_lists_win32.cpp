// Running programs and calling DLL functions is not built yet: the action groups are reached at
// the right points of the run and the uninstaller reaches its logged actions, and nothing runs.
#include "install/action_lists.h"

namespace kelvara {

void runActionGroup(int) {}

void runLoggedProgram(const StringList&) {}

void callLoggedDll(const StringList&) {}

}  // namespace kelvara
