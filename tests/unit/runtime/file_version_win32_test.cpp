// File versions read from real files, and shared counts kept in the prefix's registry.
#include "runtime/file_version_win32.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <vector>

using namespace kelvara;

namespace {

constexpr char kSharedDllsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string systemFile(const char* name) {
    char folder[MAX_PATH];
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

std::string tempFile(const char* name) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::vector<unsigned char> readFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    HANDLE in = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (in == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(::GetFileSize(in, nullptr));
    DWORD read = 0;
    ::ReadFile(in, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(in);
    bytes.resize(read);
    return bytes;
}

void writeFile(const std::string& path, const void* data, std::size_t size) {
    HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(out, data, static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(out);
}

// A copy of a system library, under a name of our choosing, whose fixed file version is
// 1.2.3.4. Empty when the library holds no fixed file information to patch.
std::string libraryWithVersion1234(const char* name) {
    std::vector<unsigned char> bytes = readFile(systemFile("kernel32.dll"));
    // VS_FIXEDFILEINFO: signature 0xFEEF04BD, structure version 1.0, then the file version.
    const unsigned char head[] = {0xBD, 0x04, 0xEF, 0xFE, 0x00, 0x00, 0x01, 0x00};
    const unsigned char version[] = {2, 0, 1, 0, 4, 0, 3, 0};
    bool patched = false;
    for (std::size_t i = 0; i + 16 <= bytes.size(); ++i) {
        if (std::memcmp(&bytes[i], head, sizeof head) != 0) continue;
        std::memcpy(&bytes[i + 8], version, sizeof version);
        patched = true;
    }
    if (!patched) return "";
    std::string path = tempFile(name);
    writeFile(path, bytes.data(), bytes.size());
    return path;
}

std::string text(const VersionPair& v) {
    char buffer[kVersionTextSize];
    formatVersionText(buffer, sizeof buffer, v);
    return buffer;
}

// The shared count value of one path: absent when the test starts and when it ends.
class SharedValue {
  public:
    explicit SharedValue(std::string path) : path_(std::move(path)) { remove(); }
    ~SharedValue() { remove(); }
    const char* path() const { return path_.c_str(); }
    // The value's type and data as the registry holds them; false when absent.
    bool read(DWORD* type, std::vector<unsigned char>* data) const {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        DWORD size = 64;
        data->assign(size, 0);
        LONG status = ::RegQueryValueExA(key, path(), nullptr, type, data->data(), &size);
        ::RegCloseKey(key);
        data->resize(size);
        return status == ERROR_SUCCESS;
    }
    void write(DWORD type, const void* data, DWORD size) const {
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, path(), 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    }

  private:
    void remove() const {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            ::RegDeleteValueA(key, path());
            ::RegCloseKey(key);
        }
    }
    std::string path_;
};

// The count stored for a path as a REG_DWORD, or -1 when absent or of another type.
long long storedDword(const SharedValue& value) {
    DWORD type = 0;
    std::vector<unsigned char> data;
    if (!value.read(&type, &data) || type != REG_DWORD || data.size() != 4) return -1;
    DWORD count;
    std::memcpy(&count, data.data(), 4);
    return count;
}

}  // namespace

TEST(FileVersion, ResourceVersionOfAPatchedLibrary) {
    std::string path = libraryWithVersion1234("kvr-version.bin");
    ASSERT_FALSE(path.empty()) << "kernel32.dll holds a fixed file version to patch";
    VersionPair v{7, 7};
    EXPECT_TRUE(versionFromResource(path.c_str(), &v, false));
    EXPECT_EQ(v.ms, 0x00010002u);
    EXPECT_EQ(v.ls, 0x00030004u);
    v = {7, 7};
    EXPECT_TRUE(versionFromResource(path.c_str(), &v, true)) << "a Windows program passes";
    EXPECT_EQ(text(v), "1.2.3.4");
    // Not named .dll, .ocx or .tlb: with the check, DllGetVersion is not tried (the copy is
    // never loaded) and the resource answers.
    char buffer[kVersionTextSize] = "x";
    EXPECT_TRUE(componentVersionText(path.c_str(), buffer, sizeof buffer, true));
    EXPECT_STREQ(buffer, "1.2.3.4");
    // Cut to fit, still terminated.
    char small[4] = "xyz";
    EXPECT_TRUE(componentVersionText(path.c_str(), small, sizeof small, true));
    EXPECT_STREQ(small, "1.2");
    ::DeleteFileA(path.c_str());
}

TEST(FileVersion, DllGetVersionComesBeforeTheResource) {
    std::string path = systemFile("shell32.dll");
    HMODULE library = ::LoadLibraryA(path.c_str());
    ASSERT_NE(library, nullptr);
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(library, "DllGetVersion")));
    ASSERT_NE(getVersion, nullptr) << "shell32 exports DllGetVersion";
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_EQ(getVersion(&info), S_OK);
    ::FreeLibrary(library);
    VersionPair reported =
        versionFromDllVersion(info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);

    VersionPair resource;
    ASSERT_TRUE(versionFromResource(path.c_str(), &resource, true));
    EXPECT_NE(resource.ms, 0u);
    // Only two different answers show which one is taken.
    ASSERT_NE(text(resource), text(reported)) << "the resource and DllGetVersion agree";
    for (bool check : {false, true}) {
        VersionPair v;
        EXPECT_TRUE(componentVersion(path.c_str(), &v, check));
        EXPECT_EQ(text(v), text(reported)) << "check " << check << "; resource " << text(resource);
    }
    // Upper-case names count as libraries too.
    std::string upper = systemFile("SHELL32.DLL");
    VersionPair v;
    EXPECT_TRUE(componentVersion(upper.c_str(), &v, true));
    EXPECT_EQ(text(v), text(reported));
}

TEST(FileVersion, TheCheckAdmitsProgramsAndLibrariesOnly) {
    VersionPair v;
    std::string program = systemFile("winver.exe");
    EXPECT_TRUE(versionFromResource(program.c_str(), &v, true)) << program;
    EXPECT_NE(v.ms, 0u);
    std::string library = systemFile("version.dll");
    EXPECT_TRUE(versionFromResource(library.c_str(), &v, true)) << library;
    EXPECT_NE(v.ms, 0u);
    // An image header cut short is no library.
    std::vector<unsigned char> head = readFile(library);
    ASSERT_GT(head.size(), 0x200u);
    head.resize(0x40);
    std::string cut = tempFile("kvr-cut.dll");
    writeFile(cut, head.data(), head.size());
    EXPECT_FALSE(componentVersion(cut.c_str(), &v, true));
    ::DeleteFileA(cut.c_str());
}

TEST(FileVersion, FilesWithoutAVersion) {
    std::string plain = tempFile("kvr-plain.dll");
    const char content[] = "not a program";
    writeFile(plain, content, sizeof content - 1);
    std::string missing = tempFile("kvr-missing.dll");
    ::DeleteFileA(missing.c_str());
    for (const std::string& path : {plain, missing}) {
        for (bool check : {false, true}) {
            VersionPair v{7, 7};
            EXPECT_FALSE(versionFromResource(path.c_str(), &v, check)) << path;
            EXPECT_EQ(v.ms, 0u);
            EXPECT_EQ(v.ls, 0u);
            v = {7, 7};
            EXPECT_FALSE(componentVersion(path.c_str(), &v, check)) << path;
            EXPECT_EQ(v.ms | v.ls, 0u);
            char buffer[kVersionTextSize] = "x";
            EXPECT_FALSE(componentVersionText(path.c_str(), buffer, sizeof buffer, check));
            EXPECT_STREQ(buffer, "");
        }
    }
    ::DeleteFileA(plain.c_str());
}

TEST(SharedCount, CountsUpAndDownInTheRegistry) {
    SharedValue value("C:\\Kelvara Test\\Shared\\Counted.dll");
    EXPECT_EQ(sharedCount(value.path()), 0u);
    EXPECT_EQ(changeSharedCount(value.path(), true), 0u) << "decrementing a missing value";
    EXPECT_EQ(storedDword(value), -1) << "leaves nothing behind";

    EXPECT_EQ(changeSharedCount(value.path(), false), 1u);
    EXPECT_EQ(storedDword(value), 1);
    // Registry value names ignore case: another spelling is the same count.
    EXPECT_EQ(changeSharedCount("c:\\kelvara test\\shared\\counted.DLL", false), 2u);
    EXPECT_EQ(storedDword(value), 2);
    EXPECT_EQ(sharedCount(value.path()), 2u);

    EXPECT_EQ(changeSharedCount(value.path(), true), 1u);
    EXPECT_EQ(storedDword(value), 1);
    EXPECT_EQ(changeSharedCount(value.path(), true), 0u);
    EXPECT_EQ(storedDword(value), -1) << "a count of 0 deletes the value";
    HKEY key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS)
        << "the key stays";
    ::RegCloseKey(key);
}

TEST(SharedCount, CountsStoredAsOtherTypes) {
    SharedValue value("C:\\Kelvara Test\\Shared\\Binary.ocx");
    // The first four bytes, little-endian, whatever the type; the rest is ignored.
    const unsigned char longer[] = {0x02, 0x01, 0x00, 0x00, 0x09, 0x09};
    value.write(REG_BINARY, longer, sizeof longer);
    EXPECT_EQ(sharedCount(value.path()), 0x102u);
    EXPECT_EQ(changeSharedCount(value.path(), false), 0x103u);
    EXPECT_EQ(storedDword(value), 0x103) << "written back as REG_DWORD";
    // Missing bytes count as 0.
    const unsigned char shorter[] = {0x05};
    value.write(REG_BINARY, shorter, sizeof shorter);
    EXPECT_EQ(changeSharedCount(value.path(), true), 4u);
    EXPECT_EQ(storedDword(value), 4);
}
