#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/access_check_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/text_case.h"

using namespace kelvara;

namespace {

// An impersonation token of this process, as start-up keeps one for the access check.
UniqueHandle impersonationToken() {
    HANDLE token = nullptr;
    if (::ImpersonateSelf(SecurityImpersonation)) {
        ::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY | TOKEN_IMPERSONATE | TOKEN_DUPLICATE,
                          TRUE, &token);
        ::RevertToSelf();
    }
    return UniqueHandle(token);
}

// A folder whose access list is empty, so that nobody (its owner aside) may do anything to it.
bool makeLockedFolder(const std::string& path) {
    SECURITY_DESCRIPTOR descriptor;
    ACL emptyList;
    return ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           ::InitializeAcl(&emptyList, sizeof emptyList, ACL_REVISION) &&
           ::SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyList, FALSE) && [&] {
               SECURITY_ATTRIBUTES attributes = {sizeof attributes, &descriptor, FALSE};
               return ::CreateDirectoryA(path.c_str(), &attributes) != FALSE;
           }();
}

}  // namespace

TEST(SystemErrorText, GivesTheSystemTextInOneReusedBuffer) {
    const char* text = systemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_NE(text, nullptr);
    std::string notFound = text;
    ASSERT_GT(notFound.size(), 2u);
    EXPECT_EQ(notFound.back(), '\n') << "the system's line break is kept: " << notFound;

    const char* other = systemErrorText(ERROR_ACCESS_DENIED);
    EXPECT_EQ(other, text) << "one static buffer";
    EXPECT_NE(notFound, other) << "the next call overwrites it";

    EXPECT_STREQ(systemErrorText(0x2FFFFFF0u), "") << "no text for an unknown code";

    // A system text with an insert must come back with the insert as written, not crash.
    bool sawInsert = false;
    for (DWORD code = 1; code < 1400 && !sawInsert; ++code) {
        sawInsert = std::strstr(systemErrorText(code), "%1") != nullptr;
    }
    EXPECT_TRUE(sawInsert) << "no system text with an insert was found";
}

TEST(TextCase, SystemCharacterRules) {
    EXPECT_EQ(charUpper('a'), 'A');
    EXPECT_EQ(charUpper('Z'), 'Z');
    EXPECT_EQ(charUpper('1'), '1');
    char text[] = "Program Files 2";
    textUpper(text);
    EXPECT_STREQ(text, "PROGRAM FILES 2");
    EXPECT_EQ(compareTextNoCase("setup.EXE", "SETUP.exe"), 0);
    EXPECT_NE(compareText("setup.EXE", "SETUP.exe"), 0);
    EXPECT_LT(compareTextNoCase("alpha", "Beta"), 0);
    EXPECT_LT(compareText(nullptr, "a"), 0);
    EXPECT_EQ(compareTextNoCase(nullptr, nullptr), 0);
}

TEST(AccessCheck, VerdictsForFoldersAndKeys) {
    ASSERT_TRUE(loadSecurityFunctions());
    EXPECT_TRUE(loadSecurityFunctions()) << "a second load is harmless";
    UniqueHandle token = impersonationToken();
    ASSERT_TRUE(token);

    HeapString temp(tempFolder());
    ASSERT_TRUE(temp);
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, "\\kvr_access_%lu", ::GetCurrentProcessId());
    std::string open = std::string(temp.get()) + suffix;
    std::string locked = open + "_locked";
    ASSERT_TRUE(::CreateDirectoryA(open.c_str(), nullptr));
    ASSERT_TRUE(makeLockedFolder(locked));

    bool granted = false;
    EXPECT_EQ(checkAccess(token.get(), open.c_str(), kObjectFile, GENERIC_READ, &granted), 0u);
    EXPECT_TRUE(granted) << "reading a folder this test made";
    granted = false;
    EXPECT_EQ(checkAccess(token.get(), open.c_str(), kObjectFile, GENERIC_WRITE, &granted), 0u);
    EXPECT_TRUE(granted);

    granted = true;
    EXPECT_EQ(checkAccess(token.get(), locked.c_str(), kObjectFile, GENERIC_WRITE, &granted), 0u);
    EXPECT_FALSE(granted) << "writing into a folder with an empty access list";

    granted = false;
    EXPECT_EQ(
        checkAccess(token.get(), "CURRENT_USER\\Software", kObjectRegistryKey, KEY_READ, &granted),
        0u);
    EXPECT_TRUE(granted);

    granted = false;
    DWORD missing =
        checkAccess(token.get(), (open + "\\absent").c_str(), kObjectFile, GENERIC_READ, &granted);
    EXPECT_EQ(missing, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(granted) << "a check that could not be made counts as granted";

    releaseSecurityFunctions();
    granted = false;
    EXPECT_EQ(checkAccess(token.get(), locked.c_str(), kObjectFile, GENERIC_WRITE, &granted), 1u)
        << "without the access functions";
    EXPECT_TRUE(granted);
    EXPECT_TRUE(loadSecurityFunctions());

    ::RemoveDirectoryA(locked.c_str());
    ::RemoveDirectoryA(open.c_str());
}
