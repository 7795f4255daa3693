// The product's names and details take the project's variables, from [variables] and -D, as a
// release pipeline gives them; what reaches the engine is the expanded text, with the downgrade
// switch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/setup_state.h"
#include "fresh_records.h"
#include "kelvara-build/image/script_builder.h"
#include "kelvara-build/project/project.h"
#include "setup/script_records.h"
#include "messages.h"

using namespace kelvara;
using namespace kelvara::build;

namespace {

const std::filesystem::path kData = KELVARA_TEST_DATA;

TEST(ProductVariables, ExpandFromTheProjectAndTheCommandLineAndReachTheEngine) {
    const std::string text =
        "[product]\n"
        "name = \"%Brand% Tool\"\n"                   // line 2
        "short-name = \"%Brand%Tool\"\n"              // line 3
        "version = \"%AppVersion%\"\n"                // line 4
        "publisher = \"%Vendor%, 100% %Unknown%\"\n"  // line 5: a lone percent sign stays
        "url = \"https://example.com/%Path%\"\n"      // line 6
        "allow-downgrade = true\n"
        "[variables]\n"
        "Brand = \"Acme\"\n"
        "Vendor = \"%Brand% Software\"\n"  // variables in variables
        "Path = \"tool\"\n";
    Diagnostics d("project.toml");
    Project p = parseProject(text, kData / "full" / "project.toml",
                             {{"AppVersion", "2.1.1"}, {"Brand", "Apex"}}, d);
    ASSERT_FALSE(d.failed()) << joined(d.errors());
    EXPECT_EQ(p.name, "Apex Tool") << "-D wins over [variables]";
    EXPECT_EQ(p.shortName, "ApexTool");
    EXPECT_EQ(p.version, "2.1.1");
    EXPECT_EQ(p.publisher, "Apex Software, 100% %Unknown%");
    EXPECT_EQ(p.aboutUrl, "https://example.com/tool");
    EXPECT_EQ(joined(d.warnings()),
              "project.toml:5: 'publisher' in [product] uses the variable %Unknown%, which is "
              "never defined: define it in [variables] or with -D Unknown=VALUE\n");

    // The engine reads what the builder expanded, and the switch.
    std::vector<unsigned char> script = buildScript(p, d);
    ASSERT_TRUE(freshScriptRecords());
    RecordPlatform platform = {[](const char*) { return true; },
                               [](int, const char*, const char*) -> char* { return nullptr; },
                               [] { return 9; }};
    ASSERT_TRUE(applyScript(script.data(), script.size(), platform));
    EXPECT_STREQ(setupState.productVersion.get(), "2.1.1");
    EXPECT_STREQ(setupState.productName.get(), "Apex Tool");
    EXPECT_TRUE(setupState.allowDowngrade);

    // Without the switch a downgrade is refused; a switch without a version has nothing to
    // compare; a variable that names itself is an error, not a hang.
    Diagnostics plain("project.toml");
    Project q = parseProject("[product]\nname = \"T\"\nversion = \"1.0\"\n",
                             kData / "full" / "project.toml", {}, plain);
    script = buildScript(q, plain);
    ASSERT_TRUE(freshScriptRecords());
    ASSERT_TRUE(applyScript(script.data(), script.size(), platform));
    EXPECT_FALSE(setupState.allowDowngrade);
    Diagnostics bad("project.toml");
    parseProject("[product]\nname = \"T\"\nallow-downgrade = true\n",
                 kData / "full" / "project.toml", {}, bad);
    ASSERT_FALSE(bad.errors().empty());
    EXPECT_EQ(bad.errors()[0], "project.toml:3: 'allow-downgrade' needs a 'version' to compare");
    Diagnostics cycle("project.toml");
    parseProject(
        "[product]\nname = \"T\"\nversion = \"%A%\"\n[variables]\nA = \"%B%\"\n"
        "B = \"x%A%\"\n",
        kData / "full" / "project.toml", {}, cycle);
    EXPECT_EQ(joined(cycle.errors()),
              "project.toml:3: 'version' in [product]: its variables name themselves without "
              "end\n");
}

}  // namespace

namespace {

// A name between percent signs that nothing defines stays in the installed text as written: the
// builder says where, once per name, and leaves Windows' own names and registry data alone.
TEST(ProductVariables, NamesNeverDefinedAreWarnedOfWhereTheyStand) {
    const std::string text =
        "[product]\nname = \"T\"\n"
        "[variables]\nData = \"%InstallPath%\\\\%Sub%\"\n"                          // line 4
        "[[files]]\nsource = \"payload\"\ntarget = \"%installpath%\\\\%Sub%\"\n"    // line 5
        "[[shortcuts]]\npath = \"<Programs>\\\\T.lnk\"\ntarget = \"%Tool%.exe\"\n"  // line 8
        "[[run]]\nprogram = \"cmd.exe\"\narguments = \"/c del %TEMP%\\\\x 100%\"\n"
        "[[registry]]\nroot = \"HKLM\"\nkey = \"Software\\\\T\"\nname = \"P\"\n"
        "type = \"expand-string\"\nvalue = \"%SystemRoot%\\\\%Unset%\"\n"
        "[[texts]]\ntable = \"welcome\"\nitem = 2\ntext = \"%ProductName% for %Audience%\"\n"
        "[[texts]]\ntable = \"setup-messages\"\nitem = 7\ntext = \"%s in use %x%\"\n";
    Diagnostics d("project.toml");
    parseProject(text, kData / "full" / "project.toml", {}, d);
    ASSERT_FALSE(d.failed()) << joined(d.errors());
    std::string warnings = joined(d.warnings());
    auto told = [&](const std::string& name, int line) {
        return warnings.find("project.toml:" + std::to_string(line) + ": the variable " + name +
                             " is never defined") != std::string::npos;
    };
    EXPECT_TRUE(told("%Sub%", 4)) << warnings;
    EXPECT_TRUE(told("%Tool%", 8)) << warnings;
    EXPECT_NE(warnings.find("the variable %Audience% is never defined"), std::string::npos)
        << warnings;
    for (const char* quiet : {"%installpath%", "%TEMP%", "%Unset%", "%SystemRoot%", "%x%"})
        EXPECT_EQ(warnings.find(quiet), std::string::npos) << quiet << " in\n" << warnings;
    EXPECT_EQ(warnings.find("%Sub%", warnings.find("%Sub%") + 1), std::string::npos)
        << "once per name:\n"
        << warnings;
}

}  // namespace
