// The DirectX probe: each step needs the feature that the next release added, and the first
// step that fails tells the version. The components are loaded by name and never required.
#include <windows.h>
#include <ddraw.h>
#include <objbase.h>

#include "environment/detection_rules.h"
#include "environment/registry_text_win32.h"
#include "environment/system_detection.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/system_libraries_win32.h"

namespace kelvara {
namespace {

// Interface and class identifiers, here so that no DirectX import library is needed.
constexpr GUID kIidDirectDraw2 = {
    0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
constexpr GUID kIidDirectDrawSurface3 = {
    0xDA044E00, 0x69B2, 0x11D0, {0xA1, 0xD5, 0x00, 0xAA, 0x00, 0xB8, 0xDF, 0xBB}};
constexpr GUID kIidDirectDrawSurface4 = {
    0x0B2B8630, 0xAD35, 0x11D0, {0x8E, 0xA6, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};
constexpr GUID kClsidDirectMusic = {
    0x636B9F10, 0x0C7D, 0x11D1, {0x95, 0xB2, 0x00, 0x20, 0xAF, 0xDC, 0x74, 0x21}};
constexpr GUID kIidDirectMusic = {
    0x6536115A, 0x7B2D, 0x11D2, {0xBA, 0x18, 0x00, 0x00, 0xF8, 0x75, 0xAC, 0x12}};
constexpr GUID kIidDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
using DirectDrawCreateExFn = HRESULT(WINAPI*)(GUID*, void**, REFIID, IUnknown*);

std::uint32_t stop(const char* debugText, std::uint32_t version) {
    if (debugText) ::OutputDebugStringA(debugText);
    return version;
}

bool libraryLoads(const char* name) {
    UniqueModule library(loadSystemLibrary(name));
    return library.valid();
}

// Null when DirectInput is there, else the debug text of what is missing.
const char* directInputMissing() {
    UniqueModule library(loadSystemLibrary("dinput.dll"));
    if (!library) return "Couldn't LoadLibrary DInput\r\n";
    if (!libraryFunction<FARPROC>(library.get(), "DirectInputCreateA")) {
        return "Couldn't GetProcAddress DInputCreate\r\n";
    }
    return nullptr;
}

bool directMusicCreates() {
    ::CoInitialize(nullptr);
    bool created;
    {
        ComPtr<IUnknown> music;
        created = SUCCEEDED(::CoCreateInstance(kClsidDirectMusic, nullptr, CLSCTX_INPROC_SERVER,
                                               kIidDirectMusic, music.outVoid())) &&
                  music;
    }  // released before COM is
    ::CoUninitialize();
    return created;
}

bool directDraw7Creates(HMODULE ddraw) {
    auto createEx = libraryFunction<DirectDrawCreateExFn>(ddraw, "DirectDrawCreateEx");
    if (!createEx) return false;
    ComPtr<IUnknown> draw7;
    return SUCCEEDED(createEx(nullptr, draw7.outVoid(), kIidDirectDraw7, nullptr));
}

// From DirectDraw's surfaces on: the steps that need the DirectDraw object made in step 2.
std::uint32_t probeSurfaces(HMODULE ddraw, IDirectDraw* draw) {
    if (const char* missing = directInputMissing()) return stop(missing, 0x0200);
    if (FAILED(draw->SetCooperativeLevel(nullptr, DDSCL_NORMAL))) {
        return stop("Couldn't Set coop level\r\n", 0x0301);
    }
    DDSURFACEDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    ComPtr<IDirectDrawSurface> surface;
    if (FAILED(draw->CreateSurface(&description, surface.out(), nullptr))) {
        return stop("Couldn't CreateSurface\r\n", 0x0301);
    }
    ComPtr<IUnknown> surface3;
    if (FAILED(surface->QueryInterface(kIidDirectDrawSurface3, surface3.outVoid()))) return 0x0300;
    ComPtr<IUnknown> surface4;
    if (FAILED(surface->QueryInterface(kIidDirectDrawSurface4, surface4.outVoid()))) return 0x0500;
    if (!directMusicCreates()) return stop("Couldn't create CLSID_DirectMusic\r\n", 0x0600);
    if (!directDraw7Creates(ddraw)) return 0x0601;
    if (!libraryLoads("D3D8.DLL")) return 0x0700;
    HeapString version(
        readRegistryText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX", "Version"));
    std::uint32_t eight = directX8Version(version.get());
    return libraryLoads("D3D9.DLL") ? 0x0900 : eight;
}

}  // namespace

std::uint32_t detectDirectX() {
    UniqueModule ddraw(loadSystemLibrary("ddraw.dll"));
    if (!ddraw) return 0;
    auto create = libraryFunction<DirectDrawCreateFn>(ddraw.get(), "DirectDrawCreate");
    if (!create) return stop("Couldn't LoadLibrary DDraw\r\n", 0);
    ComPtr<IDirectDraw> draw;
    if (FAILED(create(nullptr, draw.out(), nullptr))) return stop("Couldn't create DDraw\r\n", 0);
    ComPtr<IUnknown> draw2;
    if (FAILED(draw->QueryInterface(kIidDirectDraw2, draw2.outVoid()))) {
        return stop("Couldn't QI DDraw2\r\n", 0x0100);
    }
    return probeSurfaces(ddraw.get(), draw.get());
}

}  // namespace kelvara
