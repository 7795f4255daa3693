#include "install/config_records.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap.h"

using namespace kelvara;

namespace {

// A heap result as text ("<null>" for null), freed.
std::string take(char* text) {
    if (!text) return "<null>";
    std::string result(text);
    heapFree(text);
    return result;
}

std::string normalized(const char* path) {
    std::string copy(path);
    return normalizeKeyPath(copy.data());
}

}  // namespace

TEST(ConfigRecords, RecordsAreExpandedThenCutIntoFifteenFields) {
    ASSERT_TRUE(setupState.variableNames.create(4));
    ASSERT_TRUE(setupState.variableValues.create(4));
    defineVariable("%Key%", "Software\\Kelvara");
    RecordFields fields;
    ASSERT_TRUE(fields.read("1,%key%\\Sub,Name,,a|b"));
    EXPECT_STREQ(fields.get(0), "1");
    EXPECT_STREQ(fields.get(1), "Software\\Kelvara\\Sub") << "variables match in any case";
    EXPECT_STREQ(fields.get(2), "Name");
    EXPECT_STREQ(fields.get(3), "") << "an empty field stays empty";
    EXPECT_STREQ(fields.get(4), "a|b");
    EXPECT_STREQ(fields.get(14), "") << "missing fields are empty";
    EXPECT_STREQ(fields.get(15), "") << "past the fields: empty, not null";
    ASSERT_NE(fields.edit(1), nullptr);
    ASSERT_TRUE(fields.read("2,Other"));
    EXPECT_STREQ(fields.get(4), "") << "a second record replaces the first one's fields";
    setupState.variableNames.destroy();
    setupState.variableValues.destroy();
}

TEST(ConfigRecords, RegistryRootsTypesAndKeyPaths) {
    EXPECT_EQ(recordRootNumber("2"), 2u);
    EXPECT_EQ(recordRootNumber("0x80000001"), 1u) << "a predefined key's own number";
    EXPECT_EQ(recordRootNumber(""), 0u);
    EXPECT_EQ(recordRootNumber("9"), 9u) << "out of range stays so: the write fails";

    EXPECT_EQ(registryValueType(""), 1u);
    EXPECT_EQ(registryValueType("0"), 1u);
    EXPECT_EQ(registryValueType("4"), 4u);
    EXPECT_EQ(registryValueType("0x7"), 7u);
    EXPECT_EQ(registryValueType("12"), 12u) << "unknown types are left to the converter";

    EXPECT_EQ(normalized("\\Software\\App\\"), "Software\\App");
    EXPECT_EQ(normalized("Software\\App/"), "Software\\App");
    EXPECT_EQ(normalized("Software\\App\\\\"), "Software\\App\\") << "one separator only";
    EXPECT_EQ(normalized("\\\\Software"), "\\Software") << "one leading backslash only";
    EXPECT_EQ(normalized("\\"), "");
    EXPECT_EQ(normalizeKeyPath(nullptr), nullptr);
}

TEST(ConfigRecords, IniFlagsAndWhereTheFileLives) {
    EXPECT_TRUE(iniAppendFlag("1"));
    EXPECT_TRUE(iniAppendFlag("yes"));
    EXPECT_FALSE(iniAppendFlag(""));
    EXPECT_FALSE(iniAppendFlag("0"));
    EXPECT_FALSE(iniAppendFlag("01")) << "anything starting with 0 is clear";
    EXPECT_FALSE(iniAppendFlag(nullptr));

    EXPECT_EQ(iniPlace("C:\\App\\app.ini"), IniPlace::withFolder);
    EXPECT_EQ(iniPlace("app.ini"), IniPlace::windowsFolder);
    EXPECT_EQ(iniPlace("sub/app.ini"), IniPlace::asGiven);
    EXPECT_EQ(iniPlace("C:app.ini"), IniPlace::asGiven) << "drive-relative: not a bare name";

    EXPECT_EQ(take(iniFileLocation("win.ini", "C:\\WINDOWS")), "C:\\WINDOWS\\win.ini")
        << "a bare name is looked for in the Windows folder, not the current one";
    EXPECT_EQ(take(iniFileLocation("win.ini", "C:\\WINDOWS\\")), "C:\\WINDOWS\\win.ini");
    EXPECT_EQ(take(iniFileLocation("win.ini", "")), "<null>") << "unknown folder: no place";
    EXPECT_EQ(take(iniFileLocation("win.ini", nullptr)), "<null>");
    EXPECT_EQ(take(iniFileLocation("D:\\Data\\a.ini", "C:\\WINDOWS")), "D:\\Data\\a.ini");
    EXPECT_EQ(take(iniFileLocation("C:a.ini", "C:\\WINDOWS")), "C:a.ini");
}

TEST(ConfigRecords, UninstallEntryNamesSizeAndIcon) {
    EXPECT_EQ(take(uninstallKeyPath("Kelvara Demo")),
              "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvara Demo");
    EXPECT_EQ(take(uninstallKeyPath("")), "<null>")
        << "an empty name would make the uninstaller delete the whole Uninstall key";
    EXPECT_EQ(take(uninstallKeyPath(nullptr)), "<null>");
    EXPECT_EQ(take(uninstallKeyPath("\\")), "<null>");
    EXPECT_EQ(take(uninstallKeyPath("Other\\Product")), "<null>");

    EXPECT_EQ(estimatedSizeKb(0), 0u);
    EXPECT_EQ(estimatedSizeKb(1), 1u) << "rounded up";
    EXPECT_EQ(estimatedSizeKb(1024), 1u);
    EXPECT_EQ(estimatedSizeKb(1025), 2u);
    EXPECT_EQ(estimatedSizeKb(0xFFFFFFFFu), 4194304u) << "no overflow at the top";

    EXPECT_EQ(take(iconLocation("C:\\App\\app.exe", "3")), "C:\\App\\app.exe,3");
    EXPECT_EQ(take(iconLocation("C:\\App\\app.exe", "")), "C:\\App\\app.exe,0");
    EXPECT_EQ(take(iconLocation("app.dll", "-101")), "app.dll,-101") << "a resource id";
    EXPECT_EQ(take(iconLocation("app.dll", "0x10")), "app.dll,16");
    EXPECT_EQ(take(iconLocation("app.dll", "-2147483648")), "app.dll,-2147483648");
}
