// [pages] with the licence and readme files, [languages] and [[texts]]: what the wizard shows,
// and in which languages.
#include "kelvara-build/project/project_parser.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "formats/message_catalogue.h"
#include "kelvara-build/common/file_bytes.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/languages/builtin_languages.h"
#include "kelvara-build/project/project_names.h"

namespace kelvara::build {
namespace {

// The %s a text holds ("%%" is a percent sign).
std::size_t placeholders(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (text[i + 1] == 's') ++count;
        ++i;
    }
    return count;
}

}  // namespace

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
        // Without a list, the defaults, and the choice pages of a project that has choices.
        pagesListed_ = r.node("show") != nullptr;
        for (const std::string& name : shown) {
            if (!pageNumber(name)) {
                r.error("show", "unknown page '" + name +
                                    "'; pages are language, welcome, licence, readme, "
                                    "components, scope, destination, tasks, start-menu, ready, "
                                    "installing, finish");
            }
        }
        pagesLine_ = r.lineOf("show");
        if (pagesListed_ && shown.empty()) {
            d_.warning(pagesLine_,
                       "[pages] 'show' lists no page: the wizard would show nothing and, "
                       "without the Installing page, install nothing (with no page at all the "
                       "setup ends at once with an error); list the pages, or leave 'show' out "
                       "for the default ones");
        }
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
            const BuiltinLanguage* builtin = builtinLanguage(number);
            if (builtin && builtin->needsUnicode && p_.encoding == TextEncoding::Windows1252) {
                r.error("offer", std::string(builtin->key) + " (" + builtin->code +
                                     ") has characters Windows-1252 lacks: it needs the Unicode "
                                     "edition, [product] encoding = \"utf-8\"");
            }
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
        // A message whose text has other %s than the engine fills shows a %s of its own where
        // the engine has nothing, or leaves out what it has (a file's name, the error).
        const MessageInfo* message = code ? findMessage(text.table, text.item) : nullptr;
        if (message && value && placeholders(text.text) != std::strlen(message->arguments)) {
            d_.warning(text.line,
                       "[[texts]] " + *table + " item " + std::to_string(text.item) +
                           " is shown with " + std::to_string(std::strlen(message->arguments)) +
                           " %s, and this text has " + std::to_string(placeholders(text.text)));
        }
        p_.texts.push_back(text);
    });
}

}  // namespace kelvara::build
