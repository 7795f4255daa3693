#include "runtime/version_text.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kelvara;

TEST(VersionText, FormatsTheFourHalvesHighFirst) {
    char text[32];
    EXPECT_EQ(formatVersionText(text, sizeof text, {0x00010002, 0x00030004}), 7u);
    EXPECT_STREQ(text, "1.2.3.4");
    formatVersionText(text, sizeof text, {0xFFFFFFFF, 0xFFFF0000});
    EXPECT_STREQ(text, "65535.65535.65535.0");
    formatVersionText(text, sizeof text, {});
    EXPECT_STREQ(text, "0.0.0.0");
    formatVersionText(text, sizeof text, versionFromDllVersion(6, 0, 2800));
    EXPECT_STREQ(text, "6.0.2800.0");

    char small[5];
    EXPECT_EQ(formatVersionText(small, sizeof small, {0x000A000B, 0}), 4u);
    EXPECT_STREQ(small, "10.1") << "cut to fit, terminated";
    EXPECT_EQ(formatVersionText(small, 0, {}), 0u);
}

TEST(VersionText, DllVersionPartsAreTakenAs16Bits) {
    VersionPair v = versionFromDllVersion(0x10006, 0x20001, 0x30002);
    EXPECT_EQ(v.ms, 0x00060001u);
    EXPECT_EQ(v.ls, 0x00020000u);
}

TEST(VersionText, VersionsCompareHighDwordFirst) {
    EXPECT_EQ(compareVersions({1, 0}, {1, 0}), 0);
    EXPECT_LT(compareVersions({1, 0xFFFFFFFF}, {2, 0}), 0);
    EXPECT_GT(compareVersions({2, 0}, {1, 0xFFFFFFFF}), 0);
    EXPECT_GT(compareVersions({1, 0x80000000}, {1, 1}), 0);
}

TEST(SharedCount, ReadsLittleEndianAndChangesWithinBounds) {
    const unsigned char four[] = {0x02, 0x01, 0x00, 0x00, 0x7F};
    EXPECT_EQ(sharedCountFromBytes(four, 5), 0x102u) << "only the first four bytes count";
    EXPECT_EQ(sharedCountFromBytes(four, 1), 2u) << "missing bytes count as 0";
    EXPECT_EQ(sharedCountFromBytes(nullptr, 0), 0u);
    const unsigned char high[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(sharedCountFromBytes(high, 4), 0xFFFFFFFFu);

    EXPECT_EQ(changedSharedCount(0, false), 1u);
    EXPECT_EQ(changedSharedCount(changedSharedCount(0, false), false), 2u)
        << "installing twice counts 2";
    EXPECT_EQ(changedSharedCount(1, true), 0u);
    EXPECT_EQ(changedSharedCount(0, true), 0u) << "never below 0";
    EXPECT_EQ(changedSharedCount(0xFFFFFFFFu, false), 0xFFFFFFFFu)
        << "no wrap to 0, which would mark the file unused";
}
