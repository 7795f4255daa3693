// The project reader: what a full project turns into, and how bad project files are refused.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/project.h"
#include "kelvara-build/project/project_names.h"
#include "messages.h"

using namespace kelvara::build;

namespace {

const std::filesystem::path kData = KELVARA_TEST_DATA;

Project readFull(const Definitions& definitions, Diagnostics& diagnostics) {
    return readProject(kData / "full" / "project.toml", definitions, diagnostics);
}

// Parses text as if it were data/full/project.toml (so relative paths resolve there).
Diagnostics parseText(const std::string& text, Project* project = nullptr) {
    Diagnostics diagnostics("project.toml");
    Project parsed = parseProject(text, kData / "full" / "project.toml", {}, diagnostics);
    if (project) *project = parsed;
    return diagnostics;
}

const std::string kProduct = "[product]\nname = \"P\"\n";

}  // namespace

TEST(ProjectReader, FullProjectBecomesTheEngineValues) {
    Diagnostics diagnostics("project.toml");
    Project p = readFull({}, diagnostics);
    ASSERT_FALSE(diagnostics.failed()) << joined(diagnostics.errors());

    EXPECT_EQ(p.name, "Full Product");
    EXPECT_EQ(p.shortName, "FullProd");
    EXPECT_FALSE(p.makerLink);
    EXPECT_TRUE(p.compactLayout);
    EXPECT_TRUE(p.fullColorWelcome);
    // "#RRGGBB" becomes a colour value with red in the low byte.
    EXPECT_EQ(p.pageColor, 0x000080FFu);
    EXPECT_EQ(p.frameColor, 0x02000000u);
    EXPECT_EQ(p.headerColor, 0x01000000u);
    EXPECT_EQ(p.accentColor, 0x00C88C00u);
    EXPECT_EQ(p.normalFont.face, "Arial");
    EXPECT_EQ(p.normalFont.rgb, 0x102030u);
    EXPECT_EQ(p.titleFont.face, "");
    EXPECT_EQ(p.titleFont.rgb, 0xFF0000u);

    ASSERT_TRUE(p.background);
    EXPECT_EQ(p.background->topRgb, 0x000080u);
    EXPECT_TRUE(p.background->captioned);
    ASSERT_EQ(p.background->lines.size(), 1u);
    EXPECT_EQ(p.background->lines[0].fields,
              "\"Full Product, edition 2\",right,bottom,10,20,Times New Roman,24,0,7,1,0,"
              "0xFFFFFF,2,0x101010");

    const std::uint8_t pages[12] = {1, 1, 1, 0, 0, 0, 1, 0, 0, 1, 1, 1};
    EXPECT_TRUE(std::equal(std::begin(pages), std::end(pages), std::begin(p.pages)));
    ASSERT_TRUE(p.licenseText);
    // The UTF-8 apostrophe becomes its Windows-1252 byte.
    EXPECT_EQ(*p.licenseText, "Terms: use it well.\nDon\x92t resell.\n");

    EXPECT_EQ(p.languages, (std::vector<std::uint16_t>{9, 7}));
    EXPECT_FALSE(p.autoSelectLanguage);
    ASSERT_EQ(p.texts.size(), 3u);
    EXPECT_EQ(p.texts[1].language, 7);
    EXPECT_EQ(p.texts[1].table, 0x80);
    EXPECT_EQ(p.texts[1].item, 1);
    EXPECT_EQ(p.texts[2].table, 1);  // the welcome page's slot

    // Variables keep the order they are written in, which expansion depends on; defaults for
    // the engine's own names follow.
    std::vector<std::string> names;
    for (const Variable& v : p.variables) names.push_back(v.name);
    EXPECT_EQ(names, (std::vector<std::string>{"%Zeta%", "%Alpha%", "%InstallPath%",
                                               "%ShortcutsGroup%", "%UninstallerFileName%",
                                               "%ProductName%", "%ProductShortName%"}));
    EXPECT_EQ(p.variables[1].value, "<ProgramFiles>\\%Zeta%");

    ASSERT_EQ(p.fileGroups.size(), 1u);
    const FileGroup& g = p.fileGroups[0];
    EXPECT_EQ(g.sourceDir, kData / "full" / "payload");
    EXPECT_EQ(g.include, std::vector<std::string>{"**"});
    EXPECT_EQ(g.exclude, std::vector<std::string>{"**/*.bak"});
    EXPECT_EQ(g.overwrite, "newer-or-same");
    EXPECT_EQ(g.decide, "date");
    EXPECT_TRUE(g.shared);

    std::vector<std::pair<int, std::string>> entries;
    for (const FieldRecord& e : p.entries) entries.emplace_back(e.type, e.fields);
    const std::vector<std::pair<int, std::string>> expected = {
        {10,
         "<Desktop>\\Full.lnk,%InstallPath%\\full.exe,/go,%InstallPath%,"
         "%InstallPath%\\full.exe,1,3,1601,1"},
        {11, "2,Software\\Full,Path,2,%InstallPath%"},
        {11, "1,Software\\Full,Count,4,4294967295"},
        {11, "1,Software\\Full,Blob,3,01abFF"},
        {11, "1,Software\\Full,List,7,a|b c"},
        {12, "full.ini,Main,Path,%InstallPath%,1"},
        {15,
         ".full,Full.Document,application/x-full,Full document,A full document,"
         "%InstallPath%\\full.exe %1,%InstallPath%\\full.exe,2"},
        {13, "%InstallPath%\\setup-helper.exe,/quiet,%InstallPath%,10,0,1,1"},
        {13, "open,http://example.com/welcome,,12,1,1,0"},
        {13, "%InstallPath%\\cleanup.exe,,,-1,1,1,0"},
        {14, "%InstallPath%\\full.dll,DllRegisterServer,,,11,1"},
        {14, "%InstallPath%\\full.dll,Configure,one,two,0,0"},
    };
    EXPECT_EQ(entries, expected);

    EXPECT_TRUE(p.allowGroupChoice);
    EXPECT_TRUE(p.allowDesktopChoice);
    EXPECT_FALSE(p.allowQuickLaunchChoice);
    EXPECT_TRUE(p.restart);
    EXPECT_EQ(p.previousLocation, "HKLM,Software\\Full,Path");
    EXPECT_EQ(p.finishRun, "%InstallPath%\\full.exe");
    // Keywords are written in the engine's spelling whatever case the project used.
    EXPECT_EQ(p.requirements.windows, "NT4");
    EXPECT_EQ(p.requirements.ie, "5.5SP2");
    EXPECT_EQ(p.requirements.access, "2000SR1");
    EXPECT_TRUE(p.requirements.administrator);
}

TEST(ProjectReader, DefinitionsReplaceOrAppendVariables) {
    Diagnostics diagnostics("project.toml");
    Project p = readFull({{"zeta", "changed"}, {"%New%", "added"}}, diagnostics);
    ASSERT_FALSE(diagnostics.failed()) << joined(diagnostics.errors());
    EXPECT_EQ(p.variables[0].name, "%Zeta%");  // matched ignoring case, name kept
    EXPECT_EQ(p.variables[0].value, "changed");
    auto added = std::find_if(p.variables.begin(), p.variables.end(),
                              [](const Variable& v) { return v.name == "%New%"; });
    ASSERT_NE(added, p.variables.end());
    EXPECT_EQ(added->value, "added");

    Diagnostics bad("project.toml");
    readFull({{"a,b", "x"}, {"line", "one\ntwo"}}, bad);
    EXPECT_EQ(bad.errors().size(), 2u) << joined(bad.errors());
}

TEST(ProjectReader, MinimalProjectGetsDefaults) {
    Project p;
    Diagnostics diagnostics = parseText(kProduct, &p);
    ASSERT_FALSE(diagnostics.failed()) << joined(diagnostics.errors());
    EXPECT_EQ(p.shortName, "P");
    const std::uint8_t pages[12] = {0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 1, 1};
    EXPECT_TRUE(std::equal(std::begin(pages), std::end(pages), std::begin(p.pages)));
    EXPECT_EQ(p.languages, std::vector<std::uint16_t>{9});
    ASSERT_FALSE(p.variables.empty());
    EXPECT_EQ(p.variables[0].name, "%InstallPath%");
    EXPECT_EQ(p.variables[0].value, "<ProgramFiles>\\P");
    EXPECT_TRUE(p.uninstaller);
    EXPECT_TRUE(p.entries.empty());
    EXPECT_FALSE(p.requirements.any());
}

// Windows 7 and later by release name or by version, kept as written for the engine.
TEST(ProjectReader, WindowsFromSevenOnByNameOrVersion) {
    for (const char* demand : {"11", "8.1", "10.0.17763", "6.1"}) {
        Project p;
        Diagnostics diagnostics =
            parseText(kProduct + "[requirements]\nwindows = \"" + demand + "\"\n", &p);
        ASSERT_FALSE(diagnostics.failed()) << demand << ": " << joined(diagnostics.errors());
        EXPECT_EQ(p.requirements.windows, demand);
    }
}

// A 64-bit product: its architecture and its records' views as the engine reads them, and a
// warning where it names a 32-bit place; the same texts in an x86 product are its own business.
TEST(ProjectReader, SixtyFourBitProductsAndTheirThirtyTwoBitPlaces) {
    const std::string body =
        "[variables]\nInstallPath = \"C:\\\\Program Files (x86)\\\\P\"\n"
        "[[registry]]\nroot = \"HKLM\"\nkey = \"Software\\\\P\"\nname = \"A\"\nvalue = \"1\"\n"
        "view = \"32\"\n"
        "[[registry]]\nroot = \"HKLM\"\nkey = \"Software\\\\WOW6432Node\\\\P\"\n";
    Project p;
    Diagnostics d = parseText("[product]\nname = \"P\"\narchitecture = \"X64\"\n" + body, &p);
    ASSERT_FALSE(d.failed()) << joined(d.errors());
    EXPECT_EQ(p.architecture, 1);
    ASSERT_EQ(p.entries.size(), 2u);
    EXPECT_EQ(p.entries[0].fields, "2,Software\\P,A,1,1,32") << "the view after the data";
    EXPECT_EQ(p.entries[1].fields, "2,Software\\WOW6432Node\\P,,1") << "no view: the product's";
    const std::string warnings = joined(d.warnings());
    EXPECT_NE(warnings.find("project.toml:5: this 64-bit product names the 32-bit place "
                            "'Program Files (x86)'"),
              std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("project.toml:12: this 64-bit product names the 32-bit place "
                            "'WOW6432Node'"),
              std::string::npos)
        << warnings;
    Project arm;
    parseText("[product]\nname = \"P\"\narchitecture = \"arm64\"\n", &arm);
    EXPECT_EQ(arm.architecture, 2);
    Project x86;
    Diagnostics plain = parseText(kProduct + body, &x86);
    EXPECT_EQ(x86.architecture, 0);
    EXPECT_TRUE(plain.warnings().empty()) << joined(plain.warnings());
}

// For whom a product installs, and what a product for the current user alone may not do: each
// place it cannot write is refused with its line.
TEST(ProjectReader, ScopesAndWhatAUserProductCannotWrite) {
    Project choose;
    Diagnostics ok = parseText(
        "[product]\nname = \"P\"\nscope = \"Choose\"\ndefault-scope = \"user\"\n"
        "[[registry]]\nroot = \"HKA\"\nkey = \"Software\\\\P\"\n",
        &choose);
    ASSERT_FALSE(ok.failed()) << joined(ok.errors());
    EXPECT_EQ(choose.scope, 2);
    EXPECT_EQ(choose.defaultScope, 1);
    EXPECT_EQ(choose.entries.at(0).fields, "7,Software\\P,,1") << "HKA is root 7";

    Diagnostics refused = parseText(
        "[product]\nname = \"P\"\nscope = \"user\"\n"
        "[[files]]\nsource = \"payload\"\ntarget = \"<System>\\\\P\"\n"
        "[[registry]]\nroot = \"HKLM\"\nkey = \"Software\\\\P\"\n"
        "[[registry]]\nroot = \"HKCU\"\nkey = \"Software\\\\P\"\n"
        "[[shortcuts]]\npath = \"<Windows>\\\\P.lnk\"\ntarget = \"t\"\n"
        "[requirements]\nadministrator = true\n");
    const std::string errors = joined(refused.errors());
    for (const char* wanted :
         {"project.toml:4: a product installed for the current user alone (scope = \"user\") "
          "cannot install files into <System>",
          "project.toml:7: a product installed for the current user alone (scope = \"user\") "
          "cannot write HKLM; HKA is HKCU for it",
          "project.toml:13: a product installed for the current user alone (scope = \"user\") "
          "cannot write into <Windows>",
          "project.toml: a product installed for the current user alone (scope = \"user\") "
          "cannot require administrator rights"}) {
        EXPECT_NE(errors.find(wanted), std::string::npos) << wanted << "\nin:\n" << errors;
    }
    EXPECT_EQ(refused.errors().size(), 4u) << errors << "HKCU is the user's own";

    for (const char* bad : {"scope = \"everyone\"\n", "default-scope = \"user\"\n",
                            "scope = \"choose\"\ndefault-scope = \"choose\"\n"}) {
        Diagnostics d = parseText(std::string("[product]\nname = \"P\"\n") + bad);
        EXPECT_EQ(d.errors().size(), 1u) << bad << joined(d.errors());
    }
}

// Each bad project gives one error naming its line.
TEST(ProjectReader, BadValuesAreRefusedWithTheirLine) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {kProduct + "[[files]]\nsource = \"payload\"\noverwite = \"newer\"\n",
         "project.toml:5: unknown key 'overwite' in [[files]]"},
        {kProduct + "[[files]]\nsource = \"payload\"\noverwrite = \"newest\"\n",
         "project.toml:5: unknown overwrite mode 'newest'"},
        {kProduct + "[[files]]\nsource = \"missing\"\n", "project.toml:4: source folder"},
        {kProduct + "[look]\npage-colour = \"#12345\"\n",
         "project.toml:4: 'page-colour' in [look]: '#12345' is not a colour"},
        {kProduct + "[look]\nfont = { face = \"A very long font face name that is too long\" }\n",
         "project.toml:4: font face 'A very long font face name that is too long' is longer"},
        {kProduct + "[[registry]]\nroot = \"HKLM\"\nkey = \"K\"\nvalue = \"a,b\"\n",
         "project.toml:6: registry 'value' may not contain a comma"},
        {kProduct + "[[registry]]\nroot = \"HKXX\"\nkey = \"K\"\n",
         "project.toml:4: unknown root 'HKXX'"},
        {kProduct +
             "[[registry]]\nroot = \"HKLM\"\nkey = \"K\"\ntype = \"dword\"\nvalue = -3000000000\n",
         "project.toml:7: a dword 'value' is a whole number"},
        {kProduct +
             "[[registry]]\nroot = \"HKLM\"\nkey = \"K\"\ntype = \"binary\"\nvalue = \"0g\"\n",
         "project.toml:7: binary 'value' '0g' is not hexadecimal"},
        {kProduct + "[[registry]]\nroot = \"HKLM\"\nkey = \"K\"\ntype = \"multi-string\"\nvalue = "
                    "[\"a|b\"]\n",
         "project.toml:7: a multi-string item may not contain '|'"},
        {kProduct + "[[shortcuts]]\npath = \"a\\nb\"\ntarget = \"t\"\n",
         "project.toml:4: 'path' in [[shortcuts]] may not contain a line break"},
        {kProduct + "[[shortcuts]]\ntarget = \"t\"\n",
         "project.toml:3: [[shortcuts]] needs 'path'"},
        {kProduct + "[[associations]]\nextension = \"txt\"\ntype = \"T\"\n",
         "project.toml:4: 'extension' starts with its dot"},
        {kProduct + "[[run]]\nprogram = \"p\"\nopen = \"u\"\n",
         "project.toml:3: [[run]] needs either 'program' or 'open'"},
        {kProduct + "[[run]]\nprogram = \"p\"\nwhen = \"after-page:nowhere\"\n",
         "project.toml:5: unknown 'when' 'after-page:nowhere'"},
        {kProduct + "[[run]]\nprogram = \"p\"\nwhen = 13\n",
         "project.toml:5: 'when' as a number is an action group from -1 to 12"},
        {kProduct +
             "[[dll-call]]\ndll = \"d\"\nfunction = \"f\"\narguments = [\"a\", \"b\", \"c\"]\n",
         "project.toml:6: a DLL function takes at most two arguments"},
        {kProduct + "[[texts]]\ntable = \"buttons\"\nitem = 256\ntext = \"x\"\n",
         "project.toml:5: 'item' in [[texts]] must lie between 0 and 255"},
        {kProduct + "[[texts]]\ntable = \"nowhere\"\nitem = 1\ntext = \"x\"\n",
         "project.toml:4: unknown text table 'nowhere'"},
        {kProduct +
             "[[texts]]\nlanguage = \"klingon\"\ntable = \"buttons\"\nitem = 1\ntext = \"x\"\n",
         "project.toml:4: unknown language 'klingon'"},
        {kProduct + "[pages]\nshow = [\"welcome\", \"summary\"]\n",
         "project.toml:4: unknown page 'summary'"},
        {kProduct + "[pages]\nshow = [\"licence\"]\n",
         "project.toml:4: the licence page is shown but [pages] names no 'licence' file"},
        // An empty name is the project's own folder, which opens as a stream and fails to read.
        {kProduct + "[pages]\nshow = [\"readme\"]\nreadme = \"\"\n",
         "project.toml:5: cannot read readme file '"},
        {kProduct + "[requirements]\nwindows = \"vista\"\n",
         "project.toml:4: unknown windows requirement 'vista'"},
        {kProduct + "[requirements]\nwindows = \"10.0.x\"\n",
         "project.toml:4: unknown windows requirement '10.0.x'; known: NT, 95OSR2, NT4, 98, 98SE, "
         "ME, 2000, XP, 2003, 7, 8, 8.1, 10, 11 or a version such as 10.0.17763"},
        {kProduct + "[product.extra]\n", "project.toml:3: unknown key 'extra' in [product]"},
        {kProduct + "architecture = \"amd64\"\n",
         "project.toml:3: unknown architecture 'amd64'; use x86, x64 or arm64"},
        {kProduct + "[[registry]]\nroot = \"HKLM\"\nkey = \"K\"\nview = \"96\"\n",
         "project.toml:6: 'view' in [[registry]] must be \"32\" or \"64\""},
        {kProduct + "[variables]\n\"A B\" = \"x\"\n", "project.toml:4: variable name 'A B'"},
        {kProduct + "[look]\nlayout = \"tiny\"\n", "project.toml:4: unknown layout 'tiny'"},
        {kProduct + "[look]\nfont = { face = \"Ta\\u4E2Dhoma\" }\n",
         "project.toml:4: 'face' in [look.font] holds a character that Windows-1252 cannot"},
        {"[product]\nname = \"P\"\nname = \"Q\"\n", "project.toml:3:"},  // TOML syntax
        // Outside strings and comments TOML has no place for it, and the TOML library's test
        // of such a character there is undefined behaviour.
        {kProduct + "# caf\xC3\xA9\nx = '''\xC3\xA9\n'''\ny = \"\xC3\xA9\"\nn\xC3\xA4me = 1\n",
         "project.toml:7: a character outside ASCII may stand only in a string or a comment"},
        // A malformed value before a quoted character outside ASCII: the TOML library reads on
        // to the end of the token and must not meet the character itself.
        {kProduct + "x = 00@'\xC6\xAD'\n", "project.toml:3:"},
        {kProduct + "x = tru\"\xC3\xA9\"\n", "project.toml:3:"},
        {kProduct + "x = \"caf\xC3\"\n", "project.toml:3: the text is not valid UTF-8"},
        {kProduct + "x = \"\\\xC3\xA9\"\n",
         "project.toml:3: a backslash in a string must begin a TOML escape"},
        {"[look]\n", "project.toml:1: the project needs a [product] table"},
        {kProduct + "[look]\naccent-colour = \"window\"\n",
         "project.toml:4: 'accent-colour' in [look] takes \"#RRGGBB\""},
        // The uninstaller would be written over the installation folder itself.
        {kProduct + "[variables]\nUninstallerFileName = \" \"\n",
         "project.toml:4: %UninstallerFileName% may not be empty"},
    };
    for (const Case& c : cases) {
        Diagnostics diagnostics = parseText(c.text);
        ASSERT_EQ(diagnostics.errors().size(), 1u)
            << c.text << "\n-> " << joined(diagnostics.errors());
        EXPECT_EQ(diagnostics.errors()[0].rfind(c.message, 0), 0u)
            << c.text << "\n-> " << diagnostics.errors()[0] << "\nwanted: " << c.message;
    }
}

TEST(ProjectReader, WarningsForWhatTheEngineWouldIgnore) {
    Diagnostics d = parseText(kProduct +
                              "[languages]\noffer = [\"english\", \"german\"]\n"
                              "[look.background]\ntop = \"#000000\"\nbottom = \"#FFFFFF\"\n"
                              "[[look.background.lines]]\ntext = \"a\"\n"
                              "[[look.background.lines]]\ntext = \"b\"\n"
                              "[[look.background.lines]]\ntext = \"c\"\n"
                              // A translation that lost the error text; two that keep theirs.
                              "[[texts]]\ntable = \"error-messages\"\nitem = 15\n"
                              "text = \"Nicht geschrieben: %s\"\n"
                              "[[texts]]\ntable = \"error-messages\"\nitem = 21\n"
                              "text = \"Ordner %s: %s (100%% sicher)\"\n"
                              "[[texts]]\ntable = \"setup-messages\"\nitem = 6\n"
                              "text = \"%s ist in Gebrauch\"\n");
    EXPECT_FALSE(d.failed()) << joined(d.errors());
    std::string warnings = joined(d.warnings());
    EXPECT_NE(warnings.find("only the first two background lines are drawn"), std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("the language page is not shown"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("error-messages item 15 is shown with 2 %s, and this text has 1"),
              std::string::npos)
        << warnings;
    EXPECT_EQ(warnings.find("item 21"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("item 6 "), std::string::npos) << warnings;
}

// Strings outside ASCII in every TOML form keep their value, lines keep their numbers.
TEST(ProjectReader, StringsOfEveryFormCarryCharactersOutsideAscii) {
    const std::string strings =
        "[product]\nname = 'Caf\xC3\xA9 \"quoted\"'\n"
        "[variables]\n"
        "Basic = \"\xC5\x93uvre\\t\\\"\"\n"
        "Literal = 'C:\\caf\xC3\xA9\\'\n"
        "Lines = '''\nl\xC3\xA4ngs \\n\"\"\"'''''\n"
        "Escaped = \"\"\"\xE2\x82\xAC \\\n   x\"\"\"\"\n";
    Project p;
    Diagnostics d = parseText(strings, &p);
    ASSERT_FALSE(d.failed()) << joined(d.errors());
    EXPECT_EQ(p.name, "Caf\xE9 \"quoted\"");
    std::map<std::string, std::string> values;
    for (const Variable& v : p.variables) values[v.name] = v.value;
    EXPECT_EQ(values["%Basic%"], "\x9Cuvre\t\"");
    EXPECT_EQ(values["%Literal%"], "C:\\caf\xE9\\");
    EXPECT_EQ(values["%Lines%"], "l\xE4ngs \\n\"\"\"''");
    EXPECT_EQ(values["%Escaped%"], "\x80 x\"");

    // Behind a byte order mark, a comment and the strings, an error keeps its line number.
    d = parseText("\xEF\xBB\xBF# caf\xC3\xA9 \xE2\x82\xAC\n" + strings +
                  "Far = \"\xF0\x9F\x98\x80\"\nWrong = 1.2.3\n");
    ASSERT_EQ(d.errors().size(), 1u) << joined(d.errors());
    EXPECT_EQ(d.errors()[0].rfind("project.toml:12:", 0), 0u) << d.errors()[0];
}

TEST(ProjectReader, TextsBecomeWindows1252) {
    EXPECT_EQ(toAnsi("plain"), "plain");
    EXPECT_EQ(toAnsi("caf\xC3\xA9 \xE2\x82\xAC \xC5\x93"), "caf\xE9 \x80 \x9C");
    EXPECT_EQ(toAnsi("\xE4\xB8\xAD"), std::nullopt);  // no place in the code page
    EXPECT_EQ(toAnsi(std::string("a\0b", 3)), std::nullopt);
    EXPECT_EQ(toAnsi("\xC3"), std::nullopt);  // cut short
    EXPECT_EQ(toAnsi("\xC3(x"), std::nullopt);
    EXPECT_EQ(languageNumber("German"), 7);
    EXPECT_EQ(languageNumber("10"), 10);
    EXPECT_EQ(languageNumber("98"), -1);
    EXPECT_EQ(languageNumber("martian"), -1);
}
