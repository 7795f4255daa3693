#include <gtest/gtest.h>

#include <string>

#include "formats/deployment_options.h"
#include "formats/script_format.h"
#include "worker/closing_rules.h"

using namespace kelvara;

namespace {

// The plan as one word per decision, for tables that read like the rules.
std::string planOf(std::uint8_t setting, const char* commandLine) {
    DeploymentOptions options;
    EXPECT_TRUE(readDeploymentOptions(commandLine, options)) << commandLine;
    const ClosingPlan plan = planClosing(setting, options, options.quiet);
    std::string words;
    if (plan.ask) words += "ask ";
    if (plan.close) words += "close ";
    if (plan.force) words += "force ";
    if (plan.restart) words += "restart ";
    return words.empty() ? "leave" : words.substr(0, words.size() - 1);
}

}  // namespace

// The project's setting, the command line (whose last option of each kind wins, in any case),
// and a quiet run, which asks nothing and starts nothing again unless told to.
TEST(ClosingRules, TheCommandLineWinsAndAQuietRunChangesNothingUnasked) {
    constexpr std::uint8_t ask = kCloseApplicationsAsk;
    constexpr std::uint8_t never = kCloseApplicationsNever;
    constexpr std::uint8_t force = kCloseApplicationsForce;
    const struct {
        std::uint8_t setting;
        const char* line;
        const char* plan;
    } cases[] = {
        {ask, "setup.exe", "ask restart"},
        {ask, "setup.exe /S", "ask restart"},
        {ask, "setup.exe /QUIET", "leave"},
        {ask, "setup.exe /QUIET /closeapplications", "close"},
        {ask, "setup.exe /QUIET /CLOSEAPPLICATIONS /RestartApplications", "close restart"},
        {ask, "setup.exe /NORESTARTAPPLICATIONS", "ask"},
        {ask, "setup.exe /FORCECLOSEAPPLICATIONS /NOCLOSEAPPLICATIONS", "leave"},
        {ask, "setup.exe /NOCLOSEAPPLICATIONS /FORCECLOSEAPPLICATIONS", "close force restart"},
        {ask, "setup.exe /QUIET /RESTARTAPPLICATIONS", "leave"},  // nothing closed to restart
        {never, "setup.exe", "leave"},
        {never, "setup.exe /CLOSEAPPLICATIONS", "close restart"},
        {force, "setup.exe /QUIET", "close force"},
        {force, "setup.exe", "close force restart"},
        {force, "setup.exe /CLOSEAPPLICATIONS", "close force restart"},
        {force, "setup.exe /NOCLOSEAPPLICATIONS", "leave"},
        {force, "setup.exe /CLOSEAPPLICATIONS=1", "close force restart"},  // not the option
    };
    for (const auto& c : cases) {
        EXPECT_EQ(planOf(c.setting, c.line), c.plan) << int(c.setting) << " " << c.line;
    }

    // The uninstaller's second stage reads back what its first stage was given.
    DeploymentOptions given;
    ASSERT_TRUE(readDeploymentOptions(
        "setup.exe /QUIET /FORCECLOSEAPPLICATIONS /NORESTARTAPPLICATIONS", given));
    HeapString text(deploymentOptionsText(given));
    ASSERT_TRUE(text);
    EXPECT_STREQ(text.get(), "/QUIET /FORCECLOSEAPPLICATIONS /NORESTARTAPPLICATIONS ");
    DeploymentOptions again;
    ASSERT_TRUE(readDeploymentOptions((std::string("x ") + text.get()).c_str(), again));
    EXPECT_EQ(again.closeApplications, kForceCloseGiven);
    EXPECT_EQ(again.restartApplications, kNoCloseGiven);
    EXPECT_EQ(again.unknownOptions.count(), 0);
}

TEST(ClosingRules, PathSetFindsEveryPathInAnyCaseAndNothingElse) {
    PathSet files;
    EXPECT_FALSE(files.contains("C:\\a")) << "an empty set";
    const char* paths[] = {"C:\\Program Files\\Tool\\tool.exe", "C:\\Program Files\\Tool\\a.dll",
                           "D:\\x", "C:\\Program Files\\Tool\\z.dll", "C:\\b"};
    for (const char* path : paths) ASSERT_TRUE(files.add(path));
    files.seal();
    EXPECT_EQ(files.count(), 5);
    for (const char* path : paths) EXPECT_TRUE(files.contains(path)) << path;
    EXPECT_TRUE(files.contains("c:\\program files\\TOOL\\Tool.EXE"));
    EXPECT_FALSE(files.contains("C:\\Program Files\\Tool"));
    EXPECT_FALSE(files.contains("C:\\Program Files\\Tool\\tool.exe2"));
    EXPECT_FALSE(files.contains(""));
    EXPECT_FALSE(files.contains(nullptr));
}
