// The project reader while it reads one file. It has a member function per top-level table, or
// per few, each defined in the file that reads those tables (product_table.cpp,
// look_tables.cpp, wizard_tables.cpp, variables_table.cpp, choice_tables.cpp,
// install_tables.cpp); project.cpp runs them in order. Internal to the project folder.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <toml++/toml.h>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/project.h"
#include "kelvara-build/project/table_reader.h"

namespace kelvara::build {

// A path on the building machine from its UTF-8 text (a std::string would be read in the
// system's code page where that is not UTF-8).
inline std::filesystem::path hostPath(const std::string& utf8) {
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
    // [product]'s compression, block-size and compression-filter.
    void compressionKeys(TableReader& r);
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
    // The project's variable of that name ("%Name%", in any case), or null.
    Variable* findVariable(const std::string& name);
    std::string expandNow(const std::string& text, const std::string& key, int line);
    // [[components]], [[tasks]] and [[setup-types]], read before the tables that name them.
    void choices(TableReader& root);
    void components(const toml::node& node);
    void tasks(const toml::node& node);
    void setupTypes(const toml::node& node);
    // The components pages and tasks pages: shown by default for a project that has them.
    void checkChoicePages();
    void fileGroups(const toml::node& node);
    void install(TableReader& root);
    void startMenu(TableReader& root);
    void finish(TableReader& root);
    void requirements(TableReader& root);
    void checkConsistency();
    void warnOfThirtyTwoBitPlaces();
    void warnOfUndefinedVariables();
    void checkUserScope();

    // Calls each() for every table of an array of tables (reporting anything else).
    template <class Each>
    void eachTable(const toml::node& node, const std::string& name, Each each);

    Project& p_;
    Diagnostics& d_;
    KeyListener* keys_;
    std::filesystem::path baseDir_;
    int pagesLine_ = 0;
    bool pagesListed_ = false;  // [pages] show was given
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

}  // namespace kelvara::build
