// Components, tasks and setup types from the project file to what the engine reads: their records,
// the condition records before the entries, the condition entries of the file groups, the bytes
// each component's files need, and the projects the builder refuses, each at its line.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/package_format.h"
#include "formats/script_format.h"
#include "kelvara-build/cli/dump.h"
#include "kelvara-build/image/image_decoder.h"
#include "kelvara-build/image/image_writer.h"
#include "kelvara-build/project/project.h"
#include "messages.h"

using namespace kelvara;
using namespace kelvara::build;
namespace fs = std::filesystem;

namespace {

// A project file with its source folders in a fresh folder, read and built on a stand-in stub.
class Workspace {
  public:
    explicit Workspace(const std::string& name)
        : dir_(fs::path(::testing::TempDir()) / ("kelvara-choices-" + name)) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void write(const std::string& relative, const std::string& bytes) {
        fs::create_directories((dir_ / relative).parent_path());
        std::ofstream(dir_ / relative, std::ios::binary) << bytes;
    }
    fs::path file() const { return dir_ / "project.toml"; }

    // The image of the project text; empty when it was refused (see `diagnostics`).
    std::vector<unsigned char> build(const std::string& toml, Diagnostics& diagnostics) {
        write("project.toml", toml);
        const Project project = readProject(file(), {}, diagnostics);
        if (diagnostics.failed()) return {};
        std::vector<unsigned char> stub(4096, 0);
        stub[0] = 'M';
        stub[1] = 'Z';
        PackageOptions options;
        options.threads = 1;
        options.sourceDateEpoch = 1700000000;
        return buildImage(project, stub, options, diagnostics);
    }

  private:
    fs::path dir_;
};

// A record as a line: the choice records and the entries field by field, any other by its type.
std::string recordLine(const ScriptRecord& record) {
    PayloadReader r(record.payload, record.length);
    std::uint8_t flags = 0, parent = 0;
    std::uint32_t bytes = 0, mask = 0, tasks = 0;
    const char *id = nullptr, *name = nullptr, *description = nullptr;
    std::string line;
    switch (record.type) {
        case kRecordComponent:
            if (!r.readU8(flags) || !r.readU8(parent) || !r.readU32(bytes) || !r.readString(id) ||
                !r.readString(name) || !r.readString(description))
                return "damaged component";
            line = "component " + std::string(id) + " flags " + std::to_string(flags) + " parent " +
                   std::to_string(parent) + " bytes " + std::to_string(bytes) + " name " + name +
                   " description " + description;
            break;
        case kRecordTask:
            if (!r.readU8(flags) || !r.readU8(parent) || !r.readString(id) || !r.readString(name) ||
                !r.readString(description))
                return "damaged task";
            line = "task " + std::string(id) + " flags " + std::to_string(flags) + " group " +
                   std::to_string(parent) + " name " + name + " description " + description;
            break;
        case kRecordSetupType:
            if (!r.readU8(flags) || !r.readU32(mask) || !r.readString(id) || !r.readString(name))
                return "damaged setup type";
            line = "setup type " + std::string(id) + " flags " + std::to_string(flags) +
                   " components " + std::to_string(mask) + " name " + name;
            break;
        case kRecordCondition:
            if (!r.readU32(mask) || !r.readU32(tasks)) return "damaged condition";
            line = "condition " + std::to_string(mask) + " " + std::to_string(tasks);
            break;
        default:
            if (record.type < kRecordShortcut || record.type > kRecordAssociation)
                return "type " + std::to_string(record.type);
            if (!r.readString(name)) return "damaged entry";
            line = "entry " + std::to_string(record.type) + " " + name;
    }
    return r.remaining() == 0 ? line : line + " and " + std::to_string(r.remaining()) + " bytes";
}

const std::string kChoices = R"([product]
name = "Choosy"

[[components]]
id = "app"
name = "Application"
fixed = true

[[components]]
id = "help"
name = "Help"
description = "Help, with commas"
parent = "docs"

[[components]]
id = "Docs"
name = "Documentation"

[[components]]
id = "extras"
name = "Extras"
default = false

[[setup-types]]
id = "full"
name = "Full"
components = ["extras", "HELP"]

[[setup-types]]
id = "minimal"
name = "Minimal"

[[tasks]]
id = "desktop"
name = "Desktop shortcut"
default = true

[[tasks]]
id = "notepad"
name = "Notepad"
group = "viewer"

[[tasks]]
id = "wordpad"
name = "WordPad"
group = "Viewer"
default = true

[[tasks]]
id = "other"
name = "Other"
description = "Something else"
group = "second"

[[files]]
source = "base"

[[files]]
source = "docs"
target = "%InstallPath%\\docs"
component = "DOCS"
compression = "lzma2"

[[files]]
source = "help"
target = "%InstallPath%\\docs\\"
component = ["help", "docs"]

[[files]]
source = "desk"
task = "desktop"

[[files]]
source = "extras"
component = "extras"
task = ["notepad", "wordpad"]

[[shortcuts]]
path = "<Desktop>\\a.lnk"
target = "t"
task = "desktop"

[[shortcuts]]
path = "<Desktop>\\b.lnk"
target = "t"
task = "desktop"

[[registry]]
root = "HKCU"
key = "K"
component = "docs"

[[registry]]
root = "HKCU"
key = "L"

[[ini]]
file = "f.ini"
section = "S"
component = "extras"

[[associations]]
extension = ".x"
type = "X"
task = "wordpad"

[[run]]
program = "p"
component = "help"
task = "other"

[[dll-call]]
dll = "d"
function = "f"
component = "help"
task = "other"
)";

}  // namespace

// Components are placed after their parents (help, declared first, follows Docs); bit i of a mask
// is the ith placed. Each entry follows the condition it needs, written only where it changes,
// and the package header's required space holds the files of groups that need no component.
TEST(Choices, RecordsConditionsAndGroupsAsTheEngineReadsThem) {
    Workspace work("records");
    work.write("base/app.txt", std::string(5, 'a'));
    work.write("docs/manual.txt", std::string(500, 'm'));
    work.write("help/help.txt", std::string(50, 'h'));
    work.write("desk/d.txt", std::string(7, 'd'));
    work.write("extras/e.txt", std::string(9, 'e'));
    Diagnostics diagnostics("project.toml");
    const std::vector<unsigned char> image = work.build(kChoices, diagnostics);
    ASSERT_FALSE(diagnostics.failed()) << joined(diagnostics.errors());
    DecodedImage decoded;
    std::string problem;
    ASSERT_TRUE(decodeImage(image, decoded, problem)) << problem;
    EXPECT_EQ(decoded.package.requiredSpace, 5u + 7u) << "the base files and the task's alone";

    std::vector<std::string> records;
    bool pages = false, componentTexts = false, taskTexts = false, textsBefore = true;
    RecordCursor cursor(decoded.script.data(), decoded.script.size());
    ScriptRecord record;
    while (cursor.next(record)) {
        if (record.type == kRecordPageFlags && record.length == kPageFlagsSize)
            pages = record.payload[kPageComponents] && record.payload[kPageTasks];
        if (record.type == kRecordText) {
            componentTexts |= record.payload[2] == kPageComponents && record.payload[3] == 9;
            taskTexts |= record.payload[2] == kPageTasks && record.payload[3] == 9;
            textsBefore = textsBefore && records.empty();
        }
        if (record.type >= kRecordComponent || !records.empty())
            records.push_back(recordLine(record));
    }
    EXPECT_TRUE(cursor.reachedEndRecord());
    EXPECT_TRUE(pages) << "the components and tasks pages are shown by default";
    EXPECT_TRUE(componentTexts && taskTexts) << "both pages get their default texts";
    EXPECT_TRUE(textsBefore) << "the texts come before the choices";
    const std::vector<std::string> expected = {
        "component app flags 3 parent 0 bytes 0 name Application description ",
        "component Docs flags 1 parent 0 bytes 550 name Documentation description ",
        "component help flags 1 parent 2 bytes 50 name Help description Help, with commas",
        "component extras flags 0 parent 0 bytes 9 name Extras description ",
        "task desktop flags 1 group 0 name Desktop shortcut description ",
        "task notepad flags 0 group 1 name Notepad description ",
        "task wordpad flags 1 group 1 name WordPad description ",
        "task other flags 0 group 2 name Other description Something else",
        "setup type full flags 0 components 12 name Full",
        "setup type minimal flags 0 components 0 name Minimal",
        "condition 0 1",
        "entry 10 <Desktop>\\a.lnk,t",
        "entry 10 <Desktop>\\b.lnk,t",
        "condition 2 0",
        "entry 11 1,K,,1",
        "condition 0 0",
        "entry 11 1,L,,1",
        "condition 8 0",
        "entry 12 f.ini,S",
        "condition 0 4",
        "entry 15 .x,X",
        "condition 4 8",
        "entry 13 p,,,,1,1,0",
        "entry 14 d,f,,,,1",
        "condition 0 0",
    };
    EXPECT_EQ(records, expected) << joined(records);

    // Every group starts with its condition entry, and its files read on after it.
    struct Group {
        std::string target;
        std::uint32_t components, tasks;
        std::vector<std::string> files;
        bool operator==(const Group&) const = default;
    };
    std::vector<Group> groups;
    const std::size_t p = decoded.header.packageOffset;
    PackageInMemory package(image.data() + p, image.size() - p);
    PackageWalker walker(package, decoded.package.firstEntryOffset, decoded.package.scriptOffset);
    FileGroupHeader header;
    while (walker.nextGroup(header)) {
        Group group{header.targetFolder, header.conditionComponents, header.conditionTasks, {}};
        PackageEntry entry;
        while (walker.nextEntry(entry)) group.files.push_back(entry.name);
        groups.push_back(group);
    }
    EXPECT_FALSE(walker.damaged()) << "at package offset " << walker.offset();
    const std::vector<Group> wanted = {
        {"%InstallPath%", 0, 0, {"app.txt"}},
        {"%InstallPath%\\docs", 2, 0, {"manual.txt"}},
        {"%InstallPath%\\docs\\", 6, 0, {"help.txt"}},
        {"%InstallPath%", 0, 1, {"d.txt"}},
        {"%InstallPath%", 8, 6, {"e.txt"}},
    };
    EXPECT_TRUE(groups == wanted) << groups.size() << " groups";

    // --dump names the parts of each condition by their ids.
    work.write("setup.exe", std::string(image.begin(), image.end()));
    std::ostringstream out, err;
    EXPECT_EQ(dumpImage(fs::path(work.file()).replace_filename("setup.exe"), out, err), 0)
        << err.str();
    for (const char* line :
         {"group 2: target \"%InstallPath%\\\\docs\\\\\" overwrite newer decide "
          "version-and-date, installed component Docs or help\n",
          "group 0: target \"%InstallPath%\" overwrite newer decide version-and-date, installed "
          "always\n",
          "  component 2 help name=\"Help\" description=\"Help, with commas\" default parent=Docs "
          "bytes=50\n",
          "  setup-type full name=\"Full\" components=help,extras\n",
          "  condition component help and task other\n"}) {
        EXPECT_NE(out.str().find(line), std::string::npos) << line << "in:\n" << out.str();
    }

    // Without any file group, one of the condition entry alone still keeps older engines out.
    Workspace bare("bare");
    Diagnostics tasksOnly("project.toml");
    const std::vector<unsigned char> bareImage =
        bare.build("[product]\nname = \"T\"\n[[tasks]]\nid = \"t\"\nname = \"T\"\n", tasksOnly);
    ASSERT_FALSE(tasksOnly.failed()) << joined(tasksOnly.errors());
    ASSERT_TRUE(decodeImage(bareImage, decoded, problem)) << problem;
    PackageInMemory barePackage(bareImage.data() + decoded.header.packageOffset,
                                bareImage.size() - decoded.header.packageOffset);
    PackageWalker bareWalker(barePackage, decoded.package.firstEntryOffset,
                             decoded.package.scriptOffset);
    ASSERT_TRUE(bareWalker.nextGroup(header));
    EXPECT_STREQ(header.targetFolder, "%InstallPath%");
    PackageEntry entry;
    EXPECT_FALSE(bareWalker.nextEntry(entry));
    EXPECT_FALSE(bareWalker.damaged());
    EXPECT_FALSE(bareWalker.nextGroup(header));
    const std::size_t conditionAt = decoded.header.packageOffset +
                                    decoded.package.firstEntryOffset +
                                    groupHeaderSize(std::strlen("%InstallPath%"));
    ASSERT_LT(conditionAt + conditionEntrySize(), bareImage.size());
    EXPECT_EQ(bareImage[conditionAt], 0) << "the empty name an older engine refuses";
    EXPECT_EQ(bareImage[conditionAt + 1 + kEntryDepthSize], kEntryFlagCondition);
}

// Each refused project gives one error, at the line of what is wrong.
TEST(Choices, RefusalsNameTheirLine) {
    auto component = [](const std::string& id, const std::string& more = "") {
        return "[[components]]\nid = \"" + id + "\"\nname = \"N\"\n" + more;
    };
    auto task = [](const std::string& id, const std::string& more = "") {
        return "[[tasks]]\nid = \"" + id + "\"\nname = \"N\"\n" + more;
    };
    std::string many, manyTasks, manyTypes;
    for (int i = 0; i < kChoiceLimit + 1; ++i) many += component("c" + std::to_string(i));
    for (int i = 0; i < kChoiceLimit + 1; ++i) manyTasks += task("t" + std::to_string(i));
    for (int i = 0; i < kSetupTypeLimit + 1; ++i)
        manyTypes += "[[setup-types]]\nid = \"s" + std::to_string(i) + "\"\nname = \"S\"\n";
    const std::string product = "[product]\nname = \"P\"\n";  // the choices start at line 3
    const std::string declared = product + component("a") + task("t");  // entries from line 9
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {product + component("a", "parent = \"b\"\n"),
         "project.toml:6: 'parent' of component 'a' names 'b', which no [[components]] table"},
        {product + component("a", "parent = \"b\"\n") + component("b", "parent = \"A\"\n") +
             component("c", "parent = \"a\"\n"),
         "project.toml:3: component 'a' lies under itself: its parents run 'a' > 'b' > 'a'"},
        {product + component("a") + component("b", "parent = \"a\"\nfixed = true\n"),
         "project.toml:6: the fixed component 'b' lies under 'a', which is not fixed"},
        {product + component("a", "fixed = true\ndefault = false\n"),
         "project.toml:7: a fixed component is always installed"},
        {product + component("a") + component("A"),
         "project.toml:6: the component 'A' is declared at line 3 already"},
        {product + component("a b"), "project.toml:4: 'id' 'a b' in [[components]] must be"},
        {product + many, "project.toml:99: more than 32 components"},
        {product + manyTasks, "project.toml:99: more than 32 tasks"},
        {product + component("a") + manyTypes, "project.toml:54: more than 16 setup types"},
        {product + "[[setup-types]]\nid = \"s\"\nname = \"S\"\n",
         "project.toml:3: [[setup-types]] select components, and the project declares no"},
        {declared + "[[setup-types]]\nid = \"s\"\nname = \"S\"\ncomponents = [\"a\", \"t\"]\n",
         "project.toml:12: 'components' of setup type 's' names 't', which no [[components]]"},
        {product + task("x", "group = \"g\"\ndefault = true\n") +
             task("y", "group = \"G\"\ndefault = true\n"),
         "project.toml:12: the task group 'G' has its default task at line 3 already"},
        {product + "[[tasks]]\nid = \"x\"\n", "project.toml:3: [[tasks]] needs a 'name'"},
        {product + "[pages]\nshow = [\"tasks\", \"installing\"]\n",
         "project.toml:4: the tasks page is shown but the project declares no [[tasks]]"},
        // In every place that names parts, and components and tasks apart.
        {declared + "[[files]]\nsource = \".\"\ncomponent = \"zz\"\n",
         "project.toml:11: 'component' in [[files]] names 'zz', which no [[components]] table"},
        {declared + "[[shortcuts]]\npath = \"C:\\\\a.lnk\"\ntarget = \"t\"\ntask = \"a\"\n",
         "project.toml:12: 'task' in [[shortcuts]] names 'a', which no [[tasks]] table"},
        {declared + "[[registry]]\nroot = \"HKCU\"\nkey = \"K\"\ncomponent = [\"a\", \"t\"]\n",
         "project.toml:12: 'component' in [[registry]] names 't'"},
        {declared + "[[ini]]\nfile = \"f\"\nsection = \"s\"\ntask = \"zz\"\n",
         "project.toml:12: 'task' in [[ini]] names 'zz'"},
        {declared + "[[associations]]\nextension = \".x\"\ntype = \"X\"\ncomponent = \"zz\"\n",
         "project.toml:12: 'component' in [[associations]] names 'zz'"},
        {declared + "[[run]]\nprogram = \"p\"\ntask = \"zz\"\n",
         "project.toml:11: 'task' in [[run]] names 'zz'"},
        {declared + "[[dll-call]]\ndll = \"d\"\nfunction = \"f\"\ncomponent = \"zz\"\n",
         "project.toml:12: 'component' in [[dll-call]] names 'zz'"},
    };
    Workspace work("refusals");
    for (const Case& c : cases) {
        Diagnostics diagnostics("project.toml");
        parseProject(c.text, work.file(), {}, diagnostics);
        ASSERT_EQ(diagnostics.errors().size(), 1u)
            << c.text << "-> " << joined(diagnostics.errors());
        EXPECT_EQ(diagnostics.errors()[0].rfind(c.message, 0), 0u)
            << c.text << "-> " << diagnostics.errors()[0] << "\nwanted: " << c.message;
    }

    // The same file from groups that need different components, however its folder is spelt;
    // groups that need the same ones may share it.
    work.write("a/x.txt", "x");
    Diagnostics twice("project.toml");
    const std::vector<unsigned char> image =
        work.build(product + component("a") +
                       "[[files]]\nsource = \"a\"\ncomponent = \"a\"\n"                // line 6
                       "[[files]]\nsource = \"a\"\ncomponent = \"A\"\n"                // line 9
                       "[[files]]\nsource = \"a\"\ntarget = \"%INSTALLPATH%\\\\\"\n",  // line 12
                   twice);
    EXPECT_TRUE(image.empty());
    ASSERT_EQ(twice.errors().size(), 1u) << joined(twice.errors());
    EXPECT_EQ(twice.errors()[0],
              "project.toml:12: '%INSTALLPATH%\\x.txt' is installed by the [[files]] group at "
              "line 6 too, for other components: a file belongs to one set of components");
}
