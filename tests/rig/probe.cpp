// The probe: reads the system inside a Wine prefix through the Win32 API and prints what it
// finds as JSON, one object per line, so that the end-to-end tests see files, times, versions
// and registry values exactly as a Windows program does.
//
//   probe.exe stat [--no-version] PATH...     one line per path
//   probe.exe tree [--versions] ROOT          ROOT, then everything under it, folders first
//   probe.exe hold PATH SECONDS               keeps PATH open without sharing (below)
//   probe.exe reg-query ROOT KEY [VALUE]      one value, or the key's values and subkeys
//   probe.exe shared-count PATH               the SharedDLLs count of PATH
//   probe.exe pending-renames                 the moves scheduled for the next restart
//   probe.exe dll-version PATH                what the library's DllGetVersion reports
//   probe.exe schedule-move SOURCE [TARGET]   MoveFileEx(..., REPLACE_EXISTING|DELAY_UNTIL_REBOOT)
//   probe.exe set-times PATH CREATION ACCESS WRITE   FILETIMEs as decimal numbers, "-" keeps one
//   probe.exe security PATH                   the owner and access list of a file or folder
//   probe.exe grant PATH SID MASK             adds an entry allowing MASK to SID
//   probe.exe deny-writes ROOT KEY            Everyone may no longer set values or delete it
//   probe.exe short-path PATH                 the path's short (8.3) form
//
// File lines: {"path", "exists", "folder", "attributes" ("0x%08x"), "size", "created",
// "accessed", "written" (FILETIMEs as 64-bit numbers), "version" ("a.b.c.d" or null),
// "version_ms", "version_ls"}. Reading a version reads the file, which may move its last access
// time on the host's file system; the times of a line are read before its version.
//
// hold prints {"path", "held": true} once the file is open, then keeps it open until a line
// "release" arrives on standard input or SECONDS pass; it then prints
// {"path", "released": "asked" | "time"}.
//
// Text is read and written in UTF-16 and printed as ASCII JSON (\uXXXX for everything else).
// Exit codes: 0 done, 1 a system call failed (its line has "error" and "message"), 2 bad use.
#include <windows.h>
#include <shlwapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "probe_output.h"
#include "probe_registry.h"
#include "probe_security.h"
#include "probe_shortcut.h"

using namespace probe;

namespace {

constexpr DWORD kMaxVersionBytes = 1u << 20;   // a version resource is a few hundred bytes
constexpr int kMaxTreeDepth = 64;              // guards against folder loops
constexpr DWORD kMaxHoldSeconds = 24u * 3600;  // a forgotten hold ends within a day
constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BD;
constexpr std::uint64_t kMaxFileTime = 0x7FFFFFFFFFFFFFFFull;  // SetFileTime refuses larger ones
constexpr DWORD kScheduleFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT;

std::uint64_t fileTimeValue(const FILETIME& time) {
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// ---- Files.

struct FileFacts {
    DWORD attributes;
    FILETIME created, accessed, written;
    std::uint64_t size;
};

// From a WIN32_FILE_ATTRIBUTE_DATA or a WIN32_FIND_DATAW, which name these fields alike.
template <class Data>
FileFacts factsOf(const Data& data) {
    return {data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime,
            (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

void addVersion(JsonLine& line, const std::wstring& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0 || size > kMaxVersionBytes) {
        line.null("version").number("version_error",
                                    size ? ERROR_INSUFFICIENT_BUFFER : GetLastError());
        return;
    }
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
        line.null("version").number("version_error", GetLastError());
        return;
    }
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
        infoSize < sizeof *info || info->dwSignature != kFixedFileInfoSignature) {
        line.null("version").number("version_error", ERROR_RESOURCE_DATA_NOT_FOUND);
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu",
                  static_cast<unsigned long>(HIWORD(info->dwFileVersionMS)),
                  static_cast<unsigned long>(LOWORD(info->dwFileVersionMS)),
                  static_cast<unsigned long>(HIWORD(info->dwFileVersionLS)),
                  static_cast<unsigned long>(LOWORD(info->dwFileVersionLS)));
    line.ascii("version", text)
        .number("version_ms", info->dwFileVersionMS)
        .number("version_ls", info->dwFileVersionLS);
}

void printFile(const std::wstring& path, const FileFacts& facts, bool withVersion) {
    bool folder = (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    JsonLine line;
    line.text("path", path)
        .flag("exists", true)
        .flag("folder", folder)
        .hex32("attributes", facts.attributes)
        .number("size", folder ? 0 : facts.size)
        .number("created", fileTimeValue(facts.created))
        .number("accessed", fileTimeValue(facts.accessed))
        .number("written", fileTimeValue(facts.written));
    if (withVersion && !folder) addVersion(line, path);
    line.print();
}

bool isNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Prints the path's line; returns kOk (also for a path that does not exist) or kFailed.
int statPath(const std::wstring& path, bool withVersion) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        DWORD error = GetLastError();
        JsonLine line;
        line.text("path", path);
        if (isNotFound(error)) {
            line.flag("exists", false).print();
            return kOk;
        }
        return withError(line, "GetFileAttributesEx", error);
    }
    printFile(path, factsOf(data), withVersion);
    return kOk;
}

std::wstring joinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) {
        return folder + name;
    }
    return folder + L"\\" + name;
}

// Lists one folder, sorted so that two listings of the same contents compare line by line.
int listFolder(const std::wstring& folder, int depth, bool withVersion) {
    if (depth > kMaxTreeDepth) {
        JsonLine line;
        line.text("path", folder);
        return withError(line, "depth", ERROR_CANT_RESOLVE_FILENAME);
    }
    WIN32_FIND_DATAW found = {};
    FindHandle find(FindFirstFileW(joinPath(folder, L"*").c_str(), &found));
    if (!find.valid()) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return kOk;  // no entries at all
        JsonLine line;
        line.text("path", folder);
        return withError(line, "FindFirstFile", error);
    }
    std::vector<WIN32_FIND_DATAW> entries;
    do {
        if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
            entries.push_back(found);
    } while (FindNextFileW(find.get(), &found));
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        int folded = _wcsicmp(a.cFileName, b.cFileName);
        return folded != 0 ? folded < 0 : std::wcscmp(a.cFileName, b.cFileName) < 0;
    });
    int result = kOk;
    for (const WIN32_FIND_DATAW& entry : entries) {
        std::wstring path = joinPath(folder, entry.cFileName);
        printFile(path, factsOf(entry), withVersion);
        // Reparse points (Wine's links to host folders among them) are listed, not entered.
        bool enter = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                     !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if (enter && listFolder(path, depth + 1, withVersion) != kOk) result = kFailed;
    }
    return result;
}

int treeCommand(const std::wstring& root, bool withVersion) {
    int result = statPath(root, withVersion);
    DWORD attributes = GetFileAttributesW(root.c_str());
    if (result != kOk || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return result;
    }
    return listFolder(root, 0, withVersion);
}

// ---- Holding a file open.

// Sets the event (the parameter) when a line "release" arrives on standard input.
DWORD WINAPI watchStandardInput(void* released) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    char buffer[256];
    DWORD got = 0;
    // End of input stops the watch, not the hold: a program started without input keeps the
    // file for its SECONDS.
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            if (buffer[i] != '\n') {
                if (line.size() < 64) line += buffer[i];
                continue;
            }
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
            if (line == "release") {
                SetEvent(static_cast<HANDLE>(released));
                return 0;
            }
            line.clear();
        }
    }
    return 0;
}

int holdCommand(const std::wstring& path, DWORD seconds) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    // Read access only, so that read-only files can be held too; share mode 0 makes every
    // other open (write, delete, rename) fail with a sharing violation.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                folder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr));
    JsonLine line;
    line.text("path", path);
    if (!file.valid()) return withError(line, "CreateFile", GetLastError());

    KernelHandle released(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!released.get()) return withError(line, "CreateEvent", GetLastError());
    // The watcher may stay blocked in ReadFile; ending the process ends it.
    KernelHandle watcher(CreateThread(nullptr, 0, watchStandardInput, released.get(), 0, nullptr));
    if (!watcher.get()) return withError(line, "CreateThread", GetLastError());

    JsonLine(line).flag("held", true).print();
    bool asked = WaitForSingleObject(released.get(), seconds * 1000) == WAIT_OBJECT_0;
    line.ascii("released", asked ? "asked" : "time").print();
    return kOk;
}

// Loads the library (running its start-up code) and asks its DllGetVersion.
int dllVersionCommand(const std::wstring& path) {
    JsonLine line;
    line.text("path", path);
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) return withError(line, "LoadLibrary", GetLastError());
    using GetVersion = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    auto getVersion = reinterpret_cast<GetVersion>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetVersion")));
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    HRESULT result = getVersion ? getVersion(&info) : E_NOTIMPL;
    FreeLibrary(module);
    if (!getVersion) {
        line.null("version").print();
        return kOk;
    }
    if (result != S_OK) {
        line.null("version").hex32("result", static_cast<DWORD>(result)).print();
        return kOk;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu", static_cast<unsigned long>(info.dwMajorVersion),
                  static_cast<unsigned long>(info.dwMinorVersion),
                  static_cast<unsigned long>(info.dwBuildNumber));
    line.ascii("version", text).print();
    return kOk;
}

// ---- Changes the tests make themselves.

int scheduleMoveCommand(const std::wstring& source, const std::wstring* target) {
    JsonLine line;
    line.text("source", source);
    if (target) {
        line.text("target", *target);
    } else {
        line.null("target");
    }
    if (!MoveFileExW(source.c_str(), target ? target->c_str() : nullptr, kScheduleFlags))
        return withError(line, "MoveFileEx", GetLastError());
    line.flag("scheduled", true).print();
    return kOk;
}

int setTimesCommand(const std::wstring& path, wchar_t** times) {
    FILETIME values[3] = {};
    const FILETIME* given[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (std::wcscmp(times[i], L"-") == 0) continue;
        std::uint64_t value = 0;
        if (!parseUnsigned(times[i], kMaxFileTime, value)) {
            std::fprintf(stderr, "probe: times are FILETIME numbers or -\n");
            return kBadUsage;
        }
        values[i].dwLowDateTime = static_cast<DWORD>(value);
        values[i].dwHighDateTime = static_cast<DWORD>(value >> 32);
        given[i] = &values[i];
    }
    JsonLine line;
    line.text("path", path);
    FileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return withError(line, "CreateFile", GetLastError());
    if (!SetFileTime(file.get(), given[0], given[1], given[2]))
        return withError(line, "SetFileTime", GetLastError());
    line.flag("set", true).print();
    return kOk;
}

// The path's short (8.3) form, as GetShortPathName gives it.
int shortPathCommand(const std::wstring& path) {
    JsonLine line;
    line.text("path", path);
    wchar_t buffer[32768];
    const DWORD length = GetShortPathNameW(path.c_str(), buffer, 32768);
    if (length == 0 || length >= 32768) return withError(line, "GetShortPathName", GetLastError());
    line.text("short", std::wstring(buffer, length)).print();
    return kOk;
}

// ---- Command line.

const char kUsage[] =
    "usage: probe stat [--no-version] PATH...\n"
    "       probe tree [--versions] ROOT\n"
    "       probe hold PATH SECONDS\n"
    "       probe reg-query ROOT KEY [VALUE]\n"
    "       probe shared-count PATH\n"
    "       probe pending-renames\n"
    "       probe dll-version PATH\n"
    "       probe schedule-move SOURCE [TARGET]\n"
    "       probe set-times PATH CREATION ACCESS WRITE\n"
    "       probe shortcut PATH\n"
    "       probe security PATH\n"
    "       probe grant PATH SID MASK\n"
    "       probe deny-writes ROOT KEY\n"
    "       probe short-path PATH\n";

// argv[0] is the command; `args` counts what follows it.
int run(std::wstring command, int args, wchar_t** argv) {
    if (command == L"stat") {
        bool withVersion = true;
        if (args > 0 && std::wcscmp(argv[1], L"--no-version") == 0) {
            withVersion = false;
            ++argv;
            --args;
        }
        if (args < 1) return kBadUsage;
        int result = kOk;
        for (int i = 1; i <= args; ++i) {
            if (statPath(argv[i], withVersion) != kOk) result = kFailed;
        }
        return result;
    }
    if (command == L"tree") {
        bool withVersion = args == 2 && std::wcscmp(argv[1], L"--versions") == 0;
        if (args != 1 + (withVersion ? 1 : 0)) return kBadUsage;
        return treeCommand(argv[args], withVersion);
    }
    if (command == L"hold") {
        std::uint64_t seconds = 0;
        if (args != 2 || !parseUnsigned(argv[2], kMaxHoldSeconds, seconds)) return kBadUsage;
        return holdCommand(argv[1], static_cast<DWORD>(seconds));
    }
    if (command == L"reg-query") {
        if (args < 2 || args > 3) return kBadUsage;
        std::wstring value = args == 3 ? argv[3] : L"";
        return regQueryCommand(argv[1], argv[2], args == 3 ? &value : nullptr);
    }
    if (command == L"shared-count") {
        return args == 1 ? sharedCountCommand(argv[1]) : kBadUsage;
    }
    if (command == L"pending-renames") {
        return args == 0 ? pendingRenamesCommand() : kBadUsage;
    }
    if (command == L"dll-version") {
        return args == 1 ? dllVersionCommand(argv[1]) : kBadUsage;
    }
    if (command == L"schedule-move") {
        if (args < 1 || args > 2) return kBadUsage;
        std::wstring target = args == 2 ? argv[2] : L"";
        return scheduleMoveCommand(argv[1], args == 2 ? &target : nullptr);
    }
    if (command == L"shortcut") return args == 1 ? shortcutCommand(argv[1]) : kBadUsage;
    if (command == L"set-times") {
        return args == 4 ? setTimesCommand(argv[1], argv + 2) : kBadUsage;
    }
    if (command == L"security") return args == 1 ? securityCommand(argv[1]) : kBadUsage;
    if (command == L"short-path") return args == 1 ? shortPathCommand(argv[1]) : kBadUsage;
    if (command == L"deny-writes") {
        return args == 2 ? denyWritesCommand(argv[1], argv[2]) : kBadUsage;
    }
    if (command == L"grant") {
        std::uint64_t mask = 0;
        if (args != 3 || !parseUnsigned(argv[3], 0xFFFFFFFFu, mask)) return kBadUsage;
        return grantCommand(argv[1], argv[2], static_cast<DWORD>(mask));
    }
    return kBadUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // "\n" line ends, whatever the C runtime would make of them.
    _setmode(_fileno(stdout), _O_BINARY);
    int result = argc < 2 ? kBadUsage : run(argv[1], argc - 2, argv + 1);
    if (result == kBadUsage) std::fputs(kUsage, stderr);
    return result;
}
