// The host's stand-in: the host builds make no system objects, so no owner there ever holds one.
#include "runtime/system_objects.h"

#include <cstdlib>

namespace kelvara {

void closeSystemObject(SystemObjectKind, void*) {
    std::abort();  // an owner was handed something that is not a system object of this process
}

}  // namespace kelvara
