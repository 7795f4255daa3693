// Registry values and keys removed on the real system (the Wine prefix).
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/registry_delete_win32.h"
#include "system_fixtures.h"

using namespace kelvara;
using namespace kelvara_test;

namespace {

TEST(DeleteRegistryValue, DeletesOneValueAndReportsMissingOnes) {
    TestKey key;
    key.setValue("", "Path");
    key.setValue("", "Other");
    EXPECT_EQ(deleteRegistryValue(HKEY_CURRENT_USER, ("\\" + key.path()).c_str(), "Path"),
              ERROR_SUCCESS)
        << "one leading backslash is skipped";
    EXPECT_FALSE(key.hasValue("", "Path"));
    EXPECT_TRUE(key.hasValue("", "Other"));
    EXPECT_EQ(deleteRegistryValue(HKEY_CURRENT_USER, key.path().c_str(), "Path"),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(deleteRegistryValue(HKEY_CURRENT_USER, key.sub("Missing").c_str(), "Other"),
              ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(key.has("")) << "the key itself stays";
}

TEST(DeleteRegistryKey, WithoutForceOnlyAnEmptyKeyGoes) {
    TestKey key;
    key.setValue("WithValue", "Name");
    key.create("WithSubkey\\Child");
    key.create("Empty");

    EXPECT_EQ(deleteRegistryKey(HKEY_CURRENT_USER, key.sub("WithValue").c_str(), false),
              ERROR_SUCCESS);
    EXPECT_TRUE(key.hasValue("WithValue", "Name")) << "a key with values stays";
    EXPECT_EQ(deleteRegistryKey(HKEY_CURRENT_USER, key.sub("WithSubkey").c_str(), false),
              ERROR_SUCCESS);
    EXPECT_TRUE(key.has("WithSubkey\\Child")) << "a key with subkeys stays";
    EXPECT_EQ(deleteRegistryKey(HKEY_CURRENT_USER, ("\\\\" + key.sub("Empty")).c_str(), false),
              ERROR_SUCCESS)
        << "all leading backslashes are skipped";
    EXPECT_FALSE(key.has("Empty"));
}

TEST(DeleteRegistryKey, WithForceEverythingBelowGoesToo) {
    TestKey key;
    key.setValue("Tree", "Top");
    key.setValue("Tree\\A", "Value");
    key.setValue("Tree\\A\\Deep\\Deeper", "Value");
    key.create("Tree\\B");
    key.create("Tree\\C\\D");
    key.create("Sibling");

    EXPECT_EQ(deleteRegistryKey(HKEY_CURRENT_USER, key.sub("Tree").c_str(), true), ERROR_SUCCESS);
    EXPECT_FALSE(key.has("Tree"));
    EXPECT_TRUE(key.has("Sibling")) << "only the named key goes";
}

TEST(DeleteRegistryKey, MissingKeyAndEmptyPath) {
    TestKey key;
    key.create("Child");
    EXPECT_EQ(deleteRegistryKey(HKEY_CURRENT_USER, key.sub("Missing").c_str(), true),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(deleteRegistryKey(HKEY_CURRENT_USER, key.sub("Missing").c_str(), false),
              ERROR_FILE_NOT_FOUND);

    // An empty path names the root it is given: refused, even with force, and nothing below it
    // is touched. Here the "root" is the test's own key.
    HKEY own;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, key.path().c_str(), 0, KEY_ALL_ACCESS, &own),
              ERROR_SUCCESS);
    EXPECT_EQ(deleteRegistryKey(own, "", true), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(deleteRegistryKey(own, "\\\\", true), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(deleteRegistryKey(own, nullptr, true), ERROR_INVALID_PARAMETER);
    ::RegCloseKey(own);
    EXPECT_TRUE(key.has("Child"));
    EXPECT_NE(deleteRegistryKey(nullptr, key.path().c_str(), true), ERROR_SUCCESS);
    EXPECT_TRUE(key.has("Child"));
}

}  // namespace
