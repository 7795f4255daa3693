#include "runtime/replace_on_reboot_win32.h"

#include <windows.h>

#include <cstring>

#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/system_libraries_win32.h"
#include "runtime/system_view_win32.h"
#include "runtime/wininit_ini.h"

namespace kelvara {
namespace {

constexpr char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kWininitName[] = "\\wininit.ini";
// Larger files are not wininit.ini files the system would read; leave them alone.
constexpr DWORD kWininitMaxSize = 16 * 1024 * 1024;

using MoveFileExProc = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

// MoveFileExA is looked up at run time: the older Windows family lacks a working one.
bool delayedMove(const char* source, const char* target) {
    UniqueModule kernel(loadSystemLibrary("kernel32.dll"));
    if (!kernel) return false;
    auto moveFileEx = reinterpret_cast<MoveFileExProc>(
        reinterpret_cast<void*>(::GetProcAddress(kernel.get(), "MoveFileExA")));
    return moveFileEx &&
           moveFileEx(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
}

// The short (8.3) form of path, or a copy of path itself when the system has none for it (a
// target that does not exist yet). Null when out of memory.
char* shortPath(const char* path) {
    char buffer[MAX_PATH];
    DWORD length = ::GetShortPathNameA(path, buffer, sizeof buffer);
    return strConcat5(length && length < sizeof buffer ? buffer : path);
}

// The whole file from its start; *size its length. Null when unreadable or out of memory.
char* readWhole(HANDLE file, DWORD* size) {
    *size = ::GetFileSize(file, nullptr);
    if (*size == INVALID_FILE_SIZE || *size > kWininitMaxSize) return nullptr;
    auto* text = static_cast<char*>(heapAlloc(*size + 1));
    if (!text) return nullptr;
    DWORD read = 0;
    if (*size && (!::ReadFile(file, text, *size, &read, nullptr) || read != *size)) {
        heapFree(text);
        return nullptr;
    }
    return text;
}

bool writeWhole(HANDLE file, const char* text, DWORD size) {
    DWORD written = 0;
    return ::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
           ::WriteFile(file, text, size, &written, nullptr) && written == size &&
           ::SetEndOfFile(file);
}

}  // namespace

RestartRoute fallbackRoute(const char* target) {
    return target && isLongFileName(target) ? RestartRoute::runOnce : RestartRoute::wininit;
}

RestartRoute scheduleAtRestart(const char* source, const char* target) {
    if (delayedMove(source, target)) return RestartRoute::delayedMove;
    RestartRoute route = fallbackRoute(target);
    bool recorded = route == RestartRoute::runOnce ? addRunOnceMove(source, target)
                                                   : addWininitLine(source, target);
    return recorded ? route : RestartRoute::none;
}

bool addRunOnceMove(const char* source, const char* target) {
    HeapString command(runOnceMoveCommand(source, target));
    if (!command) return false;
    UniqueKey key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | registryViewAccess(), nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return ::RegSetValueExA(key.get(), source, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(command.get()),
                            static_cast<DWORD>(std::strlen(command.get()) + 1)) == ERROR_SUCCESS;
}

bool addWininitLine(const char* iniPath, const char* source, const char* target) {
    HeapString shortSource(shortPath(source));
    HeapString shortTarget(target ? shortPath(target) : nullptr);
    if (!shortSource || (target && !shortTarget)) return false;
    UniqueFile file(::CreateFileA(iniPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    DWORD oldSize = 0;
    HeapString oldText(readWhole(file.get(), &oldSize));
    if (!oldText) return false;
    std::size_t newSize = 0;
    HeapString newText(
        addWininitRename(oldText.get(), oldSize, shortTarget.get(), shortSource.get(), &newSize));
    return newText && writeWhole(file.get(), newText.get(), static_cast<DWORD>(newSize));
}

bool addWininitLine(const char* source, const char* target) {
    char windows[MAX_PATH];
    UINT length = ::GetWindowsDirectoryA(windows, sizeof windows);
    if (!length || length + sizeof kWininitName > sizeof windows) return false;
    // A Windows folder at a drive's root ends in a backslash already.
    if (windows[length - 1] == '\\') --length;
    std::memcpy(windows + length, kWininitName, sizeof kWininitName);
    return addWininitLine(windows, source, target);
}

}  // namespace kelvara
