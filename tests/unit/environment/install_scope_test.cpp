#include "environment/install_scope.h"

#include <gtest/gtest.h>

#include "formats/script_format.h"
#include "formats/windows_version_demand.h"

using namespace kelvara;

namespace {

ScopeChoice choose(std::uint8_t scope, std::uint8_t choice, const char* options,
                   std::uint8_t earlier, bool service) {
    DeploymentOptions parsed;
    EXPECT_TRUE(readDeploymentOptions(options, parsed));
    return chooseScope(scope, choice, parsed, earlier, service);
}

}  // namespace

// Whose the installation is: the product's scope, then the command line, then the earlier
// installation, then the default choice; a service account never gets a user's installation.
TEST(InstallScope, TheCommandLineThenTheEarlierInstallationThenTheDefaultDecide) {
    constexpr auto M = ScopeChoice::machine;
    constexpr auto U = ScopeChoice::user;
    constexpr auto R = ScopeChoice::refused;
    constexpr std::uint8_t none = kScopeChoose;
    EXPECT_EQ(choose(kScopeMachine, kScopeUser, "setup.exe /CURRENTUSER", none, false), M)
        << "a machine product is never installed for a user";
    EXPECT_EQ(choose(kScopeUser, kScopeMachine, "setup.exe /ALLUSERS", none, false), U);
    EXPECT_EQ(choose(7, kScopeUser, "setup.exe /CURRENTUSER", none, false), M)
        << "a scope this engine does not know installs as engines before it did";
    EXPECT_EQ(choose(kScopeChoose, kScopeUser, "setup.exe", none, false), U);
    EXPECT_EQ(choose(kScopeChoose, kScopeMachine, "setup.exe", none, false), M);
    EXPECT_EQ(choose(kScopeChoose, kScopeMachine, "setup.exe", kScopeUser, false), U)
        << "an upgrade keeps the first choice";
    EXPECT_EQ(choose(kScopeChoose, kScopeUser, "setup.exe /ALLUSERS", kScopeUser, false), M)
        << "the command line outranks the earlier installation";
    EXPECT_EQ(choose(kScopeChoose, kScopeUser, "setup.exe /ALLUSERS /CURRENTUSER", none, false), U);

    EXPECT_EQ(choose(kScopeChoose, kScopeUser, "setup.exe", kScopeUser, true), M)
        << "a service account installs a product that lets one choose for every user";
    EXPECT_EQ(choose(kScopeChoose, kScopeMachine, "setup.exe /CURRENTUSER", none, true), R)
        << "and refuses to install it into its own profile when asked to";
    EXPECT_EQ(choose(kScopeUser, kScopeUser, "setup.exe /ALLUSERS", none, true), R);
    EXPECT_EQ(choose(kScopeMachine, kScopeMachine, "setup.exe", none, true), M);
}

TEST(InstallScope, OnlyMachineWideWorkWithoutRightsAsksForThem) {
    const std::uint32_t vista = packWindowsVersion(6, 0, 6000);
    const std::uint32_t xp = packWindowsVersion(5, 1, 2600);
    EXPECT_EQ(rightsStep(true, false, vista, false, false), RightsStep::restartElevated);
    EXPECT_EQ(rightsStep(true, false, vista, false, true), RightsStep::refuse)
        << "a quiet run never shows the system's question";
    EXPECT_EQ(rightsStep(true, false, vista, true, false), RightsStep::goOn)
        << "the elevated restart never asks again";
    EXPECT_EQ(rightsStep(true, true, vista, false, true), RightsStep::goOn);
    EXPECT_EQ(rightsStep(false, false, vista, false, true), RightsStep::goOn)
        << "a user's installation needs no rights";
    EXPECT_EQ(rightsStep(true, false, xp, false, true), RightsStep::goOn)
        << "before Windows Vista there is no elevation to ask for";
    EXPECT_EQ(rightsStep(true, false, 0, false, false), RightsStep::goOn) << "Windows 9x";
}
