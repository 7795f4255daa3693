#include <gtest/gtest.h>

#include "environment/windows_release.h"

using namespace kelvara;

namespace {

int code(unsigned platform, unsigned major, unsigned minor, const char* servicePack = "") {
    WindowsVersionFacts facts;
    facts.platform = platform;
    facts.major = major;
    facts.minor = minor;
    facts.servicePack = servicePack;
    return windowsVersionCode(facts);
}

constexpr unsigned k9x = kPlatformWin32Windows;
constexpr unsigned kNt = kPlatformWin32Nt;

}  // namespace

TEST(WindowsRelease, NinetyFiveAndNinetyEightUpdatesAreToldApartByTheSecondLetter) {
    EXPECT_EQ(code(k9x, 4, 0, ""), kWindows95);
    EXPECT_EQ(code(k9x, 4, 0, nullptr), kWindows95);
    EXPECT_EQ(code(k9x, 4, 0, " B"), kWindows95);
    EXPECT_EQ(code(k9x, 4, 0, " C"), kWindows95Osr2);
    EXPECT_EQ(code(k9x, 4, 0, "C "), kWindows95) << "only the second character counts";
    EXPECT_EQ(code(k9x, 4, 10, " "), kWindows98);
    EXPECT_EQ(code(k9x, 4, 10, " A "), kWindows98Se);
    EXPECT_EQ(code(k9x, 4, 10, " a "), kWindows98) << "the letter is compared exactly";
    EXPECT_EQ(code(k9x, 4, 90, " "), kWindowsMe);
    EXPECT_EQ(code(k9x, 4, 50), kWindowsUnknown);
    EXPECT_EQ(code(k9x, 5, 0), kWindowsUnknown);
}

TEST(WindowsRelease, NtReleasesIncludingEveryOneAfterServer2003) {
    EXPECT_EQ(code(kNt, 3, 51), kWindowsNt4);
    EXPECT_EQ(code(kNt, 3, 50), kWindowsUnknown) << "NT 3.5 is too old to be recognised";
    EXPECT_EQ(code(kNt, 4, 0, "Service Pack 6"), kWindowsNt4);
    EXPECT_EQ(code(kNt, 5, 0), kWindows2000);
    EXPECT_EQ(code(kNt, 5, 1), kWindowsXp);
    EXPECT_EQ(code(kNt, 5, 2), kWindows2003);
    for (unsigned major : {6u, 10u}) {
        for (unsigned minor : {0u, 1u, 3u}) {
            EXPECT_EQ(code(kNt, major, minor), kWindowsNewer) << major << "." << minor;
        }
    }
    EXPECT_EQ(code(0, 6, 1), kWindowsUnknown) << "Win32s";
}

TEST(WindowsRelease, FolderRulesFollowTheRelease) {
    // Per-user folders only on 95 and 98: the only releases without all-users folders.
    for (int c : {kWindowsUnknown, kWindows95, kWindows95Osr2, kWindows98, kWindows98Se}) {
        EXPECT_FALSE(commonFolderRule(c)) << c;
        EXPECT_FALSE(newerReleaseRule(c)) << c;
    }
    EXPECT_TRUE(commonFolderRule(kWindowsNt4));
    EXPECT_FALSE(newerReleaseRule(kWindowsNt4)) << "NT 4.0 has no shared documents";
    for (int c : {kWindowsMe, kWindows2000, kWindowsXp, kWindows2003, kWindowsNewer}) {
        EXPECT_TRUE(commonFolderRule(c)) << c;
        EXPECT_TRUE(newerReleaseRule(c)) << c;
    }
}
