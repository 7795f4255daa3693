// Running programs and calling DLL functions is not built yet: the action groups are reached at
// the right points of the run, and their lists are left as they are.
#include "install/action_lists.h"

namespace kelvara {

void runActionGroup(int) {}

}  // namespace kelvara
