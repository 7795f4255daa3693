// Restarting the computer.
#include "runtime/system_restart_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "runtime/handles_win32.h"

namespace kelvara {
namespace {

// SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION: a planned restart for an
// installation, as the system's shutdown log records it.
constexpr DWORD kRestartReason = 0x00040002;
constexpr int kShellExecuteSuccess = 32;  // ShellExecuteA results above this mean success
constexpr const char* kShutdownPrivilege = "SeShutdownPrivilege";

// Gives the process the shutdown privilege. False when the token refuses, also when the
// privilege is simply not the user's (ERROR_NOT_ALL_ASSIGNED); true at once on a system without
// security (Windows 9x), whose tokens are not implemented and which needs none.
bool enableShutdownPrivilege() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) {
        return ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
    }
    UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges = {};
    if (!::LookupPrivilegeValueA(nullptr, kShutdownPrivilege, &privileges.Privileges[0].Luid)) {
        return false;
    }
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) {
        return false;
    }
    return ::GetLastError() == ERROR_SUCCESS;
}

}  // namespace

bool restartWindows(bool force) {
    if (!enableShutdownPrivilege()) return false;
    const UINT flags = EWX_REBOOT | (force ? EWX_FORCE : 0);
    if (::ExitWindowsEx(flags, kRestartReason)) return true;
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, nullptr, "shutdown.exe", "-r -t 00", nullptr, SW_SHOW));
    return result > kShellExecuteSuccess;
}

}  // namespace kelvara
