#include "worker/native_registration_win32.h"

#include <windows.h>

#include <cstring>

#include "runtime/byte_order.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_view_win32.h"

namespace kelvara {
namespace {

constexpr DWORD kPeOffsetField = 0x3C;
constexpr std::uint16_t kMachineArm64 = 0xAA64;
// regsvr32's exit codes for a library it could not load, and for a missing entry point.
constexpr DWORD kRegsvrNotLoaded = 3;
constexpr DWORD kRegsvrNoEntryPoint = 4;

#if !defined(_WIN64)
bool readAt(HANDLE file, DWORD offset, void* bytes, DWORD size) {
    DWORD read = 0;
    return ::SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == offset &&
           ::ReadFile(file, bytes, size, &read, nullptr) && read == size;
}
#endif

// regsvr32 of the system's own processor: the native System32, which a 32-bit program reaches
// as Sysnative while its redirection is on.
char* nativeRegsvr32() {
    char folder[MAX_PATH];
    if (nativeFileViewActive()) {
        if (!::GetSystemDirectoryA(folder, MAX_PATH)) return nullptr;
        return strConcat5(folder, "\\regsvr32.exe");
    }
    if (!::GetWindowsDirectoryA(folder, MAX_PATH)) return nullptr;
    return strConcat5(folder, "\\Sysnative\\regsvr32.exe");
}

}  // namespace

bool isForeignLibrary(const char* path) {
#if defined(_WIN64)
    (void)path;
    return false;  // the 64-bit engine loads them itself
#else
    UniqueFile file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char offset[4];
    unsigned char header[6];  // "PE\0\0" and the machine
    if (!file || !readAt(file.get(), kPeOffsetField, offset, sizeof offset) ||
        !readAt(file.get(), readLe32(offset), header, sizeof header) ||
        std::memcmp(header, "PE\0\0", 4) != 0) {
        return false;
    }
    const std::uint16_t machine = readLe16(header + 4);
    return machine == IMAGE_FILE_MACHINE_AMD64 || machine == kMachineArm64;
#endif
}

ActionResult registerForeignLibrary(const DllCallRecord& record, StringList* list, int* index) {
    const bool unregister = std::strcmp(record.function, "DllUnregisterServer") == 0;
    if (!unregister && std::strcmp(record.function, "DllRegisterServer") != 0) {
        writeRunLog("action: cannot call %s in the 64-bit %s", record.function, record.dll);
        return failedAction(ActionFailure::notLoaded, ERROR_BAD_EXE_FORMAT);
    }
    HeapString tool(nativeRegsvr32());
    HeapString arguments(strConcat5(unregister ? "/s /u \"" : "/s \"", record.dll, "\""));
    if (!tool || !arguments) return failedAction(ActionFailure::notLoaded, ERROR_NOT_ENOUGH_MEMORY);
    ProgramRecord program;
    program.program = tool.get();
    program.arguments = arguments.get();
    program.runOnce = false;
    program.successCodes = "0";
    ActionResult ran = runProgram(program, nullptr, nullptr);
    if (ran.failure == ActionFailure::notStarted) return failedAction(ran.failure, ran.error);
    if (record.runOnce) removeRunOnce(list, index);
    if (ran.failure == ActionFailure::none) return {};
    writeRunLog("action: regsvr32 did not %s %s", unregister ? "unregister" : "register",
                record.dll);
    if (ran.exitCode == kRegsvrNotLoaded)
        return failedAction(ActionFailure::notLoaded, ERROR_BAD_EXE_FORMAT);
    if (ran.exitCode == kRegsvrNoEntryPoint)
        return failedAction(ActionFailure::noFunction, ERROR_PROC_NOT_FOUND);
    return failedAction(ActionFailure::registration, static_cast<DWORD>(E_FAIL));
}

}  // namespace kelvara
