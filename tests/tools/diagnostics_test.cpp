// What the builder tells a packager of the mistakes a project file makes: each warning and error
// with the project file and the line it is about, in words that say what to write instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "formats/script_writer.h"
#include "kelvara-build/cli/dump.h"
#include "kelvara-build/image/image_writer.h"
#include "kelvara-build/image/signing.h"
#include "kelvara-build/project/folder_token_check.h"
#include "kelvara-build/project/project.h"
#include "messages.h"

using namespace kelvara;
using namespace kelvara::build;
namespace fs = std::filesystem;

namespace {

// The messages that begin with `start` ("project.toml:12: ").
std::vector<std::string> startingWith(const std::vector<std::string>& messages,
                                      const std::string& start) {
    std::vector<std::string> found;
    for (const std::string& message : messages)
        if (message.rfind(start, 0) == 0) found.push_back(message);
    return found;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A project in a fresh folder: its files written, then read and built with a stand-in stub.
class ProjectFolder {
  public:
    ProjectFolder() {
        static int counter = 0;
        dir_ = fs::temp_directory_path() / ("kelvara-diagnostics-" + std::to_string(::getpid()) +
                                            "-" + std::to_string(counter++));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~ProjectFolder() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    const fs::path& dir() const { return dir_; }
    void write(const std::string& relative, const std::string& bytes) {
        const fs::path path = dir_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void folder(const std::string& relative) { fs::create_directories(dir_ / relative); }

    struct Result {
        Diagnostics diagnostics{"project.toml"};
        bool written = false;  // the image went to image.exe
    };
    // Reads the project and, when it has no error, writes its image as the command line does.
    Result build(const std::string& toml, bool warningsAsErrors = false,
                 const std::vector<unsigned char>& stub = standInStub()) {
        write("project.toml", toml);
        Result result;
        const Project project = readProject(dir_ / "project.toml", {}, result.diagnostics);
        if (result.diagnostics.failed() ||
            (warningsAsErrors && !result.diagnostics.warnings().empty()))
            return result;
        PackageOptions options;
        options.threads = 1;
        result.written =
            writeImage(project, stub, options, image(), result.diagnostics, warningsAsErrors);
        return result;
    }
    fs::path image() const { return dir_ / "image.exe"; }

    static std::vector<unsigned char> standInStub() {
        std::vector<unsigned char> stub(4096, 0);
        stub[0] = 'M';
        stub[1] = 'Z';
        return stub;
    }

  private:
    fs::path dir_;
};

}  // namespace

// A group that takes no file from its source folder installs nothing, which the packager did
// not mean; a source folder with nothing at all in it, for a target of its own, is how a
// project makes an empty folder, and is left alone.
TEST(BuilderWarnings, GroupsThatInstallNothingAreToldWithTheirLines) {
    ProjectFolder folder;
    folder.folder("empty");
    folder.folder("logs");
    folder.folder("hollow/sub/deeper");
    folder.write("bin/app.txt", "a");
    folder.write("bin/notes.txt", "n");
    const std::string toml = R"toml([product]
name = "Nothing"

[[files]]
source = "empty"

[[files]]
source = "logs"
target = "%InstallPath%\\logs"

[[files]]
source = "hollow"
target = "%InstallPath%\\hollow"

[[files]]
source = "bin"
include = ["*.dll", "*.exe"]

[[files]]
source = "bin"
exclude = "**"

[[files]]
source = "bin"
include = ["*.txt", "*.dll"]
target = "%InstallPath%\\more"

[[files]]
source = "empty"
include = "*.dll"
target = "%InstallPath%\\plugins"
)toml";
    ProjectFolder::Result built = folder.build(toml);
    ASSERT_FALSE(built.diagnostics.failed()) << joined(built.diagnostics.errors());
    EXPECT_TRUE(built.written);
    const std::vector<std::string>& warnings = built.diagnostics.warnings();
    const std::string all = joined(warnings);
    const std::string bin = "'" + (folder.dir() / "bin").string() + "'";
    const std::string nothing = ": the [[files]] group installs nothing";
    EXPECT_EQ(startingWith(warnings, "project.toml:4: "),
              std::vector<std::string>{"project.toml:4: the source folder '" +
                                       (folder.dir() / "empty").string() + "' is empty" + nothing})
        << all;
    EXPECT_TRUE(startingWith(warnings, "project.toml:7: ").empty())
        << "an empty folder made on purpose\n"
        << all;
    EXPECT_EQ(startingWith(warnings, "project.toml:11: "),
              std::vector<std::string>{"project.toml:11: the source folder '" +
                                       (folder.dir() / "hollow").string() +
                                       "' holds no file, only empty folders, which are not "
                                       "installed" +
                                       nothing})
        << all;
    EXPECT_EQ(startingWith(warnings, "project.toml:15: "),
              std::vector<std::string>{"project.toml:15: no file in " + bin +
                                       " matches '*.dll' or '*.exe' (patterns are matched in "
                                       "case, with / between folders)" +
                                       nothing})
        << all;
    EXPECT_EQ(startingWith(warnings, "project.toml:19: "),
              std::vector<std::string>{"project.toml:19: 'exclude' leaves out every file the "
                                       "patterns take from " +
                                       bin + nothing})
        << all;
    // Files are installed from this one: the pattern that takes none is told, and no more.
    EXPECT_EQ(
        startingWith(warnings, "project.toml:23: "),
        std::vector<std::string>{"project.toml:23: pattern '*.dll' matches no file in " + bin})
        << all;
    ASSERT_EQ(startingWith(warnings, "project.toml:28: ").size(), 1u) << all;
    EXPECT_TRUE(has(warnings.back(), "is empty" + nothing)) << "patterns of files expected";
    EXPECT_EQ(warnings.size(), 6u) << all;

    ProjectFolder::Result strict = folder.build(toml, true);
    EXPECT_FALSE(strict.written);
    EXPECT_FALSE(strict.diagnostics.warnings().empty());
}

// Two groups that put a file in one place: the later copy replaces the earlier, which the
// builder tells naming both lines. Folders and names compare as Windows compares them.
TEST(BuilderWarnings, AFileInstalledByTwoGroupsNamesBothLines) {
    ProjectFolder folder;
    folder.write("a/Readme.TXT", "first");
    folder.write("a/app.exe", "app");
    folder.write("a/lib/x.dll", "x");
    folder.write("b/readme.txt", "second");
    folder.write("b/LIB/X.DLL", "x2");
    folder.write("b/only-b.txt", "b");
    folder.write("c/app.exe", "variant");
    const std::string toml = R"toml([product]
name = "Twice"

[[tasks]]
id = "variant"
name = "The other variant"

[[files]]
source = "a"
target = "%InstallPath%\\Docs"

[[files]]
source = "b"
target = "%installpath%/docs/"

[[files]]
source = "c"
target = "%InstallPath%\\Docs"
task = "variant"
)toml";
    ProjectFolder::Result built = folder.build(toml);
    ASSERT_FALSE(built.diagnostics.failed()) << joined(built.diagnostics.errors());
    const std::vector<std::string>& warnings = built.diagnostics.warnings();
    // The first file both install, in the order the later group has them, and how many more.
    EXPECT_EQ(warnings,
              std::vector<std::string>{
                  "project.toml:12: '%installpath%\\docs\\LIB\\X.DLL' (and 1 more "
                  "file) is installed by the [[files]] groups at lines 8 and 12: "
                  "the later copy replaces the earlier (target folders and names are "
                  "compared ignoring case, as Windows does)"})
        << "a task's own variant of a file is a choice the project offers\n"
        << joined(warnings);

    fs::remove(folder.image());
    ProjectFolder::Result strict = folder.build(toml, true);
    EXPECT_FALSE(strict.written);
    EXPECT_FALSE(fs::exists(folder.image())) << "a warning treated as an error writes nothing";
}

// A folder token the engine does not know stays in the installed path as written: told where
// the project writes it, with the known tokens close to it, or where the list is.
TEST(BuilderWarnings, UnknownFolderTokensAreToldWithTheKnownOnesNearThem) {
    ProjectFolder folder;
    folder.write("files/app.exe", "app");
    ProjectFolder::Result built = folder.build(R"toml([product]
name = "Tokens"

[variables]
Tools = "<CommonFile>\\Tools"
Plain = "<ProgramFiles64>\\Known <programfiles> < Back <a b> <1x>"

[[files]]
source = "files"
target = "<ProgramFile>\\Tokens"

[[shortcuts]]
path = "<Desktp>\\Tokens.lnk"
target = "%InstallPath%\\app.exe"

[[run]]
program = "<Zqxw>\\app.exe"
arguments = "<Sys>"

[finish]
view = "<Fonst>\\readme.txt"
)toml");
    ASSERT_FALSE(built.diagnostics.failed()) << joined(built.diagnostics.errors());
    const std::vector<std::string>& warnings = built.diagnostics.warnings();
    const std::string all = joined(warnings);
    const std::string unknown =
        ", which the engine does not know: it stays as written and a path that keeps it fails at "
        "install time; ";
    for (const std::string& expected : {
             "project.toml:5: the variable %Tools% names the folder token <CommonFile>" + unknown +
                 "did you mean <CommonFiles>?",
             "project.toml:8: [[files]] 'target' names the folder token <ProgramFile>" + unknown +
                 "did you mean <ProgramFiles>?",
             "project.toml:12: [[shortcuts]] names the folder token <Desktp>" + unknown +
                 "did you mean <Desktop>?",
             "project.toml:16: [[run]] names the folder token <Zqxw>" + unknown +
                 "the tokens are listed under \"Folder tokens\" in docs/project-format.md",
             "project.toml:16: [[run]] names the folder token <Sys>" + unknown +
                 "did you mean <System>, <System32> or <SysWOW64>?",
             "project.toml:21: [finish] 'view' names the folder token <Fonst>" + unknown +
                 "did you mean <Fonts>?",
         }) {
        EXPECT_NE(std::count(warnings.begin(), warnings.end(), expected), 0)
            << expected << "\nin:\n"
            << all;
    }
    EXPECT_EQ(warnings.size(), 6u) << "known tokens in any case, and what is no token, pass\n"
                                   << all;
    EXPECT_EQ(closeFolderTokens("<Temp2>"), std::vector<std::string>{"<Temp>"});
    EXPECT_EQ(closeFolderTokens("<ProgramFilesX86>"),
              (std::vector<std::string>{"<ProgramFiles>", "<ProgramFiles32>", "<ProgramFiles64>"}));
    EXPECT_TRUE(closeFolderTokens("<Foo>").empty());
}

// An empty page list leaves a wizard that shows nothing and installs nothing.
TEST(BuilderWarnings, AnEmptyPageListIsTold) {
    ProjectFolder folder;
    ProjectFolder::Result built = folder.build("[product]\nname = \"P\"\n\n[pages]\nshow = []\n");
    ASSERT_FALSE(built.diagnostics.failed()) << joined(built.diagnostics.errors());
    ASSERT_EQ(built.diagnostics.warnings().size(), 1u) << joined(built.diagnostics.warnings());
    EXPECT_EQ(built.diagnostics.warnings()[0].rfind(
                  "project.toml:5: [pages] 'show' lists no page: the wizard would show nothing", 0),
              0u)
        << built.diagnostics.warnings()[0];
    ProjectFolder::Result listed =
        folder.build("[product]\nname = \"P\"\n\n[pages]\nshow = [\"welcome\", \"installing\"]\n");
    EXPECT_TRUE(listed.diagnostics.warnings().empty()) << joined(listed.diagnostics.warnings());
}

// The TOML library's words for the commonest slips become what to write instead, at the line
// where the slip is; anything else keeps the library's words.
TEST(TomlErrors, CommonSlipsAreToldInPlainWords) {
    const std::string backslash =
        "a single backslash in a text in double quotes starts an escape: write \\\\ for a "
        "backslash, or put the path in single quotes ('C:\\Tools')";
    struct Case {
        const char* text;
        std::string error;
    };
    const Case cases[] = {
        // A quote in a comment opens no text.
        {"[product]\n# the product's name\nname = \"Hello\nversion = \"1\"\n",
         "project.toml:3: a text is not closed: a closing \" is missing on this line"},
        {"[product]\nname = 'Hello\n",
         "project.toml:2: a text is not closed: a closing ' is "
         "missing on this line"},
        {"[product]\nname = \"Hello",
         "project.toml:2: a text is not closed: a closing \" is "
         "missing on this line"},
        {"[product]\nname = \"P\"\n[[files]]\nsource = \"C:\\\\Tools\\\"\n",
         "project.toml:4: a text is not closed: a closing \" is missing on this line (the "
         "backslash before the last \" makes that quote part of the text: write \\\\ for a "
         "backslash, or put the path in single quotes)"},
        {"[product]\nname = \"P\"\n[[files]]\nsource = \"C:\\Quelle\"\n",
         "project.toml:4: " + backslash},
        {"[product]\nname = \"P\"\n[[files]]\nsource = \"C:\\Users\\me\"\n",
         "project.toml:4: " + backslash},
        {"[product]\nname = \"P\"\n[[files]]\nsource = \"C:\\x64\"\n",
         "project.toml:4: " + backslash},
        // Told where it opens, not where the file ends.
        {"[product]\nname = \"P\"\nversion = \"\"\"1.0\n\n[pages]\nshow = []\n",
         "project.toml:3: a text in triple quotes is not closed: the file ends before its "
         "closing \"\"\""},
    };
    for (const Case& c : cases) {
        Diagnostics diagnostics("project.toml");
        parseProject(c.text, "project.toml", {}, diagnostics);
        EXPECT_EQ(diagnostics.errors(), std::vector<std::string>{c.error}) << c.text;
    }
    Diagnostics other("project.toml");
    parseProject("[product]\nname = \"P\" x\n", "project.toml", {}, other);
    ASSERT_EQ(other.errors().size(), 1u);
    EXPECT_EQ(other.errors()[0].rfind("project.toml:2: the file is not valid TOML: ", 0), 0u)
        << other.errors()[0];
    EXPECT_TRUE(has(other.errors()[0], "saw 'x'")) << "the library's own words follow";
}

// --dump prints the classic edition's Windows-1252 texts and names in UTF-8, and the Unicode
// edition's as they are; what is no text on a terminal is escaped.
TEST(Dump, TextsComeOutInUtf8WhicheverTheEdition) {
    const std::string files = "[[files]]\nsource = \"files\"\n";
    auto dump = [](const fs::path& image) {
        std::ostringstream out, err;
        EXPECT_EQ(dumpImage(image, out, err), 0) << err.str();
        return out.str();
    };
    ProjectFolder classic;
    classic.write("files/résumé.txt", "r");
    ASSERT_TRUE(
        classic.build("[product]\nname = \"Café Crème\"\npublisher = \"Über Größe\"\n" + files)
            .written);
    const std::string classicDump = dump(classic.image());
    EXPECT_TRUE(has(classicDump, "edition: classic")) << classicDump;
    for (const char* text : {"name=\"Café Crème\"", "publisher=\"Über Größe\"", "  résumé.txt  "})
        EXPECT_TRUE(has(classicDump, text)) << text << "\nin:\n" << classicDump;
    EXPECT_FALSE(has(classicDump, "Caf\xE9")) << "no Windows-1252 byte reaches the terminal";

    std::vector<unsigned char> unicodeStub = ProjectFolder::standInStub();
    const std::string manifest =
        "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8"
        "</activeCodePage>";
    std::copy(manifest.begin(), manifest.end(), unicodeStub.begin() + 1024);
    ProjectFolder unicode;
    unicode.write("files/Ελληνικά.txt", "g");
    ASSERT_TRUE(unicode
                    .build("[product]\nname = \"Καφές\"\nencoding = \"utf-8\"\n"
                           "publisher = \"Über Größe\"\n" +
                               files,
                           false, unicodeStub)
                    .written);
    const std::string unicodeDump = dump(unicode.image());
    EXPECT_TRUE(has(unicodeDump, "edition: unicode")) << unicodeDump;
    for (const char* text : {"name=\"Καφές\"", "publisher=\"Über Größe\"", "  Ελληνικά.txt  "})
        EXPECT_TRUE(has(unicodeDump, text)) << text << "\nin:\n" << unicodeDump;

    // A byte Windows-1252 leaves unused and control characters, as escapes.
    struct Sink final : ByteSink {
        std::vector<unsigned char> bytes;
        bool append(const void* data, std::size_t size) override {
            const auto* b = static_cast<const unsigned char*>(data);
            bytes.insert(bytes.end(), b, b + size);
            return true;
        }
    } sink;
    ScriptWriter writer(sink);
    writer.variable("%Caf\xE9%", "\x81 \x1B[31m \x80 \"\\");
    writer.end();
    const std::vector<std::string> lines =
        describeScript(sink.bytes.data(), sink.bytes.size(), TextEncoding::Windows1252);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "variable %Café% = \"\\x81 \\x1B[31m € \\\"\\\\\"");
}

#ifndef _WIN32
// A failed sign command is told by its exit code, or by the signal that ended it, not by the
// wait status the system hands the builder.
TEST(Signing, AFailedCommandIsToldByItsExitCodeOrSignal) {
    ProjectFolder folder;
    folder.write("setup.exe", "MZ");
    const fs::path file = folder.dir() / "setup.exe";
    std::string error;
    EXPECT_FALSE(signFile("sh -c 'exit 255' sign {in}", file, error));
    EXPECT_EQ(error.rfind("the sign command exited with code 255: sh -c 'exit 255' sign '", 0), 0u)
        << error;
    EXPECT_FALSE(signFile("kill -KILL $$; : {in}", file, error));
    EXPECT_EQ(error.rfind("the sign command was killed by signal 9 (", 0), 0u) << error;
    EXPECT_FALSE(signFile("kelvara-no-such-signer {in}", file, error));
    EXPECT_EQ(
        error.rfind("the sign command exited with code 127: the shell found no such command", 0),
        0u)
        << error;
    EXPECT_TRUE(signFile("true {in}", file, error)) << error;
}
#endif
