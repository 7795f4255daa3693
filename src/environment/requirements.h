// The requirement check: the requirements record's keywords against the system detections.
// Portable: reads the configuration's keywords and the run's detections, stores the outcome in
// the run's environment.
#pragma once

namespace kelvara {

struct SetupState;
struct RunEnvironment;

enum RequirementResult : int {
    kRequirementsMet = 0,
    kAdministratorMissing = 1,
    kNtPlatformMissing = 2,
    kWindowsTooOld = 3,
    kIeTooOld = 4,
    kDirectXTooOld = 5,
    kAccessTooOld = 6,
    kX64SystemMissing = 7,    // an x64 product on a system that cannot run it
    kArm64SystemMissing = 8,  // an arm64 product elsewhere than on ARM64
};

// setupMessages items of the start-up messages for a failed check.
constexpr int kMessageAdministratorNeeded = 11;
constexpr int kMessageNtNeeded = 12;
constexpr int kMessageVersionTooOld = 13;  // a format with one %s: the missing release's name
constexpr int kMessage64BitNeeded = 14;
constexpr int kMessageArm64Needed = 15;

// Clears the four missing names of `run`, runs the checks in order (the product's architecture
// against the system's, NT platform, Windows release, administrator, Internet Explorer, DirectX,
// Access) and stores and returns the first failure's
// result, kRequirementsMet when none fails. ntPlatform: what isNtPlatform says now. The Windows
// demand is a release keyword, or a release name or version of formats/windows_version_demand.h
// compared with run.windowsVersion (its missing name is "Microsoft Windows " and the demand). A
// demand that is none of these (the empty text included) demands nothing.
int checkRequirements(const SetupState& configuration, RunEnvironment& run, bool ntPlatform);

// The message for a result: the setupMessages item (-1 for kRequirementsMet or an unknown
// result) and, for results 3 to 6, the stored missing name (borrowed constant), else null.
int requirementMessage(const RunEnvironment& run, int result, const char** missingName);

}  // namespace kelvara
