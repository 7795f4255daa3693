#include "environment/requirements.h"

#include "environment/windows_release.h"
#include "formats/requirement_keywords.h"
#include "formats/setup_state.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

struct Keyword {
    const char* keyword;
    unsigned minimum;
    const char* missingName;
};

constexpr const char* kNtKeyword = kWindowsRequirementKeywords[0];

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

int fail(SetupState& state, int result) {
    state.requirementResult = result;
    return result;
}

}  // namespace

int checkRequirements(SetupState& s, bool ntPlatform) {
    s.missingWindowsName = nullptr;
    s.missingIeName = nullptr;
    s.missingDirectXName = nullptr;
    s.missingAccessName = nullptr;
    if (sameKeyword(s.requiredWindows.get(), kNtKeyword) && !ntPlatform) {
        return fail(s, kNtPlatformMissing);
    }
    // Codes are never negative; the comparison is on one scale across both families.
    const auto windows = static_cast<unsigned>(s.windowsVersionCode);
    if ((s.missingWindowsName = unmet(kWindowsKeywords, s.requiredWindows.get(), windows))) {
        return fail(s, kWindowsTooOld);
    }
    // The 95/98/Me family has no administrators to ask about.
    if (s.adminRequired && ntPlatform && !s.isAdministrator) return fail(s, kAdministratorMissing);
    const auto ie = static_cast<unsigned>(s.ieLevel);
    if ((s.missingIeName = unmet(kIeKeywords, s.requiredIe.get(), ie))) return fail(s, kIeTooOld);
    if ((s.missingDirectXName =
             unmet(kDirectXKeywords, s.requiredDirectX.get(), s.directXVersion))) {
        return fail(s, kDirectXTooOld);
    }
    const auto access = static_cast<unsigned>(s.accessLevel);
    if ((s.missingAccessName = unmet(kAccessKeywords, s.requiredAccess.get(), access))) {
        return fail(s, kAccessTooOld);
    }
    return fail(s, kRequirementsMet);
}

int requirementMessage(const SetupState& s, int result, const char** missingName) {
    *missingName = nullptr;
    switch (result) {
        case kAdministratorMissing:
            return kMessageAdministratorNeeded;
        case kNtPlatformMissing:
            return kMessageNtNeeded;
        case kWindowsTooOld:
            *missingName = s.missingWindowsName;
            return kMessageVersionTooOld;
        case kIeTooOld:
            *missingName = s.missingIeName;
            return kMessageVersionTooOld;
        case kDirectXTooOld:
            *missingName = s.missingDirectXName;
            return kMessageVersionTooOld;
        case kAccessTooOld:
            *missingName = s.missingAccessName;
            return kMessageVersionTooOld;
        default:
            return -1;
    }
}

}  // namespace kelvara
