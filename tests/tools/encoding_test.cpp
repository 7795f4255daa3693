// Projects with encoding = "utf-8", for the engine's Unicode edition: every text, name and path
// reaches the image as the bytes the project wrote, the licence and readme as rich text whose
// characters outside ASCII are Unicode escapes, and what the engine could not carry is refused
// with its line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/image_layout.h"
#include "formats/package_format.h"
#include "kelvara-build/cli/dump.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/image/image_decoder.h"
#include "kelvara-build/image/image_writer.h"
#include "kelvara-build/project/project.h"
#include "messages.h"

using namespace kelvara;
using namespace kelvara::build;
namespace fs = std::filesystem;

namespace {

// A path from UTF-8, as the file system of any platform names it.
fs::path utf8Path(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A project file in a fresh folder, read and built on a stand-in stub (the edition check is the
// command line's).
class ProjectFolder {
  public:
    explicit ProjectFolder(const std::string& name)
        : dir_(fs::path(::testing::TempDir()) / ("kelvara-encoding-" + name)) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~ProjectFolder() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void write(const std::string& relative, const std::string& bytes) {
        writeFile(dir_ / utf8Path(relative), bytes);
    }

    struct Result {
        Diagnostics diagnostics{"project.toml"};
        Project project;
        std::vector<unsigned char> image;
    };
    Result build(const std::string& toml, const Definitions& definitions = {}) {
        write("project.toml", toml);
        Result result;
        result.project = readProject(dir_ / "project.toml", definitions, result.diagnostics);
        if (result.diagnostics.failed()) return result;
        std::vector<unsigned char> stub(4096, 0);
        stub[0] = 'M';
        stub[1] = 'Z';
        PackageOptions options;
        options.threads = 1;
        options.sourceDateEpoch = 1700000000;
        result.image = buildImage(result.project, stub, options, result.diagnostics);
        return result;
    }
    const fs::path& dir() const { return dir_; }

  private:
    fs::path dir_;
};

bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines) {
        if (line.rfind(start, 0) == 0) return true;
    }
    return false;
}

}  // namespace

TEST(Utf8Project, TextsNamesAndReadmeReachTheImageAsWrittenAndWhatCannotIsRefused) {
    ProjectFolder folder("project");
    folder.write("payload/Ελληνικά/Привет.txt", "1");
    folder.write("payload/中文.txt", "2");
    folder.write("payload/Crème.txt", "3");
    // A byte order mark, braces, a backslash, the three kinds of line break, and a character
    // outside the Basic Multilingual Plane.
    folder.write("readme.txt", "\xEF\xBB\xBFПривет {мир} \\ 中文 😀\r\nÉté\nfin\r");
    folder.write("licence.rtf", "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 Grüße 中\\par}");
    // [product] comes last: its encoding governs the texts before it all the same.
    const std::string project = R"toml([pages]
show = ["welcome", "licence", "readme", "installing", "finish"]
licence = "licence.rtf"
readme = "readme.txt"

[[texts]]
table = "welcome"
item = 1
text = "Добро пожаловать, 欢迎"

[variables]
"Κατάλογος" = "<ProgramFiles>\\Καφές"
Greeting = "Grüße 😀"

[[files]]
source = "payload"
target = "%Κατάλογος%"

[[shortcuts]]
path = "<Programs>\\Καφές\\Привет.lnk"
target = "%Κατάλογος%\\中文.txt"

[[registry]]
root = "HKCU"
key = "Software\\Καφές"
name = "Имя"
value = "值 %Greeting%"

[[ini]]
file = "%Κατάλογος%\\設定.ini"
section = "Раздел"
key = "Κλειδί"
value = "Crème"

[product]
name = "Καφές 中文"
publisher = "Crème brûlée"
encoding = "utf-8"
)toml";
    ProjectFolder::Result built = folder.build(project, {{"Город", "Москва"}});
    ASSERT_FALSE(built.diagnostics.failed()) << joined(built.diagnostics.errors());
    EXPECT_TRUE(built.diagnostics.warnings().empty()) << joined(built.diagnostics.warnings());
    EXPECT_EQ(built.project.encoding, TextEncoding::Utf8);
    ASSERT_FALSE(built.image.empty());

    ASSERT_TRUE(built.project.readmeText);
    EXPECT_EQ(*built.project.readmeText,
              "{\\rtf1\\ansi \\u1055?\\u1088?\\u1080?\\u1074?\\u1077?\\u1090? "
              "\\{\\u1084?\\u1080?\\u1088?\\} \\\\ \\u20013?\\u25991? \\u-10179?\\u-8704?\\par\r\n"
              "\\u201?t\\u233?\\par\r\n"
              "fin\\par\r\n"
              "}");
    ASSERT_TRUE(built.project.licenseText);
    EXPECT_EQ(*built.project.licenseText,
              "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 Gr\\u252?\\u223?e \\u20013?\\par}");

    DecodedImage decoded;
    std::string problem;
    ASSERT_TRUE(decodeImage(built.image, decoded, problem)) << problem;
    const std::vector<std::string> records =
        describeScript(decoded.script.data(), decoded.script.size());
    const std::string all = joined(records);
    for (const std::string& line : {
             std::string("settings short-name=\"Καφές 中文\" name=\"Καφές 中文\""),
             std::string("variable %Κατάλογος% = \"<ProgramFiles>\\\\Καφές\""),
             std::string("variable %Greeting% = \"Grüße 😀\""),
             std::string("variable %Город% = \"Москва\""),
             std::string("variable %ProductName% = \"Καφές 中文\""),
             std::string("text language 9 page 1 item 1: \"Добро пожаловать, 欢迎\""),
             std::string("shortcut \"<Programs>\\\\Καφές\\\\Привет.lnk,%Κατάλογος%\\\\中文.txt\""),
             std::string("registry \"1,Software\\\\Καφές,Имя,1,值 %Greeting%\""),
             std::string("ini \"%Κατάλογος%\\\\設定.ini,Раздел,Κλειδί,Crème\""),
             std::string("product version=\"\" publisher=\"Crème brûlée\""),
             // The rich text as bytes: the readme's and the licence's.
             "readme " + std::to_string(built.project.readmeText->size()) + " characters",
             "licence " + std::to_string(built.project.licenseText->size()) + " characters",
         }) {
        EXPECT_TRUE(hasLineStartingWith(records, line)) << line << "\nin:\n" << all;
    }

    // File names as the file system gives them, sorted as their UTF-8 bytes.
    const std::size_t p = decoded.header.packageOffset;
    PackageInMemory package(built.image.data() + p, built.image.size() - p);
    PackageWalker walker(package, decoded.package.firstEntryOffset, decoded.package.scriptOffset);
    FileGroupHeader group;
    ASSERT_TRUE(walker.nextGroup(group));
    EXPECT_STREQ(group.targetFolder, "%Κατάλογος%");
    std::vector<std::string> names;
    PackageEntry entry;
    while (walker.nextEntry(entry)) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Crème.txt", "Ελληνικά", "Привет.txt", "中文.txt"}));
    EXPECT_FALSE(walker.damaged());

    // Without the key the same texts are Windows-1252, which has no Greek.
    const std::string classic = project.substr(0, project.find("encoding = "));
    built = folder.build(classic);
    ASSERT_TRUE(built.diagnostics.failed());
    EXPECT_NE(joined(built.diagnostics.errors())
                  .find("project.toml:9: 'text' in [[texts]] holds a character that "
                        "Windows-1252 cannot write"),
              std::string::npos)
        << joined(built.diagnostics.errors());

    // Each refusal names its line, and says what UTF-8 projects need.
    const std::string utf8Product = "[product]\nname = \"Καφές\"\nencoding = \"utf-8\"\n";
    folder.write("bad.txt", "caf\xE9\n");
    struct Refusal {
        std::string toml;
        Definitions definitions;
        std::string message;
    };
    const Refusal refusals[] = {
        {"[product]\nname = \"P\"\nencoding = \"utf-16\"\n",
         {},
         "project.toml:3: unknown encoding 'utf-16'; use \"windows-1252\" or \"utf-8\""},
        {"[product]\nname = \"P\"\nencoding = \"UTF-8\"\n",
         {},
         "project.toml:3: unknown encoding 'UTF-8'"},
        {utf8Product + "publisher = \"P\\u0000\"\n",
         {},
         "project.toml:4: 'publisher' in [product] holds a NUL or bytes that are not UTF-8"},
        {utf8Product + "[pages]\nshow = [\"readme\"]\nreadme = \"bad.txt\"\n",
         {},
         "project.toml:6: '" + (folder.dir() / "bad.txt").string() +
             "' is not valid UTF-8: a project with encoding = \"utf-8\" takes its readme file "
             "in UTF-8"},
        // 17 characters, but 32 bytes: the engine's limit counts bytes.
        {utf8Product + "[look]\nfont = { face = \"Шрифт Шрифт Шрифт\" }\n",
         {},
         "project.toml:5: font face 'Шрифт Шрифт Шрифт' is longer than 31 bytes"},
        {utf8Product,
         {{"Name", "caf\xE9"}},
         "project.toml: -D Name: not a valid variable definition (it holds a NUL or bytes that "
         "are not UTF-8)"},
        {utf8Product, {{"caf\xE9", "x"}}, "project.toml: -D caf\xE9: not a valid variable"},
    };
    for (const Refusal& refusal : refusals) {
        built = folder.build(refusal.toml, refusal.definitions);
        ASSERT_EQ(built.diagnostics.errors().size(), 1u)
            << refusal.toml << "\n-> " << joined(built.diagnostics.errors());
        EXPECT_EQ(built.diagnostics.errors()[0].rfind(refusal.message, 0), 0u)
            << refusal.toml << "\n-> " << built.diagnostics.errors()[0]
            << "\nwanted: " << refusal.message;
    }

    // Names that only differ in case are one file on Windows, in any script.
    EXPECT_EQ(foldedName("ÄÖÜ ΣΔ ς ЖЁ Ǎ Ａ Ÿ ß", TextEncoding::Utf8), "äöü σδ σ жё ǎ ａ ÿ ß");
    EXPECT_EQ(foldedName("\xC4\xDE\x8A\x9F\xD7 AZ", TextEncoding::Windows1252),
              "\xE4\xFE\x9A\xFF\xD7 az");
#ifndef _WIN32
    // Only a POSIX file system holds names Windows could not: bytes that are not UTF-8, and
    // names that differ only in case.
    folder.write("odd/\xFF.txt", "x");
    built = folder.build(utf8Product + "[[files]]\nsource = \"odd\"\n");
    ASSERT_EQ(built.diagnostics.errors().size(), 1u) << joined(built.diagnostics.errors());
    EXPECT_EQ(built.diagnostics.errors()[0],
              "project.toml:4: '\xFF.txt' is not a valid UTF-8 name");

    for (const char* name : {"Ä.txt", "ä.txt", "Σ/x.txt", "σ/x.txt", "Жук.txt", "жук.txt"}) {
        folder.write(std::string("cases/") + name, name);
    }
    built = folder.build(utf8Product + "[[files]]\nsource = \"cases\"\n");
    EXPECT_FALSE(built.diagnostics.failed()) << joined(built.diagnostics.errors());
    EXPECT_EQ(joined(built.diagnostics.warnings()),
              "project.toml:4: 'ä.txt' differs from another file only in case; on Windows the "
              "later one replaces the earlier\n"
              "project.toml:4: 'σ/x.txt' differs from another file only in case; on Windows the "
              "later one replaces the earlier\n"
              "project.toml:4: 'жук.txt' differs from another file only in case; on Windows the "
              "later one replaces the earlier\n");
#endif
}

// In a Windows-1252 project too, a path or pattern on the building machine is the file system's
// UTF-8, and a variable's name is converted as the texts that use it are.
TEST(ClassicProject, BuildMachinePathsStayUtf8AndVariableNamesFollowTheTexts) {
    ProjectFolder folder("classic");
    folder.write("Données/résumé.txt", "1");
    folder.write("Données/autre.txt", "2");
    folder.write("lisez-moi é.txt", "Caf\xC3\xA9\n");
    ProjectFolder::Result built = folder.build(R"toml([product]
name = "Café"

[pages]
show = ["readme", "installing"]
readme = "lisez-moi é.txt"

[variables]
"Größe" = "groß"

[[files]]
source = "Données"
include = ["résumé.txt"]

[[registry]]
root = "HKCU"
key = "Software\\Café"
value = "%Größe%"
)toml");
    ASSERT_FALSE(built.diagnostics.failed()) << joined(built.diagnostics.errors());
    const Project& p = built.project;
    ASSERT_EQ(p.fileGroups.size(), 1u);
    EXPECT_EQ(p.fileGroups[0].sourceDir, folder.dir() / utf8Path("Données"));
    EXPECT_EQ(p.fileGroups[0].include, std::vector<std::string>{"résumé.txt"});
    EXPECT_EQ(p.readmeText, "Caf\xE9\n");
    ASSERT_FALSE(p.variables.empty());
    EXPECT_EQ(p.variables[0].name, "%Gr\366\337e%");
    ASSERT_EQ(p.entries.size(), 1u);
    EXPECT_EQ(p.entries[0].fields, "1,Software\\Caf\xE9,,1,%Gr\366\337e%");

    // The pattern finds its file, which goes in under its Windows-1252 name.
    Diagnostics diagnostics("project.toml");
    BuiltFileGroups groups =
        buildFileGroups(fileGroupSpecs(p), kPackageHeaderSize, PackageOptions{}, diagnostics);
    EXPECT_FALSE(diagnostics.failed()) << joined(diagnostics.errors());
    EXPECT_TRUE(diagnostics.warnings().empty()) << joined(diagnostics.warnings());
    EXPECT_EQ(groups.fileCount, 1u);
    const std::string bytes(groups.bytes.begin(), groups.bytes.end());
    EXPECT_NE(bytes.find("r\xE9sum\xE9.txt"), std::string::npos);

    // A text Windows-1252 cannot write is reported once, though [product] checks it twice.
    built = folder.build("[product]\nname = \"P\"\npublisher = \"中\"\n");
    ASSERT_EQ(built.diagnostics.errors().size(), 1u) << joined(built.diagnostics.errors());
    EXPECT_EQ(built.diagnostics.errors()[0].rfind("project.toml:3: 'publisher' in [product]", 0),
              0u);
}
