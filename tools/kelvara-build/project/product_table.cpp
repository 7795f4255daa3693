// [product]: the names, the details for the list of installed programs, and the encoding of
// every text of the file.
#include "kelvara-build/project/project_parser.h"

#include <algorithm>

#include "formats/package_format.h"

#include "kelvara-build/common/text_conversion.h"
#include "formats/script_format.h"
#include "kelvara-build/project/project_names.h"

namespace kelvara::build {

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

void ProjectParser::compressionKeys(TableReader& r) {
    static const char* const kMethods[] = {"zlib", "lzma2"};
    static const char* const kFilters[] = {"auto", "x86", "none"};
    auto oneOf = [](const std::string& value, const auto& names) {
        return std::find(std::begin(names), std::end(names), value) != std::end(names);
    };
    p_.compression = r.text("compression").value_or(p_.compression);
    if (!oneOf(p_.compression, kMethods))
        r.error("compression", "unknown compression '" + p_.compression + "'; use zlib or lzma2");
    if (std::optional<std::int64_t> size = r.integer("block-size", 1, kLargestBlockContent >> 20)) {
        p_.blockSizeMiB = static_cast<std::uint32_t>(*size);
    }
    p_.compressionFilter = r.text("compression-filter").value_or(p_.compressionFilter);
    if (!oneOf(p_.compressionFilter, kFilters)) {
        r.error("compression-filter",
                "unknown compression-filter '" + p_.compressionFilter + "'; use auto, x86 or none");
    }
}

void ProjectParser::product(TableReader& root) {
    const toml::table* table = root.table("product");
    if (!table) {
        d_.error(root.line(), "the project needs a [product] table with its name");
        return;
    }
    TableReader r(*table, "[product]", d_, p_.encoding, keys_);
    r.node("encoding");  // read by encoding()
    auto expanded = [&](const char* key) {
        return expandNow(r.text(key).value_or(""), key, r.lineOf(key));
    };
    p_.name = expanded("name");
    p_.shortName = r.node("short-name") ? expanded("short-name") : p_.name;
    p_.makerLink = r.boolean("maker-link", true);
    if (std::optional<std::string> architecture = r.text("architecture")) {
        std::optional<int> value = lookUp(kArchitectureNames, *architecture);
        if (value) {
            p_.architecture = static_cast<std::uint8_t>(*value);
        } else {
            r.error("architecture",
                    "unknown architecture '" + *architecture + "'; use x86, x64 or arm64");
        }
    }
    if (std::optional<std::string> scope = r.text("scope")) {
        std::optional<int> value = lookUp(kScopeNames, *scope);
        if (value) {
            p_.scope = static_cast<std::uint8_t>(*value);
        } else {
            r.error("scope", "unknown scope '" + *scope + "'; use machine, user or choose");
        }
    }
    if (std::optional<std::string> choice = r.text("default-scope")) {
        std::optional<int> value = lookUp(kScopeNames, *choice);
        if (value && *value != kScopeChoose) {
            p_.defaultScope = static_cast<std::uint8_t>(*value);
        } else {
            r.error("default-scope",
                    "unknown default-scope '" + *choice + "'; use machine or user");
        }
        if (p_.scope != kScopeChoose)
            r.error("default-scope", "'default-scope' needs scope = \"choose\"");
    }
    if (std::optional<std::string> close = r.text("close-applications")) {
        std::optional<int> value = lookUp(kCloseApplicationsNames, *close);
        if (value) {
            p_.closeApplications = static_cast<std::uint8_t>(*value);
        } else {
            r.error("close-applications",
                    "unknown close-applications '" + *close + "'; use ask, never or force");
        }
    }
    compressionKeys(r);
    p_.version = expanded("version");
    p_.publisher = expanded("publisher");
    p_.aboutUrl = expanded("url");
    p_.helpUrl = expanded("help-url");
    p_.allowDowngrade = r.boolean("allow-downgrade", false);
    if (p_.allowDowngrade && p_.version.empty())
        r.error("allow-downgrade", "'allow-downgrade' needs a 'version' to compare");
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

}  // namespace kelvara::build
