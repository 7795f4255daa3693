// The project model: everything a setup image says, in readable form, as read from a TOML
// project file. Paths in the file are relative to it; readProject makes them absolute. Texts are
// kept as the engine will see them (8-bit: Windows-1252, or UTF-8 for the Unicode edition),
// names already turned into numbers; paths and patterns on the building machine stay UTF-8.
//
// The file, table by table (every key optional unless marked):
//   [product]       name (required), short-name, maker-link, version, publisher, url, help-url,
//                   encoding = windows-1252|utf-8, architecture = x86|x64|arm64,
//                   scope = machine|user|choose, default-scope = machine|user,
//                   close-applications = ask|never|force,
//                   compression = zlib|lzma2, block-size (MiB), compression-filter =
//                   auto|x86|none
//   [look]          layout = standard|compact, full-colour-welcome, page-colour, frame-colour,
//                   header-colour, accent-colour ("#RRGGBB", "window", "button-face"),
//                   font and title-font = { face, colour = "#RRGGBB" }
//   [look.background]  top, bottom ("#RRGGBB"), captioned; [[look.background.lines]] text,
//                   align = left|right, from = top|bottom, x, y, font, size, width, weight,
//                   italic, underline, colour, shadow, shadow-colour
//   [pages]         show = [language, welcome, licence, readme, components, scope, destination,
//                   tasks, start-menu, ready, installing, finish], licence = FILE, readme = FILE
//   [languages]     offer = [names or numbers], auto-select
//   [[texts]]       language, table (setup-messages, error-messages, buttons, uninstaller or a
//                   page name), item, text
//   [variables]     Name = "value" (written %Name% in texts), in definition order
//   [[components]]  id (required), name (required), description, default (true), fixed
//                   (false), parent (a component's id)
//   [[tasks]]       id (required), name (required), description, default (false), group
//   [[setup-types]] id (required), name (required), components (ids); the first is where a
//                   run starts
//   [[files]]       source, include, exclude (globs), target, overwrite = always|newer|
//                   newer-or-same|older|never, decide = date|version|version-and-date, shared,
//                   compression = auto|stored|compressed|zlib|lzma2
//   [[shortcuts]]   path, target, arguments, working-folder, icon, icon-index,
//                   show = normal|minimized|maximized, hotkey, shared
//   [[registry]]    root = HKCR|HKCU|HKLM|HKU|HKPD|HKCC|HKDD|HKA, key, name,
//                   type = string|expand-string|binary|dword|multi-string, value,
//                   view = 32|64
//   [[ini]]         file, section, key, value, append
//   [[associations]] extension, type, content-type, description, tip, command, icon, icon-index
//   [[run]]         program or open, arguments, working-folder, when, wait, once,
//                   window = normal|minimized|maximized
//   [[dll-call]]    dll, function, arguments (at most two), when, once
//                   when = -1..12, before-wizard, after-page:<page>, after-install,
//                   after-finish or uninstall
//                   [[files]] and the six entry tables also take component and task: an id
//                   or a list of ids, which the files or the entry need (any one of them)
//   [start-menu]    group-choice, desktop-choice, quick-launch-choice
//   [install]       restart, uninstaller, previous-location = { root, key, value }
//   [finish]        run, view
//   [requirements]  windows, directx, ie, access (the engine's keywords), administrator
#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {

struct FontSpec {
    std::string face;       // empty: the engine's default face
    std::uint32_t rgb = 0;  // 0xRRGGBB
};

struct BackgroundLine {
    int line = 0;
    std::string fields;  // the engine's text-line field string, text quoted first
};

struct Background {
    std::uint32_t topRgb = 0;
    std::uint32_t bottomRgb = 0;
    bool captioned = false;
    std::vector<BackgroundLine> lines;
};

// One text of a table in one language (record type 5).
struct TextOverride {
    int line = 0;
    std::uint16_t language = 9;
    std::uint8_t table = 0;
    std::uint8_t item = 0;
    std::string text;
};

struct Variable {
    int line = 0;
    std::string name;  // with its percent signs: "%InstallPath%"
    std::string value;
};

// What a file group or an entry needs of the selection: bit i stands for component (task) i, and
// a mask that is not 0 needs one of its parts selected (0: nothing needed).
struct ChoiceCondition {
    std::uint32_t components = 0;
    std::uint32_t tasks = 0;
};

// A part of the product a person may choose to install (record 21).
struct Component {
    int line = 0;
    std::string id;  // letters, digits, '-', '_' and '.'; unique ignoring case
    std::string name, description;
    bool isDefault = true;
    bool fixed = false;  // always installed
    int parent = -1;     // the parent's index among the components, always before this one
};

// Something setup does besides copying files, chosen like a component (record 22).
struct Task {
    int line = 0;
    std::string id, name, description;
    bool isDefault = false;
    int group = 0;  // 0: none; the tasks of one group are a choice of one
};

// A named selection of components (record 23).
struct SetupType {
    int line = 0;
    std::string id, name;
    std::uint32_t components = 0;  // bit i: component i
    bool custom = false;           // stands for the person's own choice (kSetupTypeCustom)
};

// A group of files: the names are checked here, the file-group builder turns them into its own
// values.
struct FileGroup {
    int line = 0;
    std::filesystem::path sourceDir;
    std::vector<std::string> include{"**"};
    std::vector<std::string> exclude;
    std::string targetFolder = "%InstallPath%";
    std::string overwrite = "newer";          // always, newer, newer-or-same, older, never
    std::string decide = "version-and-date";  // date, version, version-and-date
    bool shared = false;
    std::string compression = "auto";  // auto, stored, compressed, zlib, lzma2
    ChoiceCondition condition;
};

// A record whose payload is one field string (shortcut, registry, INI, association, program,
// DLL call); the string is already joined and checked.
struct FieldRecord {
    int line = 0;
    std::int32_t type = 0;
    std::string fields;
    ChoiceCondition condition;
};

struct Requirements {
    std::string windows, directX, ie, access;
    bool administrator = false;
    bool any() const {
        return administrator || !windows.empty() || !directX.empty() || !ie.empty() ||
               !access.empty();
    }
};

struct Project {
    std::filesystem::path file;  // the project file, absolute
    // The code page of every text, name and path the image gives the engine, and so the
    // edition of the engine the image needs.
    TextEncoding encoding = TextEncoding::Windows1252;
    std::string shortName;
    std::string name;
    bool makerLink = true;
    std::string makerText;  // [look] maker-text: shown instead of the engine's name
    // The processor the product is built for (kArchitecture*): x86 installs in the 32-bit
    // places, x64 and arm64 in the system's native ones.
    std::uint8_t architecture = 0;
    // For whom it installs (kScope*), and the choice a "choose" product starts from.
    std::uint8_t scope = 0;
    std::uint8_t defaultScope = 0;
    // What the run does with programs that hold files in use (kCloseApplications*).
    std::uint8_t closeApplications = 0;
    // How the files are compressed where their group does not say: "zlib" (each file deflated)
    // or "lzma2" (in solid blocks of blockSizeMiB, through the x86 filter as compressionFilter
    // says: auto, x86 or none).
    std::string compression = "zlib";
    std::uint32_t blockSizeMiB = 64;
    std::string compressionFilter = "auto";
    // For the list of installed programs; empty: not given.
    std::string version, publisher, aboutUrl, helpUrl;
    bool allowDowngrade = false;  // an older version may replace a newer installed one

    FontSpec normalFont, titleFont;
    std::uint32_t pageColor = 0x02000000;   // system window colour
    std::uint32_t frameColor = 0x01000000;  // system button-face colour
    std::uint32_t headerColor = 0x02000000;
    std::optional<std::uint32_t> accentColor;  // a colour value
    bool compactLayout = false;
    bool fullColorWelcome = false;
    std::optional<Background> background;

    std::uint8_t pages[12] = {};                         // per wizard page: shown
    std::optional<std::string> licenseText, readmeText;  // in UTF-8 projects, rich text

    std::vector<std::uint16_t> languages{9};
    bool autoSelectLanguage = true;
    std::vector<TextOverride> texts;

    std::vector<Variable> variables;
    // What a person may choose: at most kChoiceLimit components (each after its parent) and
    // tasks, and kSetupTypeLimit setup types.
    std::vector<Component> components;
    std::vector<Task> tasks;
    std::vector<SetupType> setupTypes;
    bool hasChoices() const { return !components.empty() || !tasks.empty(); }
    std::vector<FileGroup> fileGroups;
    std::vector<FieldRecord> entries;  // in file order per kind: shortcuts, registry, ...

    bool allowGroupChoice = false, allowDesktopChoice = false, allowQuickLaunchChoice = false;
    bool restart = false;
    bool uninstaller = true;
    std::string previousLocation;  // "root,subkey,value name" or empty
    std::string finishRun, finishView;
    Requirements requirements;
};

// -D NAME=VALUE from the command line: defines a variable or replaces its value.
using Definitions = std::vector<std::pair<std::string, std::string>>;

// Told of every table the reader reads and of every key it looks up in one, present or not, as
// it reads: what a check of the format's documentation needs to know. The reader works the same
// with or without one.
class KeyListener {
  public:
    virtual ~KeyListener() = default;
    // `table` as written in TOML: "[product]", "[[files]]", "[look.font]"; empty for the file's
    // top level, whose keys are the tables. `key` empty: the table itself, read (present is
    // true then).
    virtual void lookedUp(const std::string& table, const std::string& key, bool present) = 0;
};

// The variable of that name ("%Name%", in any case) among `variables`, or null.
const Variable* findVariable(const std::vector<Variable>& variables, const std::string& name);

// Reads and checks a project file. Every problem is reported to `diagnostics` with its line;
// the result is meaningful only when diagnostics.failed() is false afterwards.
Project readProject(const std::filesystem::path& file, const Definitions& definitions,
                    Diagnostics& diagnostics);

// The same from text (`file` only names it and anchors relative paths), telling `keys`, when
// given, of each table and key it reads.
Project parseProject(const std::string& text, const std::filesystem::path& file,
                     const Definitions& definitions, Diagnostics& diagnostics,
                     KeyListener* keys = nullptr);

}  // namespace kelvara::build
