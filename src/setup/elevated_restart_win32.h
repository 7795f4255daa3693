// Administrator rights only when the work needs them: the engine starts with the rights it was
// given, and a machine-wide run that lacks them starts itself again elevated.
#pragma once
#include "environment/install_scope.h"

namespace kelvara {

// What this run does about administrator rights for work that is machine-wide or not
// (environment/install_scope.h, rightsStep, with the run's rights, release and options).
RightsStep rightsStepOfRun(bool machineWide);

// Decides what the run does about administrator rights (environment/install_scope.h,
// rightsStep) for machine-wide work or not. True when the run goes on here. False when it ends:
// `exitCode` is then the elevated run's exit code, which was waited for; 1602 when the person
// declined the system's question; 1603 when the rights are missing under /QUIET, or the elevated
// start failed (the reason shown, unless quiet, and in the run log).
bool rightsSettled(bool machineWide, const char* caption, int& exitCode);

// Starts this program again through the system's elevation with the arguments it was given,
// `options` (such as " /ALLUSERS") and the marker that keeps the elevated run from asking
// again, and waits for it. Its exit code; 1602 when the person declined, 1603 when it could not
// be started (the reason shown, unless quiet, and in the run log).
int restartElevated(const char* caption, const char* options);

}  // namespace kelvara
