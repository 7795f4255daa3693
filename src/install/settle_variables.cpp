#include "install/settle_variables.h"

#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

// The first value that still names a variable, or -1.
int firstUnsettled(const StringList& values, const StringList& names) {
    for (int i = 0; i < values.count(); ++i) {
        const char* value = values.get(i);
        if (value && containsAny(value, names)) return i;
    }
    return -1;
}

// One pass. False when the heap is exhausted.
bool expandOnce(StringList& values) {
    for (int i = 0; i < values.count(); ++i) {
        const char* value = values.get(i);
        if (!value) continue;
        char* expanded = expandVariables(value);
        if (!expanded) return false;
        bool stored = values.set(i, expanded);
        heapFree(expanded);
        if (!stored) return false;
    }
    return true;
}

}  // namespace

int settleVariables() {
    StringList& names = setupState.variableNames;
    StringList& values = setupState.variableValues;
    const int passLimit = values.count() + 1;
    for (int pass = 0; pass < passLimit; ++pass) {
        if (!expandOnce(values)) return -2;
        if (firstUnsettled(values, names) < 0) return -1;
    }
    return firstUnsettled(values, names);
}

}  // namespace kelvara
