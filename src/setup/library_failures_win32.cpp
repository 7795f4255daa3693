// Linked into the engine only. The C++ library's throwing helpers would drag exception handling
// into the stub; the engine is built without exceptions, so a helper that is reached (an
// allocation that failed inside a container, say) ends the process instead, as a run that did
// not install: never with the exit code of success.
#include <windows.h>

#include "setup/exit_codes.h"

namespace std {
[[noreturn]] static void endProcess() {
    ::ExitProcess(static_cast<UINT>(kelvara::kExitNotInstalled));
}
void __throw_bad_alloc() {
    endProcess();
}
void __throw_length_error(const char*) {
    endProcess();
}
void __throw_out_of_range(const char*) {
    endProcess();
}
void __throw_out_of_range_fmt(const char*, ...) {
    endProcess();
}
void __throw_logic_error(const char*) {
    endProcess();
}
void __throw_invalid_argument(const char*) {
    endProcess();
}
void __throw_bad_array_new_length() {
    endProcess();
}
void __throw_bad_function_call() {
    endProcess();
}
}  // namespace std
