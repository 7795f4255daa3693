// A program that holds files of an installation, as a running product does, for the tests of
// programs in use. Started in the prefix beside the engine:
//   busy.exe [/ignore-close] [/load=C:\path\library.dll]
// shows a window ("Busy Test Program"), keeps its own file open without sharing it for writes
// (and the library it loaded), and notes each start in C:\busy-runs.txt with its command line.
// WM_CLOSE closes it unless /ignore-close. "busy.exe /alive" exits 0 while an instance runs, 1
// otherwise.
#include <windows.h>

#include <cstring>

namespace {

constexpr const char* kMutexName = "KelvaraBusyTestProgram";
constexpr const char* kRunsFile = "C:\\busy-runs.txt";
bool ignoreClose = false;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (ignoreClose) return 0;
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Opens a file for reading and lets nobody else write, rename or delete it while we run.
HANDLE hold(const char* path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

void noteStart(const char* commandLine) {
    HANDLE runs = CreateFileA(kRunsFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
    if (runs == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(runs, "started ", 8, &written, nullptr);
    WriteFile(runs, commandLine, static_cast<DWORD>(strlen(commandLine)), &written, nullptr);
    WriteFile(runs, "\r\n", 2, &written, nullptr);
    CloseHandle(runs);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    if (strstr(arguments, "/alive")) {
        HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, kMutexName);
        return running ? 0 : 1;
    }
    ignoreClose = strstr(arguments, "/ignore-close") != nullptr;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    HANDLE ownFile = hold(self);
    HANDLE libraryFile = INVALID_HANDLE_VALUE;
    if (const char* load = strstr(arguments, "/load=")) {
        char path[MAX_PATH] = {};
        lstrcpynA(path, load + 6, MAX_PATH);
        // The rest of the line: a path with blanks comes quoted whole ("/load=C:\a b\x.dll").
        if (char* quote = strchr(path, '"')) *quote = '\0';
        if (!LoadLibraryA(path)) return 2;
        libraryFile = hold(path);
    }
    noteStart(GetCommandLineA());
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "KelvaraBusyWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("KelvaraBusyWindow", "Busy Test Program", WS_OVERLAPPEDWINDOW, 40,
                                40, 320, 160, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (libraryFile != INVALID_HANDLE_VALUE) CloseHandle(libraryFile);
    if (ownFile != INVALID_HANDLE_VALUE) CloseHandle(ownFile);
    CloseHandle(mutex);
    return 0;
}
