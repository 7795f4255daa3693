// Calling a function that a DLL exports, with up to two text arguments.
#include <windows.h>
#include <ole2.h>

#include <cstdint>

#include "runtime/handles_win32.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_libraries_win32.h"
#include "worker/action_runners_win32.h"
#include "worker/native_registration_win32.h"

namespace kelvara {
namespace {

// What one call pushes; read by the i686 call below through a single register.
struct TextCall {
    FARPROC function;
    const char* first;
    const char* second;
    std::intptr_t count;  // 0, 1 or 2 arguments
};

#if defined(__i386__)
// The functions are meant to be __stdcall and pop their own arguments. One that takes another
// number of arguments, or is __cdecl, would leave the stack pointer off by the difference and
// wreck the caller's frame; so the stack pointer is kept in ESI, which every calling convention
// preserves, and put back after the call whatever the function popped. Returns what the
// function left in EAX, its result.
std::intptr_t callText(const TextCall& call) {
    std::intptr_t result;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "cmpl $2, 12(%%edi)\n\t"
        "jl 1f\n\t"
        "pushl 8(%%edi)\n"
        "1:\n\t"
        "cmpl $1, 12(%%edi)\n\t"
        "jl 2f\n\t"
        "pushl 4(%%edi)\n"
        "2:\n\t"
        "call *(%%edi)\n\t"
        "movl %%esi, %%esp"
        : "=a"(result)
        : "D"(&call)
        : "ecx", "edx", "esi", "memory", "cc");
    return result;
}
#else
// The x64 convention leaves the stack to the caller: a function that takes fewer arguments
// ignores the rest, and the stack stays balanced either way.
std::intptr_t callText(const TextCall& call) {
    auto generic = reinterpret_cast<void (*)()>(call.function);
    switch (call.count) {
        case 0:
            return reinterpret_cast<std::intptr_t(WINAPI*)()>(generic)();
        case 1:
            return reinterpret_cast<std::intptr_t(WINAPI*)(const char*)>(generic)(call.first);
        default:
            return reinterpret_cast<std::intptr_t(WINAPI*)(const char*, const char*)>(generic)(
                call.first, call.second);
    }
}
#endif

// A registration entry point runs inside its own OLE initialisation on this thread, and says
// with its result whether it registered. False when OLE cannot be initialised here (another
// threading model already chosen): it is not called.
bool callInsideOle(FARPROC function, HRESULT* result) {
    HRESULT ole = ::OleInitialize(nullptr);
    if (ole != S_OK && ole != S_FALSE) return false;
    *result = static_cast<HRESULT>(callText(TextCall{function, nullptr, nullptr, 0}));
    ::OleUninitialize();
    return true;
}

ActionResult failed(const DllCallRecord& record, ActionFailure failure, DWORD error) {
    writeRunLog("action: could not call %s in %s: %s", record.function, record.dll,
                systemErrorText(error));
    ActionResult result;
    result.failure = failure;
    result.error = error;
    return result;
}

}  // namespace

ActionResult callDllFunction(const DllCallRecord& record, StringList* list, int* index) {
    if (isForeignLibrary(record.dll)) return registerForeignLibrary(record, list, index);
    UniqueModule library(loadProductLibrary(record.dll));
    if (!library) return failed(record, ActionFailure::notLoaded, ::GetLastError());
    FARPROC function = ::GetProcAddress(library.get(), record.function);
    if (!function) return failed(record, ActionFailure::noFunction, ::GetLastError());
    ActionResult result;
    if (isRegistrationEntryPoint(record.function)) {
        // One that was never called has not run: it stays in its list like any failed record.
        HRESULT registered = S_OK;
        if (!callInsideOle(function, &registered)) {
            return failed(record, ActionFailure::notLoaded, ERROR_INVALID_FUNCTION);
        }
        char code[12];
        ::wsprintfA(code, "0x%08lX", static_cast<unsigned long>(registered));
        writeRunLog("action: called %s in %s: %s", record.function, record.dll, code);
        if (FAILED(registered)) {
            result.failure = ActionFailure::registration;
            result.error = static_cast<DWORD>(registered);
        }
    } else {
        callText(TextCall{function, record.first, record.second, record.argumentCount});
        writeRunLog("action: called %s in %s", record.function, record.dll);
    }
    if (record.runOnce) removeRunOnce(list, index);
    return result;
}

}  // namespace kelvara
