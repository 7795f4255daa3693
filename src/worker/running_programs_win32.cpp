#include "worker/running_programs_win32.h"

#include <windows.h>
#include <restartmanager.h>
#include <tlhelp32.h>

#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_libraries_win32.h"

namespace kelvara {
namespace {

constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION (Vista)
constexpr int kProcessCommandLineInformation = 60;  // the class of NtQueryInformationProcess
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr DWORD kCommandLineLimit = 32768;  // characters: the longest command line there is

const char* foundByText(FoundBy way) {
    switch (way) {
        case FoundBy::restartManager:
            return "by the Restart Manager";
        case FoundBy::programFile:
            return "by its program file";
        default:
            return "by its loaded modules";
    }
}

// The process and module lists, which NT 4.0's kernel32 lacks: looked up at run time.
struct Toolhelp {
    using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using ProcessStep = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    using ModuleStep = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
    Snapshot snapshot = loadedLibraryFunction<Snapshot>("kernel32.dll", "CreateToolhelp32Snapshot");
    ProcessStep firstProcess = loadedLibraryFunction<ProcessStep>("kernel32.dll", "Process32First");
    ProcessStep nextProcess = loadedLibraryFunction<ProcessStep>("kernel32.dll", "Process32Next");
    ModuleStep firstModule = loadedLibraryFunction<ModuleStep>("kernel32.dll", "Module32First");
    ModuleStep nextModule = loadedLibraryFunction<ModuleStep>("kernel32.dll", "Module32Next");
    bool present() const {
        return snapshot && firstProcess && nextProcess && firstModule && nextModule;
    }
    // A snapshot of the kind (TH32CS_*), INVALID_HANDLE_VALUE where there is none.
    UniqueFile take(DWORD kind, DWORD processId) const {
        return UniqueFile(present() ? snapshot(kind, processId) : INVALID_HANDLE_VALUE);
    }
};

// A process opened to be looked at; where the limited right is unknown (before Vista), with the
// full right to query it.
UniqueHandle openProcess(DWORD processId, DWORD access) {
    HANDLE process = ::OpenProcess(access | kQueryLimitedInformation, FALSE, processId);
    if (!process) process = ::OpenProcess(access | PROCESS_QUERY_INFORMATION, FALSE, processId);
    return UniqueHandle(process);
}

// A wide text (`length` characters, -1: up to its terminator) in the engine's code page. Null
// when it cannot be converted or the heap is exhausted.
char* narrowed(const wchar_t* text, int length) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return nullptr;
    char* out = strDupExtra(nullptr, size);
    if (out) ::WideCharToMultiByte(CP_ACP, 0, text, length, out, size, nullptr, nullptr);
    return out;
}

// The program file of a process: the system's answer (Vista on, whatever the bitness of either),
// else its first module, which is its program.
char* programPathOf(const Toolhelp& toolhelp, HANDLE process, DWORD processId) {
    using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    const auto query =
        loadedLibraryFunction<QueryImageName>("kernel32.dll", "QueryFullProcessImageNameA");
    char path[MAX_PATH * 2];
    DWORD size = sizeof path;
    if (query && process && query(process, 0, path, &size)) return strDupExtra(path, 0);
    UniqueFile modules = toolhelp.take(TH32CS_SNAPMODULE, processId);
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    if (modules && toolhelp.firstModule(modules.get(), &module))
        return strDupExtra(module.szExePath, 0);
    return nullptr;
}

// The arguments the program registered for its restart (Vista on), after its quoted program;
// *declined set when it registered not to be started again after an update (RESTART_NO_PATCH).
char* registeredRestartCommand(HANDLE process, const char* programPath, bool* declined) {
    using RestartSettings = HRESULT(WINAPI*)(HANDLE, PWSTR, PDWORD, PDWORD);
    const auto settings =
        loadedLibraryFunction<RestartSettings>("kernel32.dll", "GetApplicationRestartSettings");
    if (!settings || !programPath) return nullptr;
    constexpr DWORD kRestartArgumentsLimit = 1024;  // RESTART_MAX_CMD_LINE
    wchar_t arguments[kRestartArgumentsLimit];
    DWORD size = kRestartArgumentsLimit;
    DWORD flags = 0;
    if (settings(process, arguments, &size, &flags) != S_OK) return nullptr;
    constexpr DWORD kNoRestartAfterUpdate = 4;  // RESTART_NO_PATCH
    *declined = (flags & kNoRestartAfterUpdate) != 0;
    HeapString narrow(narrowed(arguments, -1));
    if (!narrow) return nullptr;
    return strConcat5("\"", programPath, "\" ", narrow.get());
}

// The command line the process was started with, as the system keeps it (Windows 8.1 on, and
// Wine): the class answers a text of the caller's own layout, whatever the process's bitness.
char* startedCommandLine(HANDLE process) {
    using QueryInformation = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query =
        loadedLibraryFunction<QueryInformation>("ntdll.dll", "NtQueryInformationProcess");
    if (!query) return nullptr;
    struct Counted {
        USHORT length;  // bytes
        USHORT capacity;
        wchar_t* text;
    };
    ULONG size = sizeof(Counted) + 1024;
    for (int attempt = 0; attempt < 2; ++attempt) {
        HeapOwned<Counted> answer(static_cast<Counted*>(heapAlloc(size)));
        if (!answer) return nullptr;
        ULONG needed = 0;
        const LONG status =
            query(process, kProcessCommandLineInformation, answer.get(), size, &needed);
        if (status == 0) {
            const Counted& line = *answer.get();
            return line.length ? narrowed(line.text, line.length / sizeof(wchar_t)) : nullptr;
        }
        if (status != kInfoLengthMismatch || needed <= size ||
            needed > sizeof(Counted) + kCommandLineLimit * sizeof(wchar_t)) {
            return nullptr;
        }
        size = needed;
    }
    return nullptr;
}

// True when the process runs under WoW64 (a 32-bit program on 64-bit Windows).
bool underWow64(HANDLE process) {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto query = loadedLibraryFunction<IsWow64>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return query && query(process, &wow64) && wow64;
}

// The command line read from the process's own parameters, where the system keeps no copy of
// it for others (before Windows 8.1, and Wine): only in a process of the engine's own bitness,
// whose layout is ours.
char* commandLineInParameters(HANDLE process) {
    using QueryInformation = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query =
        loadedLibraryFunction<QueryInformation>("ntdll.dll", "NtQueryInformationProcess");
    if (!query || underWow64(process) != underWow64(::GetCurrentProcess())) return nullptr;
    struct BasicInformation {
        LONG exitStatus;
        const char* environmentBlock;  // the PEB
        ULONG_PTR affinity;
        LONG priority;
        ULONG_PTR processId;
        ULONG_PTR parentId;
    } basic = {};
    if (query(process, 0, &basic, sizeof basic, nullptr) != 0 || !basic.environmentBlock)
        return nullptr;
    // The parameters lie at the fifth pointer of the PEB; the command line, a counted text, at
    // 0x40 in them (0x70 in a 64-bit process).
    const char* parameters = nullptr;
    const std::size_t commandLineAt = sizeof(void*) == 4 ? 0x40 : 0x70;
    struct Counted {
        USHORT length;
        USHORT capacity;
        wchar_t* text;
    } line = {};
    if (!::ReadProcessMemory(process, basic.environmentBlock + 4 * sizeof(void*), &parameters,
                             sizeof parameters, nullptr) ||
        !parameters ||
        !::ReadProcessMemory(process, parameters + commandLineAt, &line, sizeof line, nullptr) ||
        !line.length || !line.text) {
        return nullptr;
    }
    HeapOwned<wchar_t> text(static_cast<wchar_t*>(heapAlloc(line.length + sizeof(wchar_t))));
    if (!text || !::ReadProcessMemory(process, line.text, text.get(), line.length, nullptr))
        return nullptr;
    return narrowed(text.get(), line.length / sizeof(wchar_t));
}

char* restartCommandOf(HANDLE process, const char* programPath, bool* declined) {
    if (!process) return nullptr;
    if (char* registered = registeredRestartCommand(process, programPath, declined))
        return registered;
    if (char* started = startedCommandLine(process)) return started;
    return commandLineInParameters(process);
}

// The name a person knows a program by: its main window's title beside its file name.
struct WindowTitleSearch {
    DWORD processId;
    char title[128];
};

BOOL CALLBACK findTitle(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowTitleSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER)) {
        return TRUE;
    }
    return ::GetWindowTextA(window, search->title, sizeof search->title) > 0 ? FALSE : TRUE;
}

char* nameOf(DWORD processId, const char* programPath) {
    const char* file = programPath ? fileNamePart(programPath) : "";
    WindowTitleSearch search = {processId, {}};
    ::EnumWindows(findTitle, reinterpret_cast<LPARAM>(&search));
    if (!search.title[0]) return strDupExtra(file, 0);
    if (!*file) return strDupExtra(search.title, 0);
    return strConcat5(search.title, " (", file, ")");
}

// True for the shell: closing it as a program ends the desktop (and asked to end its session,
// it may end the person's). Its files wait for the restart.
bool isShell(const char* programPath) {
    char shell[MAX_PATH + 16];
    const UINT length = ::GetWindowsDirectoryA(shell, MAX_PATH);
    if (!programPath || length == 0 || length >= MAX_PATH) return false;
    lstrcatA(shell, shell[length - 1] == '\\' ? "explorer.exe" : "\\explorer.exe");
    return lstrcmpiA(shell, programPath) == 0;
}

bool alreadyFound(const RunningPrograms& found, DWORD processId) {
    for (int i = 0; i < found.count; ++i) {
        if (found.items[i].processId == processId) return true;
    }
    return false;
}

// Adds the process; `name` may be null (then it is made from its windows and file).
void addProgram(const Toolhelp& toolhelp, RunningPrograms& found, DWORD processId, FoundBy way,
                const char* heldFile, char* name) {
    HeapString given(name);
    if (found.count >= kRunningProgramLimit || alreadyFound(found, processId)) return;
    UniqueHandle process = openProcess(processId, PROCESS_VM_READ);
    if (!process) process = openProcess(processId, 0);
    HeapString programPath(programPathOf(toolhelp, process.get(), processId));
    if (isShell(programPath.get())) {
        writeRunLog("in use: the shell holds files of this run: they are replaced at the restart");
        return;
    }
    RunningProgram& program = found.items[found.count++];
    program.processId = processId;
    program.startTime = processStartTime(process.get());
    program.foundBy = way;
    program.programPath.reset(programPath.release());
    program.name.reset(given ? given.release() : nameOf(processId, program.programPath.get()));
    if (heldFile) program.heldFile.reset(strDupExtra(heldFile, 0));
    program.restartCommand.reset(
        restartCommandOf(process.get(), program.programPath.get(), &program.restartDeclined));
    char id[12];
    ::wsprintfA(id, "%lu", processId);
    writeRunLog("in use: %s (process %s) holds files of this run, found %s", program.name.get(), id,
                foundByText(way));
    if (program.heldFile) writeRunLog("in use: %s holds %s", program.name.get(), heldFile);
}

// --- the Restart Manager ---

using RmStartSessionFn = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RmRegisterResourcesFn = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT,
                                             LPCWSTR*);
using RmGetListFn = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, DWORD*);
using RmEndSessionFn = DWORD(WINAPI*)(DWORD);

// The files as the Restart Manager takes them: wide texts in one heap block each, freed with it.
class WidePaths {
  public:
    explicit WidePaths(const PathSet& files) : count_(files.count()) {
        paths_ = static_cast<LPCWSTR*>(heapAlloc(sizeof(LPCWSTR) * (count_ ? count_ : 1)));
        for (int i = 0; paths_ && i < count_; ++i) {
            const int size = ::MultiByteToWideChar(CP_ACP, 0, files.get(i), -1, nullptr, 0);
            auto* wide =
                size > 0 ? static_cast<wchar_t*>(heapAlloc(size * sizeof(wchar_t))) : nullptr;
            if (!wide) {
                count_ = i;
                break;
            }
            ::MultiByteToWideChar(CP_ACP, 0, files.get(i), -1, wide, size);
            paths_[i] = wide;
        }
    }
    ~WidePaths() {
        for (int i = 0; paths_ && i < count_; ++i) heapFree(const_cast<wchar_t*>(paths_[i]));
        heapFree(paths_);
    }
    WidePaths(const WidePaths&) = delete;
    WidePaths& operator=(const WidePaths&) = delete;
    LPCWSTR* paths() const { return paths_; }
    UINT count() const { return paths_ ? static_cast<UINT>(count_) : 0; }

  private:
    LPCWSTR* paths_ = nullptr;
    int count_ = 0;
};

// What the Restart Manager lists for the files; nothing where it is missing or fails.
void askRestartManager(const Toolhelp& toolhelp, const PathSet& files, RunningPrograms& found) {
    UniqueModule library(loadSystemLibrary("rstrtmgr.dll"));
    if (!library) return;
    const auto start = libraryFunction<RmStartSessionFn>(library.get(), "RmStartSession");
    const auto add = libraryFunction<RmRegisterResourcesFn>(library.get(), "RmRegisterResources");
    const auto list = libraryFunction<RmGetListFn>(library.get(), "RmGetList");
    const auto end = libraryFunction<RmEndSessionFn>(library.get(), "RmEndSession");
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (!start || !add || !list || !end || start(&session, 0, key) != ERROR_SUCCESS) return;
    ScopeGuard endSession([&] { end(session); });
    WidePaths paths(files);
    if (!paths.count() ||
        add(session, paths.count(), paths.paths(), 0, nullptr, 0, nullptr) != ERROR_SUCCESS) {
        return;
    }
    HeapOwned<RM_PROCESS_INFO> listed(
        static_cast<RM_PROCESS_INFO*>(heapAlloc(sizeof(RM_PROCESS_INFO) * kRunningProgramLimit)));
    if (!listed) return;
    UINT needed = 0;
    UINT count = kRunningProgramLimit;
    DWORD reasons = 0;
    const DWORD result = list(session, &needed, &count, listed.get(), &reasons);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return;
    if (result == ERROR_MORE_DATA) count = kRunningProgramLimit;  // the first ones are told
    const DWORD self = ::GetCurrentProcessId();
    for (UINT i = 0; i < count && i < kRunningProgramLimit; ++i) {
        const RM_PROCESS_INFO& info = listed.get()[i];
        if (info.Process.dwProcessId == self || info.ApplicationType == RmCritical ||
            info.ApplicationType == RmExplorer) {
            continue;
        }
        addProgram(toolhelp, found, info.Process.dwProcessId, FoundBy::restartManager, nullptr,
                   narrowed(info.strAppName, -1));
    }
}

// --- our own search ---

// The first of the process's modules (its program among them) that is one of the files, or
// null. `way` says whether it was the program.
bool heldModule(const Toolhelp& toolhelp, DWORD processId, const char* programPath,
                const PathSet& files, char* held, FoundBy& way) {
    if (programPath && files.contains(programPath)) {
        lstrcpynA(held, programPath, MAX_PATH);
        way = FoundBy::programFile;
        return true;
    }
    UniqueFile modules = toolhelp.take(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
    if (!modules) return false;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    for (BOOL more = toolhelp.firstModule(modules.get(), &module); more;
         more = toolhelp.nextModule(modules.get(), &module)) {
        if (!files.contains(module.szExePath)) continue;
        lstrcpynA(held, module.szExePath, MAX_PATH);
        way = programPath && lstrcmpiA(programPath, module.szExePath) == 0 ? FoundBy::programFile
                                                                           : FoundBy::loadedModule;
        return true;
    }
    return false;
}

void searchProcesses(const Toolhelp& toolhelp, const PathSet& files, RunningPrograms& found) {
    UniqueFile processes = toolhelp.take(TH32CS_SNAPPROCESS, 0);
    if (!processes) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    const DWORD self = ::GetCurrentProcessId();
    for (BOOL more = toolhelp.firstProcess(processes.get(), &entry); more;
         more = toolhelp.nextProcess(processes.get(), &entry)) {
        if (entry.th32ProcessID == self || entry.th32ProcessID == 0) continue;
        UniqueHandle process = openProcess(entry.th32ProcessID, 0);
        HeapString programPath(programPathOf(toolhelp, process.get(), entry.th32ProcessID));
        char held[MAX_PATH] = {};
        FoundBy way = FoundBy::programFile;
        if (heldModule(toolhelp, entry.th32ProcessID, programPath.get(), files, held, way))
            addProgram(toolhelp, found, entry.th32ProcessID, way, held, nullptr);
    }
}

}  // namespace

std::uint64_t processStartTime(void* process) {
    FILETIME created = {}, exited = {}, kernel = {}, user = {};
    if (!process || !::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (std::uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

int findRunningPrograms(const PathSet& files, RunningPrograms& found) {
    found.clear();
    if (files.count() == 0) return 0;
    writeRunLog("in use: looking for the programs that hold files of this run");
    const Toolhelp toolhelp;
    askRestartManager(toolhelp, files, found);
    if (found.count == 0) searchProcesses(toolhelp, files, found);
    char looked[12], held[12];
    ::wsprintfA(looked, "%d", files.count());
    ::wsprintfA(held, "%d", found.count);
    writeRunLog("in use: %s files looked for among the running programs, held by %s", looked, held);
    return found.count;
}

bool programRuns(const RunningProgram& program) {
    UniqueHandle process(
        ::OpenProcess(SYNCHRONIZE | kQueryLimitedInformation, FALSE, program.processId));
    if (!process)
        process.reset(
            ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.processId));
    if (!process) return false;
    if (::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) return false;
    return program.startTime == 0 || processStartTime(process.get()) == program.startTime;
}

}  // namespace kelvara
