#include "wizard/destination_rules.h"

#include <cstring>

#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_case.h"

namespace kelvara {

char* browsedDestination(const char* picked, const char* installPath) {
    if (!picked) picked = "";
    const char* name = fileNamePart(installPath ? installPath : "");
    const std::size_t pickedLength = std::strlen(picked);
    const std::size_t nameLength = std::strlen(name);
    if (pickedLength > nameLength &&
        compareTextNoCase(picked + pickedLength - nameLength, name) == 0) {
        return strDupExtra(picked, 0);
    }
    const bool endsWithSeparator = pickedLength > 0 && picked[pickedLength - 1] == '\\';
    return strConcat5(picked, endsWithSeparator ? "" : "\\", name);
}

}  // namespace kelvara
