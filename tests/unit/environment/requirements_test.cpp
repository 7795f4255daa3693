#include <gtest/gtest.h>

#include <string>

#include "environment/product_architecture.h"
#include "environment/requirements.h"
#include "environment/run_environment.h"
#include "environment/windows_release.h"
#include "formats/setup_state.h"
#include "formats/windows_version_demand.h"

using namespace kelvara;

namespace {

// The demands point at string literals: the check only reads them.
class Requirements : public ::testing::Test {
  protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset() {
        SetupState& s = setupState;
        for (HeapString* keyword :
             {&s.requiredWindows, &s.requiredDirectX, &s.requiredIe, &s.requiredAccess}) {
            keyword->reset();
        }
        s.adminRequired = false;
        s.architecture = kArchitectureX86;
        RunEnvironment& run = runEnvironment;
        run.systemArchitecture = kArchitectureX86;
        run.windowsVersionCode = 0;
        run.ieLevel = 0;
        run.directXVersion = 0;
        run.accessLevel = 0;
        run.isAdministrator = false;
    }
    static void demandWindows(const char* keyword) {
        copyText(setupState.requiredWindows, keyword);
    }

    // The result on a system with this release and platform.
    static int check(int code, bool nt) {
        runEnvironment.windowsVersionCode = code;
        return checkRequirements(setupState, runEnvironment, nt);
    }
    static std::string missingWindows() {
        return runEnvironment.missingWindowsName ? runEnvironment.missingWindowsName : "<none>";
    }
};

}  // namespace

TEST_F(Requirements, WindowsKeywordsCompareOneScaleAcrossBothFamilies) {
    demandWindows("NT4");
    EXPECT_EQ(check(kWindows98, false), kRequirementsMet) << "98 satisfies NT4";
    EXPECT_EQ(check(kWindows95Osr2, false), kWindowsTooOld);
    EXPECT_EQ(missingWindows(), "Microsoft Windows NT4");
    demandWindows("98");
    EXPECT_EQ(check(kWindowsNt4, true), kWindowsTooOld) << "NT 4.0 fails 98";
    EXPECT_EQ(missingWindows(), "Microsoft Windows 98");
    demandWindows("2003");
    EXPECT_EQ(check(kWindowsXp, true), kWindowsTooOld);
    EXPECT_EQ(missingWindows(), "Microsoft Windows 2003 Server");
    EXPECT_EQ(check(kWindows2003, true), kRequirementsMet);
    EXPECT_EQ(missingWindows(), "<none>") << "names are cleared at every check";
    demandWindows("xp");
    EXPECT_EQ(check(kWindowsNewer, true), kRequirementsMet) << "Vista and later satisfy XP";
    EXPECT_EQ(check(kWindowsUnknown, true), kWindowsTooOld) << "an unknown release is too old";
    EXPECT_EQ(missingWindows(), "Microsoft Windows XP");
    for (const char* nothing : {"", "Vista", "NT5", " XP"}) {
        demandWindows(nothing);
        EXPECT_EQ(check(kWindowsUnknown, false), kRequirementsMet) << '"' << nothing << '"';
    }
}

TEST_F(Requirements, NtPlatformAndAdministratorRights) {
    demandWindows("nt");
    EXPECT_EQ(check(kWindowsMe, false), kNtPlatformMissing);
    EXPECT_EQ(check(kWindowsUnknown, true), kRequirementsMet) << "NT asks for the platform only";
    demandWindows("");
    setupState.adminRequired = true;
    EXPECT_EQ(check(kWindows2000, true), kAdministratorMissing);
    EXPECT_EQ(check(kWindows98, false), kRequirementsMet) << "no administrators on 9x";
    runEnvironment.isAdministrator = true;
    EXPECT_EQ(check(kWindows2000, true), kRequirementsMet);
    // Failing both, the Windows release is reported.
    runEnvironment.isAdministrator = false;
    demandWindows("XP");
    EXPECT_EQ(check(kWindows2000, true), kWindowsTooOld);
}

TEST_F(Requirements, ComponentsInOrderWithTheirNames) {
    SetupState& s = setupState;
    RunEnvironment& run = runEnvironment;
    copyText(s.requiredIe, "5.5sp1");
    copyText(s.requiredDirectX, "5.0");
    copyText(s.requiredAccess, "2000SR1");
    run.ieLevel = 15;
    run.directXVersion = 0x0301;
    run.accessLevel = 4;
    EXPECT_EQ(check(kWindowsXp, true), kIeTooOld);
    EXPECT_STREQ(run.missingIeName, "Internet Explorer 5.5 SP1");
    run.ieLevel = 16;
    EXPECT_EQ(check(kWindowsXp, true), kDirectXTooOld) << "cooperative level failed: 3.0, not 5.0";
    EXPECT_STREQ(run.missingDirectXName, "DirectX 5.0");
    EXPECT_EQ(run.missingIeName, nullptr);
    run.directXVersion = 0x0500;
    EXPECT_EQ(check(kWindowsXp, true), kAccessTooOld);
    EXPECT_STREQ(run.missingAccessName, "Microsoft Access 2000 SR1");
    run.accessLevel = 5;
    EXPECT_EQ(check(kWindowsXp, true), kRequirementsMet);
    EXPECT_EQ(run.requirementResult, kRequirementsMet);
    copyText(s.requiredDirectX, "8.1");
    run.directXVersion = 0x0800;
    EXPECT_EQ(check(kWindowsXp, true), kDirectXTooOld);
    EXPECT_STREQ(run.missingDirectXName, "DirectX 8.1");
    EXPECT_EQ(run.requirementResult, kDirectXTooOld);
}

TEST_F(Requirements, MessagesForEachResult) {
    const char* name = "stale";
    EXPECT_EQ(requirementMessage(runEnvironment, kRequirementsMet, &name), -1);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(requirementMessage(runEnvironment, kAdministratorMissing, &name), 11);
    EXPECT_EQ(requirementMessage(runEnvironment, kNtPlatformMissing, &name), 12);
    EXPECT_EQ(name, nullptr);
    runEnvironment.accessLevel = 0;
    copyText(setupState.requiredAccess, "XP");
    int result = check(kWindowsXp, true);
    EXPECT_EQ(requirementMessage(runEnvironment, result, &name), 13);
    EXPECT_STREQ(name, "Microsoft Access XP");
    EXPECT_EQ(requirementMessage(runEnvironment, kX64SystemMissing, &name), 14);
    EXPECT_EQ(requirementMessage(runEnvironment, kArm64SystemMissing, &name), 15);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(requirementMessage(runEnvironment, 9, &name), -1) << "no such result";
}

// Windows 7 and later by release name or by version, against the system's own version numbers;
// the old keywords keep their scale, and 95/98/Me (no NT version) meet no version demand.
TEST_F(Requirements, ReleaseNamesAndVersionsFromWindows7On) {
    RunEnvironment& run = runEnvironment;
    auto onVersion = [&](unsigned major, unsigned minor, unsigned build, bool nt = true) {
        run.windowsVersion = nt ? packWindowsVersion(major, minor, build) : 0;
        return check(nt ? kWindowsNewer : kWindowsMe, nt);
    };
    demandWindows("10");
    EXPECT_EQ(onVersion(6, 3, 9600), kWindowsTooOld) << "8.1 is not 10";
    EXPECT_EQ(missingWindows(), "Microsoft Windows 10");
    EXPECT_EQ(onVersion(10, 0, 10240), kRequirementsMet);
    demandWindows("11");
    EXPECT_EQ(onVersion(10, 0, 19045), kWindowsTooOld) << "Windows 10's last build";
    EXPECT_EQ(missingWindows(), "Microsoft Windows 11");
    EXPECT_EQ(onVersion(10, 0, 22000), kRequirementsMet);
    demandWindows("8.1");
    EXPECT_EQ(onVersion(6, 2, 9200), kWindowsTooOld);
    EXPECT_EQ(onVersion(6, 3, 9600), kRequirementsMet);
    EXPECT_EQ(onVersion(4, 90, 3000, false), kWindowsTooOld) << "Me has no NT version";
    demandWindows("10.0.17763");
    EXPECT_EQ(onVersion(10, 0, 17134), kWindowsTooOld) << "the build decides";
    EXPECT_EQ(missingWindows(), "Microsoft Windows 10.0.17763");
    EXPECT_EQ(onVersion(10, 0, 17763), kRequirementsMet);
    EXPECT_EQ(onVersion(11, 0, 0), kRequirementsMet) << "a later major version";
    demandWindows("7");
    EXPECT_EQ(onVersion(6, 0, 6002), kWindowsTooOld) << "Vista";
    EXPECT_EQ(onVersion(6, 1, 7601), kRequirementsMet);
    // The old keywords are not read as versions: "XP" still meets on the release scale alone.
    demandWindows("XP");
    EXPECT_EQ(onVersion(5, 1, 2600), kRequirementsMet);
    // Neither a name nor a version: nothing demanded, as for any unknown keyword.
    for (const char* nothing : {"10.", ".1", "10.0.70000", "256.0", "0.5", "10.0.1a", "12", ""}) {
        demandWindows(nothing);
        EXPECT_EQ(windowsVersionDemand(nothing), 0u) << nothing;
        EXPECT_EQ(onVersion(6, 0, 6000), kRequirementsMet) << nothing;
    }
    EXPECT_EQ(windowsVersionDemand("10.0.1."), 0u) << "trailing dot";
    EXPECT_EQ(windowsVersionDemand("255.255.65535"), packWindowsVersion(255, 255, 65535));
    run.windowsVersion = 0;
}

// Which product runs where, checked before any other requirement, and which side it installs
// on: x64 on x64 and on ARM64 from Windows 11 on, arm64 on ARM64 alone, x86 everywhere on the
// 32-bit side.
TEST_F(Requirements, ProductArchitectureAgainstTheSystemsProcessor) {
    RunEnvironment& run = runEnvironment;
    const std::uint32_t windows10 = packWindowsVersion(10, 0, 19045);
    const std::uint32_t windows11 = packWindowsVersion(10, 0, kWindows11Build);
    struct Case {
        std::uint8_t product, system;
        std::uint32_t version;
        int result;
        bool nativeSide;
    } cases[] = {
        {kArchitectureX86, kArchitectureX86, windows10, kRequirementsMet, false},
        {kArchitectureX86, kArchitectureX64, windows10, kRequirementsMet, false},
        {kArchitectureX86, kArchitectureArm64, windows11, kRequirementsMet, false},
        {kArchitectureX64, kArchitectureX86, windows11, kX64SystemMissing, false},
        {kArchitectureX64, kArchitectureX64, packWindowsVersion(5, 2, 3790), kRequirementsMet,
         true},
        {kArchitectureX64, kArchitectureArm64, windows10, kX64SystemMissing, false},
        {kArchitectureX64, kArchitectureArm64, windows11, kRequirementsMet, true},
        {kArchitectureArm64, kArchitectureX64, windows11, kArm64SystemMissing, false},
        {kArchitectureArm64, kArchitectureArm64, windows10, kRequirementsMet, true},
        {kArchitectureArm64, kArchitectureX86, windows10, kArm64SystemMissing, false},
    };
    // An administrator demand that is not met: the architecture is refused before it.
    setupState.adminRequired = true;
    for (const Case& c : cases) {
        setupState.architecture = c.product;
        run.systemArchitecture = c.system;
        run.windowsVersion = c.version;
        const int result = check(kWindowsNewer, true);
        EXPECT_EQ(result, c.result == kRequirementsMet ? kAdministratorMissing : c.result)
            << int(c.product) << " on " << int(c.system);
        EXPECT_EQ(installsOnNativeSide(c.product, c.system, c.version), c.nativeSide)
            << int(c.product) << " on " << int(c.system);
    }
    for (std::uint8_t unknown : {std::uint8_t{3}, kArchitectureUnreadable}) {
        EXPECT_FALSE(architectureKnown(unknown));
        EXPECT_FALSE(architectureRuns(unknown, kArchitectureX64, windows11));
    }
    run.windowsVersion = 0;
}
