// Replacing and deleting files at restart on the real system. The prefix is shared by the unit
// tests: every value and file added here is removed again.
#include "runtime/replace_on_reboot_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace kelvara;

namespace {

constexpr char kSessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingValue[] = "PendingFileRenameOperations";
constexpr char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::string tempFile(const char* name) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void writeFile(const std::string& path, const std::string& content) {
    HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(out, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(out);
}

std::string readFile(const std::string& path) {
    HANDLE in = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (in == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(::GetFileSize(in, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(in, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(in);
    bytes.resize(read);
    return bytes;
}

std::string shortPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD length = ::GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return length && length < sizeof buffer ? std::string(buffer, length) : "<none>";
}

// A registry value read as raw bytes; `present` false when it does not exist.
struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::string data;
};

RawValue readValue(const char* keyName, const char* name) {
    RawValue value;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.assign(size, '\0');
        value.present =
            ::RegQueryValueExA(key, name, nullptr, &value.type,
                               reinterpret_cast<BYTE*>(value.data.data()), &size) == ERROR_SUCCESS;
        value.data.resize(size);
    }
    ::RegCloseKey(key);
    return value;
}

void restoreValue(const char* keyName, const char* name, const RawValue& value) {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return;
    }
    if (value.present) {
        ::RegSetValueExA(key, name, 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                         static_cast<DWORD>(value.data.size()));
    } else {
        ::RegDeleteValueA(key, name);
    }
    ::RegCloseKey(key);
}

// The system's pending renames, put back as they were when the test ends.
class SavedPendingRenames {
  public:
    SavedPendingRenames() : saved_(readValue(kSessionManagerKey, kPendingValue)) {}
    ~SavedPendingRenames() { restoreValue(kSessionManagerKey, kPendingValue, saved_); }
    const RawValue& saved() const { return saved_; }

  private:
    RawValue saved_;
};

// The strings of a REG_MULTI_SZ, empty ones included, without the list's final terminator.
std::vector<std::string> multiStrings(const std::string& data) {
    std::vector<std::string> strings;
    std::size_t at = 0;
    while (at < data.size()) {
        std::size_t end = data.find('\0', at);
        if (end == std::string::npos) end = data.size();
        strings.push_back(data.substr(at, end - at));
        at = end + 1;
    }
    while (!strings.empty() && strings.back().empty() && strings.size() % 2) strings.pop_back();
    return strings;
}

// True when the pending renames hold the pair (source, target) in order, as NT paths; the
// target is "" for a deletion and starts with "!" when it may replace an existing file.
bool hasPendingPair(const std::vector<std::string>& strings, const std::string& source,
                    const std::string& target) {
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
        if (_stricmp(strings[i].c_str(), ("\\??\\" + source).c_str()) == 0 &&
            _stricmp(strings[i + 1].c_str(), target.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(ReplaceOnReboot, FallbackRouteFollowsTheTargetName) {
    EXPECT_EQ(fallbackRoute(nullptr), RestartRoute::wininit) << "a deletion never goes to RunOnce";
    EXPECT_EQ(fallbackRoute("C:\\APP\\TOOL.EXE"), RestartRoute::wininit);
    EXPECT_EQ(fallbackRoute("C:\\Program Files\\App\\README"), RestartRoute::wininit);
    EXPECT_EQ(fallbackRoute("C:\\APP\\PAGE.HTML"), RestartRoute::runOnce)
        << "four-letter extension";
    EXPECT_EQ(fallbackRoute("C:\\APP\\LONGNAMED.DLL"), RestartRoute::runOnce);
    EXPECT_EQ(fallbackRoute("C:\\APP\\LONGNAMED"), RestartRoute::runOnce);
}

TEST(ReplaceOnReboot, DelayedMoveIsRecordedBySystemAndNothingElse) {
    SavedPendingRenames saved;
    std::string source = tempFile("KVR-moved.tmp");
    std::string target = tempFile("kelvara target page.html");
    std::string doomed = tempFile("KVR-deleted.tmp");
    writeFile(source, "new content");
    writeFile(doomed, "left over");
    RawValue runOnceBefore = readValue(kRunOnceKey, source.c_str());

    EXPECT_EQ(scheduleAtRestart(source.c_str(), target.c_str()), RestartRoute::delayedMove);
    EXPECT_EQ(scheduleAtRestart(doomed.c_str(), nullptr), RestartRoute::delayedMove);

    RawValue pending = readValue(kSessionManagerKey, kPendingValue);
    ASSERT_TRUE(pending.present);
    EXPECT_EQ(pending.type, static_cast<DWORD>(REG_MULTI_SZ));
    std::vector<std::string> strings = multiStrings(pending.data);
    EXPECT_TRUE(hasPendingPair(strings, source, "!\\??\\" + target))
        << "the move replaces an existing target";
    EXPECT_TRUE(hasPendingPair(strings, doomed, "")) << "no target: deleted at restart";
    EXPECT_FALSE(readValue(kRunOnceKey, source.c_str()).present && !runOnceBefore.present)
        << "RunOnce is not touched when the delayed move works";
    EXPECT_EQ(readFile(source), "new content") << "nothing moves before the restart";

    ::DeleteFileA(source.c_str());
    ::DeleteFileA(doomed.c_str());
}

TEST(ReplaceOnReboot, RunOnceCommandMovesTheFile) {
    std::string source = "C:\\TEMP\\KVR1A.TMP";
    std::string target = "C:\\Program Files\\Kelvara Test\\index.html";
    RawValue before = readValue(kRunOnceKey, source.c_str());
    ASSERT_TRUE(addRunOnceMove(source.c_str(), target.c_str()));
    RawValue written = readValue(kRunOnceKey, source.c_str());
    restoreValue(kRunOnceKey, source.c_str(), before);
    ASSERT_TRUE(written.present);
    EXPECT_EQ(written.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(written.data,
              "command.com /c move \"" + source + "\" \"" + target + "\"" + std::string(1, '\0'));
}

TEST(ReplaceOnReboot, WininitLinesInShortFormAroundTheFile) {
    std::string ini = tempFile("kvr-wininit.ini");
    ::DeleteFileA(ini.c_str());
    std::string source = tempFile("KVR new content.tmp");
    std::string target = tempFile("kelvara old content.dll");
    writeFile(source, "new");
    writeFile(target, "old");
    std::string shortSource = shortPath(source);
    std::string shortTarget = shortPath(target);
    ASSERT_NE(shortSource, "<none>");
    ASSERT_NE(shortTarget, "<none>");

    // A missing file is created with the section and the line.
    ASSERT_TRUE(addWininitLine(ini.c_str(), source.c_str(), target.c_str()));
    EXPECT_EQ(readFile(ini), "[Rename]\r\n" + shortTarget + "=" + shortSource);
    // A deletion; a target that does not exist yet is written as given.
    ASSERT_TRUE(addWininitLine(ini.c_str(), source.c_str(), nullptr));
    ASSERT_TRUE(addWininitLine(ini.c_str(), source.c_str(), "C:\\NEW\\ABSENT.DLL"));
    EXPECT_EQ(readFile(ini), "[Rename]\r\n" + shortTarget + "=" + shortSource + "\r\nNUL=" +
                                 shortSource + "\r\nC:\\NEW\\ABSENT.DLL=" + shortSource);

    // The line ends the [Rename] section, before the blank lines that precede the next one;
    // the file shrinks or grows to exactly the new text.
    writeFile(ini, "[rename]\r\nA.DLL=B.TMP\r\n\r\n[Other]\r\nx=y\r\n");
    ASSERT_TRUE(addWininitLine(ini.c_str(), source.c_str(), nullptr));
    EXPECT_EQ(readFile(ini),
              "[rename]\r\nA.DLL=B.TMP\r\nNUL=" + shortSource + "\r\n\r\n[Other]\r\nx=y\r\n");

    // A file someone holds open without sharing is left as it was.
    writeFile(ini, "[Other]\r\n");
    HANDLE held = ::CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(addWininitLine(ini.c_str(), source.c_str(), nullptr));
    ::CloseHandle(held);
    EXPECT_EQ(readFile(ini), "[Other]\r\n");

    ::DeleteFileA(ini.c_str());
    ::DeleteFileA(source.c_str());
    ::DeleteFileA(target.c_str());
}
