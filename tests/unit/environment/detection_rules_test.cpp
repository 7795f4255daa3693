#include <gtest/gtest.h>

#include "environment/detection_rules.h"

using namespace kelvara;

namespace {

int ieLevelOf(const char* version) {
    return ieLevelFromIndex(ieIndexFromVersion(version));
}

}  // namespace

TEST(DetectionRules, VersionTextsSplitIntoFourNumbers) {
    FourPartVersion v = splitVersionText("6.0.2800.1106");
    EXPECT_EQ(v.part[0], 6u);
    EXPECT_EQ(v.part[1], 0u);
    EXPECT_EQ(v.part[2], 2800u);
    EXPECT_EQ(v.part[3], 1106u);
    v = splitVersionText("5.50");
    EXPECT_EQ(v.part[1], 50u);
    EXPECT_EQ(v.part[2], 0u) << "missing parts are 0";
    v = splitVersionText(nullptr);
    EXPECT_EQ(v.part[0], 0u);
}

TEST(DetectionRules, InternetExplorerVersionValuesOfRealReleases) {
    EXPECT_EQ(ieLevelOf("6.0.2600.0000"), 18) << "6.0 (Windows XP)";
    EXPECT_EQ(ieLevelOf("6.0.2800.1106"), 19) << "6.0 SP1";
    EXPECT_EQ(ieLevelOf("6.0.3790.0"), 19) << "6.0 (Server 2003 SP1)";
    EXPECT_EQ(ieLevelOf("6.0.3718.0"), 19) << "between two releases of level 19: not none";
    EXPECT_EQ(ieLevelOf("6.0.2479.6"), 18);
    EXPECT_EQ(ieLevelOf("6.0.2462.0"), 18) << "a beta";
    EXPECT_EQ(ieLevelOf("9.11.9600.18376"), 19) << "later releases rank with the newest";
    EXPECT_EQ(ieLevelOf("7.0.5730.13"), 19);
    // Releases before 6 put their own version first; their builds overlap IE 6's thresholds.
    EXPECT_EQ(ieLevelOf("5.50.4807.2300"), 17) << "5.5 SP2";
    EXPECT_EQ(ieLevelOf("5.50.4522.1800"), 16) << "5.5 SP1";
    EXPECT_EQ(ieLevelOf("5.50.4134.0600"), 15) << "5.5";
    EXPECT_EQ(ieLevelOf("5.00.3502.1000"), 14) << "5.01 SP3";
    EXPECT_EQ(ieLevelOf("5.00.3314.2101"), 13) << "5.01 SP2";
    EXPECT_EQ(ieLevelOf("5.00.3103.1000"), 12) << "5.01 SP1";
    EXPECT_EQ(ieLevelOf("5.00.2919.6307"), 11) << "5.01";
    EXPECT_EQ(ieLevelOf("5.00.2614.3500"), 10) << "5.0 (98 SE)";
    EXPECT_EQ(ieLevelOf("4.72.3612.1713"), 9) << "4.01 SP2";
    EXPECT_EQ(ieLevelOf("4.72.3110.8"), 8) << "4.01 SP1";
    EXPECT_EQ(ieLevelOf("4.72.2106.8"), 7) << "4.01 (Windows 98)";
    EXPECT_EQ(ieLevelOf("4.71.1712.6"), 6) << "4.0";
}

TEST(DetectionRules, OlderInternetExplorerKeys) {
    EXPECT_EQ(ieLevelFromIndex(ieIndexFromBuild(1300)), 5);
    EXPECT_EQ(ieLevelFromIndex(ieIndexFromBuild(1215)), 4);
    EXPECT_EQ(ieLevelFromIndex(ieIndexFromBuild(1158)), 3);
    EXPECT_EQ(ieLevelFromIndex(ieIndexFromBuild(1155)), 3);
    EXPECT_EQ(ieLevelFromIndex(ieIndexFromBuild(1154)), 2);
    EXPECT_EQ(ieLevelFromIndex(ieIndexFromIVer(103)), 2);
    EXPECT_EQ(ieLevelFromIndex(ieIndexFromIVer(101)), 2);
    EXPECT_EQ(ieLevelFromIndex(ieIndexFromIVer(100)), 1);
    EXPECT_EQ(ieLevelFromIndex(0), 0);
    EXPECT_EQ(ieLevelFromIndex(43), 20);
    EXPECT_EQ(ieLevelFromIndex(44), 0);
    EXPECT_EQ(ieLevelFromIndex(-1), 0);
}

TEST(DetectionRules, AccessLevelsNeedAnExactVersion) {
    EXPECT_EQ(accessLevelFromVersion({{8, 0, 0, 3512}}), 1);
    EXPECT_EQ(accessLevelFromVersion({{8, 0, 0, 2719}}), 4) << "2000 has a lower build than 97";
    EXPECT_EQ(accessLevelFromVersion({{8, 0, 0, 4506}}), 6);
    EXPECT_EQ(accessLevelFromVersion({{10, 0, 2627, 1}}), 7);
    EXPECT_EQ(accessLevelFromVersion({{8, 0, 0, 3513}}), 0);
    EXPECT_EQ(accessLevelFromVersion({{11, 0, 5510, 0}}), 0) << "a release not in the table";
}

TEST(DetectionRules, DirectX81IsTheRegistryVersionPrefix) {
    EXPECT_EQ(directX8Version("4.08.01.0881"), kDirectX81);
    EXPECT_EQ(directX8Version("4.08.01"), kDirectX81);
    EXPECT_EQ(directX8Version("4.08.00.0400"), kDirectX8);
    EXPECT_EQ(directX8Version("4.08.0"), kDirectX8) << "shorter than the prefix";
    EXPECT_EQ(directX8Version(nullptr), kDirectX8);
}
