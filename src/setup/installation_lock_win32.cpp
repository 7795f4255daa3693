#include "setup/installation_lock.h"

#include <windows.h>

namespace kelvara {

bool takeInstallationLock(bool forUser, OwnedKernelObject& lock) {
    constexpr const char* kMachineName = "KelvaraInstallation";
    constexpr const char* kUserName = "KelvaraInstallation.User.%s";
    constexpr DWORD kUserNameRoom = 256 + 1;  // UNLEN, the longest user name, and its end
    char user[kUserNameRoom] = {};
    DWORD length = sizeof user;
    if (forUser && !::GetUserNameA(user, &length)) user[0] = '\0';
    char name[32 + kUserNameRoom];
    ::wsprintfA(name, forUser ? kUserName : kMachineName, user);
    char globalName[sizeof name + 8];
    ::wsprintfA(globalName, "Global\\%s", name);
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, globalName);
    if (!mutex) mutex = ::CreateMutexA(nullptr, FALSE, name);
    if (!mutex) return true;  // cannot tell: not a reason to refuse
    // A run that was killed holds nothing any more: its lock went with its process.
    const bool another = ::GetLastError() == ERROR_ALREADY_EXISTS;
    lock.reset(mutex);
    return !another;
}

}  // namespace kelvara
