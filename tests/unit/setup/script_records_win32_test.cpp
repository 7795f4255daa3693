#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "setup/script_records.h"

using namespace kelvara;

namespace {

constexpr const char* kTestKey = "Software\\KelvaraTests\\ScriptRecords";
constexpr int kRootCurrentUser = 1;

class RegistryValues : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        ::RegCloseKey(key_);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    }
    void put(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }
    HKEY key_ = nullptr;
};

TEST_F(RegistryValues, ReadsValuesAsTerminatedTextAndMissesQuietly) {
    const RecordPlatform& platform = systemRecordPlatform();
    put("Path", REG_SZ, "C:\\Old Place", 13);
    put("Raw", REG_BINARY, "abc", 3);  // no terminator stored
    put("Empty", REG_BINARY, "", 0);

    HeapString path(platform.readRegistryText(kRootCurrentUser, kTestKey, "Path"));
    ASSERT_TRUE(path);
    EXPECT_STREQ(path.get(), "C:\\Old Place");
    HeapString raw(platform.readRegistryText(kRootCurrentUser, kTestKey, "Raw"));
    ASSERT_TRUE(raw);
    EXPECT_STREQ(raw.get(), "abc") << "terminated even when the value is not";
    EXPECT_EQ(platform.readRegistryText(kRootCurrentUser, kTestKey, "Empty"), nullptr);
    EXPECT_EQ(platform.readRegistryText(kRootCurrentUser, kTestKey, "Missing"), nullptr);
    EXPECT_EQ(platform.readRegistryText(kRootCurrentUser, "Software\\KelvaraTests\\None", "Path"),
              nullptr);
    EXPECT_EQ(platform.readRegistryText(7, kTestKey, "Path"), nullptr);
    EXPECT_EQ(platform.readRegistryText(-1, kTestKey, "Path"), nullptr);
}

int CALLBACK keepFirstFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM face) {
    *reinterpret_cast<std::string*>(face) = font->lfFaceName;
    return 0;
}

// A face the system lists with the ANSI character set, whichever fonts the machine has.
std::string someInstalledFace() {
    LOGFONTA all{};
    all.lfCharSet = ANSI_CHARSET;
    std::string face;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExA(screen, &all, keepFirstFace, reinterpret_cast<LPARAM>(&face), 0);
    ::ReleaseDC(nullptr, screen);
    return face;
}

TEST(FontFaces, InstalledFacesAreFoundAndInventedOnesAreNot) {
    const RecordPlatform& platform = systemRecordPlatform();
    std::string installed = someInstalledFace();
    ASSERT_FALSE(installed.empty()) << "the system lists no font at all";
    EXPECT_TRUE(platform.fontInstalled(installed.c_str())) << installed;
    EXPECT_FALSE(platform.fontInstalled("Kelvara No Such Face"));
    EXPECT_FALSE(platform.fontInstalled(std::string(40, 'T').c_str()));
}

TEST(UserLanguage, IsThePrimaryLanguageOfTheUserDefault) {
    EXPECT_EQ(systemRecordPlatform().userLanguage(), ::GetUserDefaultLangID() & 0xFF);
}

}  // namespace
