#include "runtime/file_version_win32.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/path_helpers.h"
#include "runtime/system_libraries_win32.h"
#include "runtime/system_view_win32.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

constexpr char kSharedDllsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr DWORD kFixedInfoSignature = 0xFEEF04BD;
// The size DllGetVersion expects in the structure's first field.
constexpr DWORD kDllVersionInfoSize = 20;
static_assert(sizeof(DLLVERSIONINFO) == kDllVersionInfoSize);
// Libraries whose DllGetVersion is asked when the binary test is on.
constexpr const char* kVersionedExtensions[] = {".dll", ".ocx", ".tlb"};

// The version resource functions, from the system folder when first asked for: a static import
// would have the loader look for version.dll beside the setup before the engine has started.
struct VersionFunctions {
    UniqueModule library;
    decltype(&::GetFileVersionInfoSizeA) infoSize = nullptr;
    decltype(&::GetFileVersionInfoA) info = nullptr;
    decltype(&::VerQueryValueA) query = nullptr;
};

VersionFunctions versionLibrary;

bool versionFunctionsLoaded() {
    VersionFunctions& v = versionLibrary;
    if (v.library) return v.infoSize && v.info && v.query;
    v.library.reset(loadSystemLibrary("version.dll"));
    if (!v.library) return false;
    v.infoSize = libraryFunction<decltype(v.infoSize)>(v.library.get(), "GetFileVersionInfoSizeA");
    v.info = libraryFunction<decltype(v.info)>(v.library.get(), "GetFileVersionInfoA");
    v.query = libraryFunction<decltype(v.query)>(v.library.get(), "VerQueryValueA");
    return v.infoSize && v.info && v.query;
}

// Keeps the system from showing its own error boxes while a file of unknown kind is loaded.
class QuietErrorMode {
  public:
    QuietErrorMode() : old_(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    QuietErrorMode(const QuietErrorMode&) = delete;
    QuietErrorMode& operator=(const QuietErrorMode&) = delete;
    ~QuietErrorMode() { ::SetErrorMode(old_); }

  private:
    UINT old_;
};

// A 32-bit or 64-bit library: the system maps it as an image data file and its header says DLL.
bool isWindowsLibrary(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &file) || file.nFileSizeHigh) {
        return false;
    }
    QuietErrorMode quiet;
    UniqueModule data(::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!data) return false;
    // A data-file module handle is the view's address with its low bits set as a marker.
    auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(data.get()) &
                                               ~static_cast<ULONG_PTR>(3));
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    // The header is read only where the file has bytes.
    if (file.nFileSizeLow < sizeof *dos || dos->e_magic != IMAGE_DOS_SIGNATURE ||
        dos->e_lfanew <= 0 ||
        static_cast<DWORD>(dos->e_lfanew) + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) >
            file.nFileSizeLow) {
        return false;
    }
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
    WORD machine = nt->FileHeader.Machine;
    return (nt->FileHeader.Characteristics & IMAGE_FILE_DLL) &&
           (machine == IMAGE_FILE_MACHINE_I386 || machine == IMAGE_FILE_MACHINE_AMD64);
}

// The binary test of the check flag. GetBinaryTypeA fails for every library, which would leave
// no library a version under the check; libraries are recognised by their header instead.
bool isWindowsProgram(const char* path) {
    DWORD type = 0;
    if (::GetBinaryTypeA(path, &type)) return type == SCS_32BIT_BINARY || type == SCS_64BIT_BINARY;
    return isWindowsLibrary(path);
}

bool hasVersionedExtension(const char* path) {
    const char* name = fileNamePart(path);
    std::size_t length = std::strlen(name);
    for (const char* extension : kVersionedExtensions) {
        std::size_t n = std::strlen(extension);
        if (length >= n && compareTextNoCase(name + length - n, extension) == 0) return true;
    }
    return false;
}

bool versionFromDllGetVersion(const char* path, VersionPair* version) {
    QuietErrorMode quiet;
    UniqueModule library(loadProductLibrary(path));
    if (!library) return false;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(library.get(), "DllGetVersion")));
    if (!getVersion) return false;
    DLLVERSIONINFO info = {};
    info.cbSize = kDllVersionInfoSize;
    if (getVersion(&info) != S_OK) return false;
    *version = versionFromDllVersion(info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
    return true;
}

}  // namespace

bool versionFromResource(const char* path, VersionPair* version, bool checkBinary) {
    *version = VersionPair{};
    if (!path || (checkBinary && !isWindowsProgram(path)) || !versionFunctionsLoaded()) {
        return false;
    }
    const VersionFunctions& v = versionLibrary;
    DWORD ignored = 0;
    DWORD size = v.infoSize(path, &ignored);
    if (size == 0) return false;
    HeapBlock block(size);
    if (!block.get() || !v.info(path, 0, size, block.get())) return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!v.query(block.get(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != kFixedInfoSignature) {
        return false;
    }
    version->ms = fixed->dwFileVersionMS;
    version->ls = fixed->dwFileVersionLS;
    return true;
}

bool componentVersion(const char* path, VersionPair* version, bool checkBinary) {
    *version = VersionPair{};
    if (!path) return false;
    bool tryFunction = !checkBinary || (hasVersionedExtension(path) && isWindowsProgram(path));
    if (tryFunction && versionFromDllGetVersion(path, version)) return true;
    return versionFromResource(path, version, checkBinary);
}

bool componentVersionText(const char* path, char* text, std::size_t size, bool checkBinary) {
    if (size) text[0] = '\0';
    VersionPair version;
    if (!componentVersion(path, &version, checkBinary)) return false;
    formatVersionText(text, size, version);
    return true;
}

void releaseVersionFunctions() {
    versionLibrary = VersionFunctions{};
}

std::uint32_t sharedCount(const char* path) {
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0,
                        KEY_QUERY_VALUE | registryViewAccess(), key.put()) != ERROR_SUCCESS) {
        return 0;
    }
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), path, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS ||
        size == 0) {
        return 0;
    }
    HeapBlock data(size);
    if (!data.get() || ::RegQueryValueExA(key.get(), path, nullptr, nullptr,
                                          static_cast<BYTE*>(data.get()), &size) != ERROR_SUCCESS) {
        return 0;
    }
    return sharedCountFromBytes(static_cast<const unsigned char*>(data.get()), size);
}

std::uint32_t changeSharedCount(const char* path, bool decrement) {
    std::uint32_t count = changedSharedCount(sharedCount(path), decrement);
    UniqueKey key;
    if (count == 0) {
        // Nothing to delete where the key is missing; do not create it for that.
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0,
                            KEY_SET_VALUE | registryViewAccess(), key.put()) == ERROR_SUCCESS) {
            ::RegDeleteValueA(key.get(), path);
        }
        return count;
    }
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | registryViewAccess(), nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        return count;
    }
    DWORD value = count;
    ::RegSetValueExA(key.get(), path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof value);
    return count;
}

}  // namespace kelvara
