// A library that a running program loads, for the test that finds it by the program's modules.
#include <windows.h>

extern "C" __declspec(dllexport) int busyLibraryVersion() {
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
