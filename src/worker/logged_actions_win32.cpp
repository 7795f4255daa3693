#include "worker/logged_actions_win32.h"

#include "worker/action_records.h"
#include "worker/action_runners_win32.h"

namespace kelvara {

bool runLoggedProgram(const StringList& fields) {
    return runProgram(readLoggedProgram(fields), nullptr, nullptr).failure == ActionFailure::none;
}

bool callLoggedDll(const StringList& fields) {
    return callDllFunction(readLoggedDllCall(fields), nullptr, nullptr).failure ==
           ActionFailure::none;
}

}  // namespace kelvara
