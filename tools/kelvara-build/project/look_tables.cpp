// [look], its fonts and [look.background] with its lines: the wizard's layout and colours.
#include "kelvara-build/project/project_parser.h"

#include <cstdio>
#include <sstream>

#include "formats/color_values.h"
#include "formats/script_format.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/project_names.h"

namespace kelvara::build {
namespace {

constexpr std::size_t kFaceLimit = 31;  // a font face name, without its terminator

}  // namespace

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
    if (std::optional<std::string> maker = r.text("maker-text")) {
        if (hasLineBreak(*maker))
            r.error("maker-text", "'maker-text' may not contain a line break");
        p_.makerText = *maker;
        p_.makerLink = false;  // the text is the packager's own: no link to the engine's site
    }
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

}  // namespace kelvara::build
