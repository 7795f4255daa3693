#include "environment/requirements.h"

#include <cstdint>

#include "environment/product_architecture.h"
#include "environment/run_environment.h"
#include "environment/windows_release.h"
#include "formats/requirement_keywords.h"
#include "formats/setup_state.h"
#include "formats/windows_version_demand.h"
#include "runtime/heap_string.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

struct Keyword {
    const char* keyword;
    unsigned minimum;
    const char* missingName;
};

constexpr const char* kNtKeyword = kWindowsRequirementKeywords[0];
constexpr const char* kWindowsNamePrefix = "Microsoft Windows ";

constexpr Keyword kWindowsKeywords[] = {
    {"95OSR2", kWindows95Osr2, "Microsoft Windows 95 OSR2"},
    {"NT4", kWindowsNt4, "Microsoft Windows NT4"},
    {"98", kWindows98, "Microsoft Windows 98"},
    {"98SE", kWindows98Se, "Microsoft Windows 98 SE"},
    {"ME", kWindowsMe, "Microsoft Windows ME"},
    {"2000", kWindows2000, "Microsoft Windows 2000"},
    {"XP", kWindowsXp, "Microsoft Windows XP"},
    {"2003", kWindows2003, "Microsoft Windows 2003 Server"},
};

constexpr Keyword kIeKeywords[] = {
    {"3.0", 3, "Internet Explorer 3.0"},           {"3.01", 4, "Internet Explorer 3.01"},
    {"3.02", 5, "Internet Explorer 3.02"},         {"4.0", 6, "Internet Explorer 4.0"},
    {"4.01", 7, "Internet Explorer 4.01"},         {"4.01SP1", 8, "Internet Explorer 4.01 SP1"},
    {"4.01SP2", 9, "Internet Explorer 4.01 SP2"},  {"5.0", 10, "Internet Explorer 5.0"},
    {"5.01", 11, "Internet Explorer 5.01"},        {"5.01SP1", 12, "Internet Explorer 5.01 SP1"},
    {"5.01SP2", 13, "Internet Explorer 5.01 SP2"}, {"5.01SP3", 14, "Internet Explorer 5.01 SP3"},
    {"5.5", 15, "Internet Explorer 5.5"},          {"5.5SP1", 16, "Internet Explorer 5.5 SP1"},
    {"5.5SP2", 17, "Internet Explorer 5.5 SP2"},   {"6.0", 18, "Internet Explorer 6.0"},
    {"6.0SP1", 19, "Internet Explorer 6.0 SP1"},
};

constexpr Keyword kDirectXKeywords[] = {
    {"1.0", 0x0100, "DirectX 1.0"}, {"2.0", 0x0200, "DirectX 2.0"}, {"3.0", 0x0300, "DirectX 3.0"},
    {"5.0", 0x0500, "DirectX 5.0"}, {"6.0", 0x0600, "DirectX 6.0"}, {"6.1", 0x0601, "DirectX 6.1"},
    {"7.0", 0x0700, "DirectX 7.0"}, {"8.0", 0x0800, "DirectX 8.0"}, {"8.1", 0x0801, "DirectX 8.1"},
    {"9.0", 0x0900, "DirectX 9.0"},
};

constexpr Keyword kAccessKeywords[] = {
    {"97", 1, "Microsoft Access 97"},
    {"97SR1", 2, "Microsoft Access 97 SR1"},
    {"97SR2", 3, "Microsoft Access 97 SR2"},
    {"2000", 4, "Microsoft Access 2000"},
    {"2000SR1", 5, "Microsoft Access 2000 SR1"},
    {"2000SR2", 6, "Microsoft Access 2000 SR2"},
    {"XP", 7, "Microsoft Access XP"},
};

static_assert(coversKeywords(kWindowsKeywords, kWindowsRequirementKeywords, 1) &&
                  coversKeywords(kIeKeywords, kIeRequirementKeywords) &&
                  coversKeywords(kDirectXKeywords, kDirectXRequirementKeywords) &&
                  coversKeywords(kAccessKeywords, kAccessRequirementKeywords),
              "the check knows every keyword of the requirements record, in its order");

bool sameKeyword(const char* demand, const char* keyword) {
    return demand && compareTextNoCase(demand, keyword) == 0;
}

// The missing name when `demand` is a keyword of the table whose minimum `have` does not reach;
// null when the demand is met or demands nothing.
template <std::size_t N>
const char* unmet(const Keyword (&table)[N], const char* demand, unsigned have) {
    for (const Keyword& row : table) {
        if (sameKeyword(demand, row.keyword)) return have < row.minimum ? row.missingName : nullptr;
    }
    return nullptr;
}

// "Microsoft Windows " and the demand as written; the demand alone when the heap is exhausted.
const char* versionDemandName(RunEnvironment& run, const char* demand) {
    run.missingWindowsText.reset(strConcat5(kWindowsNamePrefix, demand));
    return run.missingWindowsText ? run.missingWindowsText.get() : demand;
}

int fail(RunEnvironment& run, int result) {
    run.requirementResult = result;
    return result;
}

}  // namespace

int checkRequirements(const SetupState& config, RunEnvironment& run, bool ntPlatform) {
    run.missingWindowsName = nullptr;
    run.missingIeName = nullptr;
    run.missingDirectXName = nullptr;
    run.missingAccessName = nullptr;
    if (!architectureRuns(config.architecture, run.systemArchitecture, run.windowsVersion)) {
        return fail(run, config.architecture == kArchitectureArm64 ? kArm64SystemMissing
                                                                   : kX64SystemMissing);
    }
    if (sameKeyword(config.requiredWindows.get(), kNtKeyword) && !ntPlatform) {
        return fail(run, kNtPlatformMissing);
    }
    // Codes are never negative; the comparison is on one scale across both families.
    const auto windows = static_cast<unsigned>(run.windowsVersionCode);
    if ((run.missingWindowsName = unmet(kWindowsKeywords, config.requiredWindows.get(), windows))) {
        return fail(run, kWindowsTooOld);
    }
    const std::uint32_t version = windowsVersionDemand(config.requiredWindows.get());
    if (version != 0 && run.windowsVersion < version) {
        run.missingWindowsName = versionDemandName(run, config.requiredWindows.get());
        return fail(run, kWindowsTooOld);
    }
    // The 95/98/Me family has no administrators to ask about.
    if (config.adminRequired && ntPlatform && !run.isAdministrator) {
        return fail(run, kAdministratorMissing);
    }
    const auto ie = static_cast<unsigned>(run.ieLevel);
    if ((run.missingIeName = unmet(kIeKeywords, config.requiredIe.get(), ie))) {
        return fail(run, kIeTooOld);
    }
    if ((run.missingDirectXName =
             unmet(kDirectXKeywords, config.requiredDirectX.get(), run.directXVersion))) {
        return fail(run, kDirectXTooOld);
    }
    const auto access = static_cast<unsigned>(run.accessLevel);
    if ((run.missingAccessName = unmet(kAccessKeywords, config.requiredAccess.get(), access))) {
        return fail(run, kAccessTooOld);
    }
    return fail(run, kRequirementsMet);
}

int requirementMessage(const RunEnvironment& run, int result, const char** missingName) {
    *missingName = nullptr;
    switch (result) {
        case kAdministratorMissing:
            return kMessageAdministratorNeeded;
        case kNtPlatformMissing:
            return kMessageNtNeeded;
        case kX64SystemMissing:
            return kMessage64BitNeeded;
        case kArm64SystemMissing:
            return kMessageArm64Needed;
        case kWindowsTooOld:
            *missingName = run.missingWindowsName;
            return kMessageVersionTooOld;
        case kIeTooOld:
            *missingName = run.missingIeName;
            return kMessageVersionTooOld;
        case kDirectXTooOld:
            *missingName = run.missingDirectXName;
            return kMessageVersionTooOld;
        case kAccessTooOld:
            *missingName = run.missingAccessName;
            return kMessageVersionTooOld;
        default:
            return -1;
    }
}

}  // namespace kelvara
