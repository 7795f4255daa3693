#include "wizard/destination_rules.h"

#include <cstring>

#include "formats/setup_state.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_case.h"

namespace kelvara {

namespace {
constexpr std::uint64_t kInstallLogAllowance = 64 * 1024;  // a log of some hundreds of files
}  // namespace

std::uint64_t spaceNeeded(const SetupState& s) {
    std::uint64_t space = s.packageHeader.requiredSpace;
    if (s.createUninstaller) space += s.stubHeader.packageOffset + kInstallLogAllowance;
    return space;
}

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
