#include <gtest/gtest.h>

#include "setup/exit_codes.h"

using namespace kelvara;

TEST(ExitCodes, EachOutcomeHasTheCodeDeploymentToolsExpect) {
    InstallOutcome notInstalled;
    EXPECT_EQ(installerExitCode(notInstalled), 1603);
    InstallOutcome cancelled;
    cancelled.cancelled = true;
    EXPECT_EQ(installerExitCode(cancelled), 1602);

    InstallOutcome installed;
    installed.installed = true;
    EXPECT_EQ(installerExitCode(installed), 0);

    InstallOutcome withErrors = installed;
    withErrors.succeeded = false;
    EXPECT_EQ(installerExitCode(withErrors), 1);

    InstallOutcome restartPending = installed;
    restartPending.restartRequired = true;
    EXPECT_EQ(installerExitCode(restartPending), 3010);

    InstallOutcome restarting = restartPending;
    restarting.restartStarted = true;
    EXPECT_EQ(installerExitCode(restarting), 1641);

    // Errors are not hidden behind a pending restart; a started restart ends the process anyway.
    InstallOutcome errorsAndRestart = restartPending;
    errorsAndRestart.succeeded = false;
    EXPECT_EQ(installerExitCode(errorsAndRestart), 1);
    errorsAndRestart.restartStarted = true;
    EXPECT_EQ(installerExitCode(errorsAndRestart), 1641);

    // A run that did not pass its finishing point installed nothing, whatever else it set.
    InstallOutcome rolledBack = withErrors;
    rolledBack.installed = false;
    rolledBack.restartRequired = true;
    EXPECT_EQ(installerExitCode(rolledBack), 1603);

    // A wizard without an installing page did what it was asked; cancelled, it was not.
    InstallOutcome nothingAsked;
    nothingAsked.notRequested = true;
    EXPECT_EQ(installerExitCode(nothingAsked), 0);
    nothingAsked.cancelled = true;
    EXPECT_EQ(installerExitCode(nothingAsked), 1602);
}
