// The project file reader: one function per top-level table of the file. Names become the
// engine's numbers here, and every value the engine's formats cannot carry is refused with its
// line; the entries that become records are read by the entry reader.
#include "kelvara-build/project/project.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>
#include <toml++/toml.h>

#include "formats/package_format.h"
#include "formats/requirement_keywords.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "kelvara-build/common/file_bytes.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/entry_reader.h"
#include "kelvara-build/project/project_names.h"
#include "kelvara-build/project/table_reader.h"
#include "runtime/registry_roots.h"

namespace kelvara::build {
namespace {

constexpr std::size_t kFaceLimit = 31;  // a font face name, without its terminator

// A path on the building machine from its UTF-8 text (a std::string would be read in the
// system's code page where that is not UTF-8).
std::filesystem::path hostPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class ProjectParser {
  public:
    ProjectParser(Project& project, Diagnostics& diagnostics, KeyListener* keys)
        : p_(project), d_(diagnostics), keys_(keys), baseDir_(project.file.parent_path()) {}

    void parse(const toml::table& root, const Definitions& definitions);

  private:
    void encoding(const toml::table& root);
    void product(TableReader& root);
    void look(TableReader& root);
    void font(TableReader& look, const std::string& key, FontSpec& font);
    std::optional<std::uint32_t> colorValue(TableReader& table, const std::string& key);
    std::optional<std::uint32_t> rgb(TableReader& table, const std::string& key);
    void background(const toml::table& table);
    void backgroundLine(const toml::table& table, int index);
    void pages(TableReader& root);
    std::optional<std::string> textFile(TableReader& table, const std::string& key);
    // What the engine's limits on texts count: bytes, which in Windows-1252 are characters.
    const char* faceUnits() const {
        return p_.encoding == TextEncoding::Utf8 ? "bytes (in UTF-8)" : "characters";
    }
    void languages(TableReader& root);
    void texts(const toml::node& node);
    void variables(TableReader& root);
    void applyDefinitions(const Definitions& definitions);
    void defaultVariables();
    void fileGroups(const toml::node& node);
    void install(TableReader& root);
    void startMenu(TableReader& root);
    void finish(TableReader& root);
    void requirements(TableReader& root);
    void checkConsistency();

    // Calls each() for every table of an array of tables (reporting anything else).
    template <class Each>
    void eachTable(const toml::node& node, const std::string& name, Each each);

    Project& p_;
    Diagnostics& d_;
    KeyListener* keys_;
    std::filesystem::path baseDir_;
    int pagesLine_ = 0;
    // Whether [pages] names the files at all (a named file that cannot be read has its own error).
    bool licenseNamed_ = false;
    bool readmeNamed_ = false;
};

template <class Each>
void ProjectParser::eachTable(const toml::node& node, const std::string& name, Each each) {
    const toml::array* array = node.as_array();
    if (!array || !array->is_array_of_tables()) {
        d_.error(lineOf(node), "'" + name + "' must be written as [[" + name + "]] tables");
        return;
    }
    for (const toml::node& item : *array) each(*item.as_table());
}

void ProjectParser::parse(const toml::table& root, const Definitions& definitions) {
    encoding(root);
    TableReader top(root, kTopLevel, d_, p_.encoding, keys_);
    product(top);
    look(top);
    pages(top);
    languages(top);
    if (const toml::node* node = top.node("texts")) texts(*node);
    variables(top);
    applyDefinitions(definitions);
    defaultVariables();
    if (const toml::node* node = top.node("files")) fileGroups(*node);
    for (const char* kind : entryKinds()) {
        if (const toml::node* node = top.node(kind)) {
            eachTable(*node, kind,
                      [&](const toml::table& t) { readEntry(p_, d_, kind, t, keys_); });
        }
    }
    install(top);
    startMenu(top);
    finish(top);
    requirements(top);
    checkConsistency();
}

// The encoding governs every text of the file, wherever it stands, so it is read before any.
// [product] reads the key again only to know it; a missing or wrong [product] is its business.
void ProjectParser::encoding(const toml::table& root) {
    const toml::node* product = root.get("product");
    const toml::table* table = product ? product->as_table() : nullptr;
    const toml::node* node = table ? table->get("encoding") : nullptr;
    if (!node) return;
    const auto* value = node->as_string();
    if (!value) {
        d_.error(lineOf(*node), "'encoding' in [product] must be a text");
        return;
    }
    std::optional<TextEncoding> named = encodingNamed(value->get());
    if (!named) {
        d_.error(lineOf(*node),
                 "unknown encoding '" + value->get() + "'; use \"windows-1252\" or \"utf-8\"");
        return;
    }
    p_.encoding = *named;
}

void ProjectParser::product(TableReader& root) {
    const toml::table* table = root.table("product");
    if (!table) {
        d_.error(root.line(), "the project needs a [product] table with its name");
        return;
    }
    TableReader r(*table, "[product]", d_, p_.encoding, keys_);
    r.node("encoding");  // read by encoding()
    p_.name = r.text("name").value_or("");
    p_.shortName = r.text("short-name").value_or(p_.name);
    p_.makerLink = r.boolean("maker-link", true);
    p_.version = r.text("version").value_or("");
    p_.publisher = r.text("publisher").value_or("");
    p_.aboutUrl = r.text("url").value_or("");
    p_.helpUrl = r.text("help-url").value_or("");
    // Checked as read: reading a key again would report its conversion error twice.
    const std::pair<const char*, const std::string*> details[] = {{"version", &p_.version},
                                                                  {"publisher", &p_.publisher},
                                                                  {"url", &p_.aboutUrl},
                                                                  {"help-url", &p_.helpUrl}};
    for (const auto& [key, value] : details) {
        if (hasLineBreak(*value))
            r.error(key, std::string("'") + key + "' may not contain a line break");
    }
    if (p_.name.empty()) d_.error(r.line(), "[product] needs a 'name'");
    if (hasLineBreak(p_.name) || hasLineBreak(p_.shortName)) {
        d_.error(r.line(), "product names may not contain a line break");
    }
    // The short name becomes a registry key name in the uninstall registration.
    if (p_.shortName.find('\\') != std::string::npos) {
        r.error("short-name", "'short-name' may not contain a backslash: it names a registry key");
    }
}

std::optional<std::uint32_t> ProjectParser::rgb(TableReader& table, const std::string& key) {
    std::optional<std::string> text = table.text(key);
    if (!text) return std::nullopt;
    std::optional<std::uint32_t> value = parseRgb(*text);
    if (!value) {
        table.error(key, "'" + key + "' in " + table.where() + ": '" + *text +
                             "' is not a colour; write \"#RRGGBB\"");
    }
    return value;
}

std::optional<std::uint32_t> ProjectParser::colorValue(TableReader& table, const std::string& key) {
    std::optional<std::string> text = table.text(key);
    if (!text) return std::nullopt;
    if (lower(*text) == "window") return kColorSystemWindow;
    if (lower(*text) == "button-face") return kColorSystemButtonFace;
    if (std::optional<std::uint32_t> value = parseRgb(*text)) return rgbNumberToColor(*value);
    table.error(key, "'" + key + "' in " + table.where() + ": '" + *text +
                         "' is not a colour; write \"#RRGGBB\", \"window\" or \"button-face\"");
    return std::nullopt;
}

void ProjectParser::font(TableReader& look, const std::string& key, FontSpec& font) {
    const toml::table* table = look.table(key);
    if (!table) return;
    TableReader r(*table, "[look." + key + "]", d_, p_.encoding, keys_);
    font.face = r.text("face").value_or("");
    font.rgb = rgb(r, "colour").value_or(0);
    if (font.face.size() > kFaceLimit) {
        r.error("face", "font face '" + font.face + "' is longer than 31 " + faceUnits());
    }
    if (font.face.find_first_of(",\r\n") != std::string::npos) {
        r.error("face", "font face '" + font.face + "' may not contain a comma or line break");
    }
}

void ProjectParser::look(TableReader& root) {
    const toml::table* table = root.table("look");
    if (!table) return;
    TableReader r(*table, "[look]", d_, p_.encoding, keys_);
    if (std::optional<std::string> layout = r.text("layout")) {
        if (*layout == "compact") {
            p_.compactLayout = true;
        } else if (*layout != "standard") {
            r.error("layout", "unknown layout '" + *layout + "'; use \"standard\" or \"compact\"");
        }
    }
    p_.fullColorWelcome = r.boolean("full-colour-welcome", false);
    p_.pageColor = colorValue(r, "page-colour").value_or(p_.pageColor);
    p_.frameColor = colorValue(r, "frame-colour").value_or(p_.frameColor);
    p_.headerColor = colorValue(r, "header-colour").value_or(p_.headerColor);
    if (auto accent = colorValue(r, "accent-colour")) {
        // The stripe is drawn in the colour's red, green and blue alone: a system colour's
        // marker would make it black.
        if (*accent & 0xFF000000u) {
            r.error("accent-colour",
                    "'accent-colour' in " + r.where() + " takes \"#RRGGBB\", not a system colour");
        } else {
            p_.accentColor = accent;
        }
    }
    font(r, "font", p_.normalFont);
    font(r, "title-font", p_.titleFont);
    if (const toml::table* bg = r.table("background")) background(*bg);
}

void ProjectParser::background(const toml::table& table) {
    TableReader r(table, "[look.background]", d_, p_.encoding, keys_);
    Background bg;
    std::optional<std::uint32_t> top = rgb(r, "top");
    std::optional<std::uint32_t> bottom = rgb(r, "bottom");
    if (!r.node("top") || !r.node("bottom")) {
        d_.error(r.line(), "[look.background] needs the colours 'top' and 'bottom'");
    }
    bg.topRgb = top.value_or(0);
    bg.bottomRgb = bottom.value_or(0);
    bg.captioned = r.boolean("captioned", false);
    p_.background = bg;
    if (const toml::node* lines = r.node("lines")) {
        int index = 0;
        eachTable(*lines, "look.background.lines",
                  [&](const toml::table& t) { backgroundLine(t, index++); });
        if (index > 2) {
            d_.warning(lineOf(*lines), "only the first two background lines are drawn");
        }
    }
}

void ProjectParser::backgroundLine(const toml::table& table, int index) {
    TableReader r(table, "[[look.background.lines]]", d_, p_.encoding, keys_);
    std::string text = r.text("text").value_or("");
    if (text.find('"') != std::string::npos || hasLineBreak(text)) {
        r.error("text", "a background line may not contain a double quote or a line break");
    }
    std::string align = r.text("align").value_or("left");
    std::string from = r.text("from").value_or("top");
    if (align != "left" && align != "right") r.error("align", "'align' is \"left\" or \"right\"");
    if (from != "top" && from != "bottom") r.error("from", "'from' is \"top\" or \"bottom\"");
    auto x = r.integer("x", -100000, 100000).value_or(0);
    auto y = r.integer("y", -100000, 100000).value_or(0);
    std::string face = r.text("font").value_or("");
    if (face.size() > kFaceLimit || face.find_first_of(",\r\n") != std::string::npos) {
        r.error("font",
                "font face '" + face + "' is longer than 31 " + faceUnits() + " or holds a comma");
    }
    auto size = r.integer("size", 0, 1000).value_or(0);
    auto width = r.integer("width", 0, 1000).value_or(0);
    auto weight = r.integer("weight", 0, 900).value_or(0);
    if (weight % 100 != 0)
        r.error("weight", "'weight' is a multiple of 100 (400 normal, 700 bold)");
    bool italic = r.boolean("italic", false);
    bool underline = r.boolean("underline", false);
    std::uint32_t colour = rgb(r, "colour").value_or(0);
    auto shadow = r.integer("shadow", 0, 100).value_or(0);
    std::uint32_t shadowColour = rgb(r, "shadow-colour").value_or(0);
    char hex[2][16];
    std::snprintf(hex[0], sizeof hex[0], "0x%06X", colour);
    std::snprintf(hex[1], sizeof hex[1], "0x%06X", shadowColour);
    std::ostringstream fields;
    fields << '"' << text << "\"," << align << ',' << from << ',' << x << ',' << y << ',' << face
           << ',' << size << ',' << width << ',' << weight / 100 << ',' << (italic ? 1 : 0) << ','
           << (underline ? 1 : 0) << ',' << hex[0] << ',' << shadow << ',' << hex[1];
    (void)index;
    p_.background->lines.push_back({r.line(), fields.str()});
}

std::optional<std::string> ProjectParser::textFile(TableReader& table, const std::string& key) {
    std::optional<std::string> name = table.hostText(key);
    if (!name) return std::nullopt;
    std::filesystem::path path = baseDir_ / hostPath(*name);
    std::optional<std::vector<unsigned char>> content = readFileBytes(path);
    if (!content) {
        table.error(key, "cannot read " + key + " file '" + path.string() + "'");
        return std::nullopt;
    }
    std::string bytes(content->begin(), content->end());
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    if (bytes.find('\0') != std::string::npos) {
        table.error(key, "'" + path.string() + "' holds a NUL byte; it must be a text file");
        return std::nullopt;
    }
    if (p_.encoding == TextEncoding::Utf8) {
        if (!isUtf8(bytes)) {
            table.error(key, "'" + path.string() + "' is not valid UTF-8: a project with " +
                                 "encoding = \"utf-8\" takes its " + key + " file in UTF-8");
            return std::nullopt;
        }
        // Rich text escapes its characters outside ASCII: the control shows them whatever its
        // code page.
        return richTextOf(bytes);
    }
    // UTF-8 files become Windows-1252; a file that is not UTF-8 is taken as already 8-bit.
    if (std::optional<std::string> ansi = toAnsi(bytes)) return ansi;
    return bytes;
}

void ProjectParser::pages(TableReader& root) {
    const toml::table* table = root.table("pages");
    std::vector<std::string> shown(std::begin(kDefaultPages), std::end(kDefaultPages));
    if (table) {
        TableReader r(*table, "[pages]", d_, p_.encoding, keys_);
        if (auto names = r.texts("show")) shown = *names;
        if (!r.node("show")) {
            // keep the default pages
        }
        for (const std::string& name : shown) {
            if (!pageNumber(name)) {
                r.error("show", "unknown page '" + name +
                                    "'; pages are language, welcome, licence, readme, "
                                    "destination, start-menu, ready, installing, finish");
            }
        }
        pagesLine_ = r.lineOf("show");
        licenseNamed_ = r.node("licence") != nullptr;
        readmeNamed_ = r.node("readme") != nullptr;
        p_.licenseText = textFile(r, "licence");
        p_.readmeText = textFile(r, "readme");
    }
    for (const std::string& name : shown) {
        if (std::optional<int> page = pageNumber(name)) p_.pages[*page] = 1;
    }
}

void ProjectParser::languages(TableReader& root) {
    const toml::table* table = root.table("languages");
    if (!table) return;
    TableReader r(*table, "[languages]", d_, p_.encoding, keys_);
    p_.autoSelectLanguage = r.boolean("auto-select", true);
    std::optional<std::vector<std::string>> names = r.texts("offer");
    if (!names) return;
    p_.languages.clear();
    for (const std::string& name : *names) {
        int number = languageNumber(name);
        if (number < 0) {
            r.error("offer", "unknown language '" + name + "'");
        } else if (std::find(p_.languages.begin(), p_.languages.end(), number) !=
                   p_.languages.end()) {
            r.error("offer", "language '" + name + "' is offered twice");
        } else {
            p_.languages.push_back(static_cast<std::uint16_t>(number));
        }
    }
    if (names->empty()) r.error("offer", "'offer' needs at least one language");
}

void ProjectParser::texts(const toml::node& node) {
    eachTable(node, "texts", [&](const toml::table& t) {
        TableReader r(t, "[[texts]]", d_, p_.encoding, keys_);
        TextOverride text;
        text.line = r.line();
        std::string language = r.text("language").value_or("english");
        int number = languageNumber(language);
        if (number < 0) r.error("language", "unknown language '" + language + "'");
        text.language = static_cast<std::uint16_t>(std::max(number, 0));
        std::optional<std::string> table = r.text("table");
        std::optional<int> code = table ? tableNumber(*table) : std::nullopt;
        if (!table) d_.error(r.line(), "[[texts]] needs a 'table'");
        if (table && !code) {
            r.error("table", "unknown text table '" + *table +
                                 "'; tables are setup-messages, error-messages, buttons, "
                                 "uninstaller and the page names");
        }
        text.table = static_cast<std::uint8_t>(code.value_or(0));
        std::optional<std::int64_t> item = r.integer("item", 0, 255);
        if (!r.node("item")) d_.error(r.line(), "[[texts]] needs an 'item' number");
        text.item = static_cast<std::uint8_t>(item.value_or(0));
        std::optional<std::string> value = r.text("text");
        if (!value) d_.error(r.line(), "[[texts]] needs a 'text'");
        text.text = value.value_or("");
        p_.texts.push_back(text);
    });
}

void ProjectParser::variables(TableReader& root) {
    const toml::table* table = root.table("variables");
    if (!table) return;
    // Definition order matters to expansion, and a table does not keep it: sort by position.
    std::vector<std::pair<toml::source_position, std::string>> order;
    for (const auto& [key, value] : *table) {
        order.emplace_back(value.source().begin, std::string(key.str()));
    }
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return a.first.line != b.first.line ? a.first.line < b.first.line
                                            : a.first.column < b.first.column;
    });
    TableReader r(*table, "[variables]", d_, p_.encoding, keys_);
    for (const auto& [position, key] : order) {
        std::optional<std::string> value = r.text(key);
        int line = static_cast<int>(position.line);
        if (key.empty() || key.find_first_of("%,\r\n ") != std::string::npos) {
            d_.error(line, "variable name '" + key +
                               "' may not be empty or contain '%', a comma, a blank or a line "
                               "break");
            continue;
        }
        // The name goes into the script as the texts that use it are written: in the engine's
        // code page.
        std::optional<std::string> name = toEngineText(key, p_.encoding);
        if (!name) {
            d_.error(line, "variable name '" + key + "' holds " + unwritableText(p_.encoding));
            continue;
        }
        if (value && hasLineBreak(*value)) {
            d_.error(line, "the value of variable '" + key + "' may not contain a line break");
        }
        p_.variables.push_back({line, "%" + *name + "%", value.value_or("")});
    }
}

void ProjectParser::applyDefinitions(const Definitions& definitions) {
    for (const auto& [rawName, rawValue] : definitions) {
        std::string name = rawName;
        if (name.size() >= 2 && name.front() == '%' && name.back() == '%') {
            name = name.substr(1, name.size() - 2);
        }
        std::optional<std::string> value = toEngineText(rawValue, p_.encoding);
        std::optional<std::string> engineName = toEngineText(name, p_.encoding);
        if (name.empty() || name.find_first_of("%,\r\n ") != std::string::npos || !value ||
            !engineName || hasLineBreak(*value)) {
            d_.error(0, "-D " + rawName + ": not a valid variable definition" +
                            (value && engineName
                                 ? std::string()
                                 : std::string(" (it holds ") + unwritableText(p_.encoding) + ")"));
            continue;
        }
        std::string full = "%" + *engineName + "%";
        auto same = std::find_if(p_.variables.begin(), p_.variables.end(),
                                 [&](const Variable& v) { return lower(v.name) == lower(full); });
        if (same != p_.variables.end()) {
            same->value = *value;
        } else {
            p_.variables.push_back({0, full, *value});
        }
    }
}

void ProjectParser::defaultVariables() {
    auto defineIfMissing = [&](const std::string& name, const std::string& value) {
        bool present = std::any_of(p_.variables.begin(), p_.variables.end(),
                                   [&](const Variable& v) { return lower(v.name) == lower(name); });
        if (!present) p_.variables.push_back({0, name, value});
    };
    defineIfMissing("%InstallPath%", "<ProgramFiles>\\" + p_.name);
    defineIfMissing("%ShortcutsGroup%", p_.name);
    defineIfMissing("%UninstallerFileName%", "uninstall.exe");
    // The default page texts name the product through these two.
    defineIfMissing("%ProductName%", p_.name);
    defineIfMissing("%ProductShortName%", p_.shortName);
}

void ProjectParser::fileGroups(const toml::node& node) {
    static const char* const kCompression[] = {"auto", "stored", "compressed"};
    auto oneOf = [](const std::string& value, const auto& names) {
        return std::find(std::begin(names), std::end(names), value) != std::end(names);
    };
    eachTable(node, "files", [&](const toml::table& t) {
        TableReader r(t, "[[files]]", d_, p_.encoding, keys_);
        FileGroup group;
        group.line = r.line();
        group.sourceDir = baseDir_ / hostPath(r.hostText("source").value_or("."));
        if (!std::filesystem::is_directory(group.sourceDir)) {
            r.error("source", "source folder '" + group.sourceDir.string() + "' does not exist");
        }
        // Patterns match the names as the file system gives them, in UTF-8.
        if (auto include = r.texts("include", true)) group.include = *include;
        if (auto exclude = r.texts("exclude", true)) group.exclude = *exclude;
        group.targetFolder = r.text("target").value_or(group.targetFolder);
        if (hasLineBreak(group.targetFolder) || group.targetFolder.empty()) {
            r.error("target", "'target' must be a folder without line breaks");
        }
        group.overwrite = r.text("overwrite").value_or(group.overwrite);
        if (!oneOf(group.overwrite, kOverwriteModeNames)) {
            r.error("overwrite", "unknown overwrite mode '" + group.overwrite +
                                     "'; use always, newer, newer-or-same, older or never");
        }
        group.decide = r.text("decide").value_or(group.decide);
        if (!oneOf(group.decide, kDecisionRuleNames)) {
            r.error("decide", "unknown decision rule '" + group.decide +
                                  "'; use date, version or version-and-date");
        }
        group.shared = r.boolean("shared", false);
        group.compression = r.text("compression").value_or(group.compression);
        if (!oneOf(group.compression, kCompression)) {
            r.error("compression", "unknown compression '" + group.compression +
                                       "'; use auto, stored or compressed");
        }
        p_.fileGroups.push_back(group);
    });
}

void ProjectParser::install(TableReader& root) {
    const toml::table* table = root.table("install");
    if (!table) return;
    TableReader r(*table, "[install]", d_, p_.encoding, keys_);
    p_.restart = r.boolean("restart", false);
    p_.uninstaller = r.boolean("uninstaller", true);
    if (const toml::table* previous = r.table("previous-location")) {
        TableReader location(*previous, "[install.previous-location]", d_, p_.encoding, keys_);
        std::string rootName = location.text("root").value_or("");
        for (char& c : rootName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string key = location.text("key").value_or("");
        std::string value = location.text("value").value_or("");
        bool known = false;
        for (int root = 0; root < kRegistryRootCount; ++root)
            known |= rootName == rootKeyName(root);
        if (!known) {
            location.error("root", "unknown registry root '" + rootName +
                                       "'; use HKCR, HKCU, HKLM, HKU, HKPD, HKCC or HKDD");
        }
        if (key.empty()) d_.error(location.line(), "'previous-location' needs a 'key'");
        for (const std::string* part : {&key, &value}) {
            if (part->find_first_of(",\r\n") != std::string::npos) {
                d_.error(location.line(),
                         "'previous-location' fields may not contain a comma or line break");
            }
        }
        p_.previousLocation = rootName + "," + key + "," + value;
    }
}

void ProjectParser::startMenu(TableReader& root) {
    const toml::table* table = root.table("start-menu");
    if (!table) return;
    TableReader r(*table, "[start-menu]", d_, p_.encoding, keys_);
    p_.allowGroupChoice = r.boolean("group-choice", false);
    p_.allowDesktopChoice = r.boolean("desktop-choice", false);
    p_.allowQuickLaunchChoice = r.boolean("quick-launch-choice", false);
}

void ProjectParser::finish(TableReader& root) {
    const toml::table* table = root.table("finish");
    if (!table) return;
    TableReader r(*table, "[finish]", d_, p_.encoding, keys_);
    p_.finishRun = r.text("run").value_or("");
    p_.finishView = r.text("view").value_or("");
    if (hasLineBreak(p_.finishRun) || hasLineBreak(p_.finishView)) {
        d_.error(r.line(), "finish items may not contain a line break");
    }
}

void ProjectParser::requirements(TableReader& root) {
    const toml::table* table = root.table("requirements");
    if (!table) return;
    TableReader r(*table, "[requirements]", d_, p_.encoding, keys_);
    struct Keywords {
        const char* key;
        std::string Requirements::*field;
        std::vector<const char*> words;
    };
    auto words = [](const auto& keywords) {
        return std::vector<const char*>(std::begin(keywords), std::end(keywords));
    };
    const Keywords kinds[] = {
        {"windows", &Requirements::windows, words(kWindowsRequirementKeywords)},
        {"directx", &Requirements::directX, words(kDirectXRequirementKeywords)},
        {"ie", &Requirements::ie, words(kIeRequirementKeywords)},
        {"access", &Requirements::access, words(kAccessRequirementKeywords)},
    };
    for (const Keywords& kind : kinds) {
        std::optional<std::string> value = r.text(kind.key);
        if (!value) continue;
        auto match = std::find_if(kind.words.begin(), kind.words.end(),
                                  [&](const char* word) { return lower(word) == lower(*value); });
        if (match == kind.words.end()) {
            std::string known;
            for (const char* word : kind.words)
                known += (known.empty() ? "" : ", ") + std::string(word);
            r.error(kind.key, "unknown " + std::string(kind.key) + " requirement '" + *value +
                                  "'; known: " + known);
            continue;
        }
        p_.requirements.*kind.field = *match;
    }
    p_.requirements.administrator = r.boolean("administrator", false);
}

void ProjectParser::checkConsistency() {
    if (p_.pages[kPageLicense] && !p_.licenseText && !licenseNamed_) {
        d_.error(pagesLine_, "the licence page is shown but [pages] names no 'licence' file");
    }
    if (p_.pages[kPageReadme] && !p_.readmeText && !readmeNamed_) {
        d_.error(pagesLine_, "the readme page is shown but [pages] names no 'readme' file");
    }
    if (p_.languages.size() > 1 && !p_.pages[kPageLanguage]) {
        d_.warning(0, "several languages are offered but the language page is not shown");
    }
    // An empty name would put the uninstaller on the installation folder's own path.
    for (const Variable& v : p_.variables) {
        if (p_.uninstaller && lower(v.name) == "%uninstallerfilename%" &&
            v.value.find_first_not_of(" \t") == std::string::npos) {
            d_.error(v.line, "%UninstallerFileName% may not be empty: it names the uninstaller");
            break;
        }
    }
}

}  // namespace

Project parseProject(const std::string& text, const std::filesystem::path& file,
                     const Definitions& definitions, Diagnostics& diagnostics, KeyListener* keys) {
    Project project;
    project.file = std::filesystem::absolute(file);
    const AsciiToml ascii = asAsciiToml(text);
    if (ascii.problemLine) {
        diagnostics.error(ascii.problemLine, ascii.problem);
        return project;
    }
    toml::table root;
    try {
        root = toml::parse(ascii.text, file.string());
    } catch (const toml::parse_error& error) {
        diagnostics.error(static_cast<int>(error.source().begin.line),
                          std::string(error.description()));
        return project;
    }
    ProjectParser(project, diagnostics, keys).parse(root, definitions);
    return project;
}

Project readProject(const std::filesystem::path& file, const Definitions& definitions,
                    Diagnostics& diagnostics) {
    std::optional<std::vector<unsigned char>> text = readFileBytes(file);
    if (!text) {
        diagnostics.error(0, "cannot read the project file");
        return Project{};
    }
    return parseProject(std::string(text->begin(), text->end()), file, definitions, diagnostics);
}

}  // namespace kelvara::build
