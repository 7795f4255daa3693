// docs/project-format.md against the project reader: the page documents every table and key the
// reader accepts, and nothing else; it lists the engine's folder tokens; its examples read
// without a wrong key or value.
//
// The page is read as plain Markdown: a "## " heading opens a section, and a section named like
// a table ("## [look.background]", "## [[files]]") documents the keys of the rows whose first
// cell is a bare key in backticks (| `top` | type | default | what it does |). Fenced code is
// skipped, except that ```toml blocks are the examples.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "formats/folder_token_names.h"
#include "kelvara-build/project/project.h"
#include "markdown_tables.h"

using namespace kelvara::build;

namespace {

const std::filesystem::path kFormatPage = KELVARA_FORMAT_DOC;
// Every table once, with every key of each: what the reader is watched reading.
const std::filesystem::path kEveryKeyProject =
    std::filesystem::path(KELVARA_TEST_DATA) / "every_key" / "project.toml";

struct Row {
    int line = 0;
    std::vector<std::string> cells;  // trimmed, the first one included
};

struct Section {
    int line = 0;
    std::map<std::string, Row> rows;  // by the text between the first cell's backticks
};

struct Page {
    std::map<std::string, Section> sections;            // by heading text
    std::vector<std::pair<int, std::string>> examples;  // ```toml blocks: first line, text
    std::vector<std::string> problems;                  // repeated sections or rows
};

// The text of a cell that is one code span ("`top`"), or empty.
std::string codeOf(const std::string& cell) {
    if (cell.size() < 3 || cell.front() != '`' || cell.back() != '`') return "";
    std::string code = cell.substr(1, cell.size() - 2);
    return code.find('`') == std::string::npos ? code : "";
}

// A TOML bare key: what the reader's keys are written as.
bool isBareKey(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') return false;
    }
    return true;
}

bool isTableHeading(const std::string& heading) {
    return !heading.empty() && heading.front() == '[';
}

Page readPage(const std::filesystem::path& file) {
    Page page;
    std::ifstream in(file);
    std::string line;
    int number = 0;
    Section* section = nullptr;
    std::string sectionName;
    bool inFence = false, inExample = false;
    std::string example;
    int exampleLine = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string text = trim(line);
        if (text.rfind("```", 0) == 0) {
            if (inFence && inExample) page.examples.emplace_back(exampleLine, example);
            inExample = !inFence && trim(text.substr(3)) == "toml";
            inFence = !inFence;
            example.clear();
            exampleLine = number + 1;
            continue;
        }
        if (inFence) {
            if (inExample) example += line + "\n";
            continue;
        }
        if (text.rfind("# ", 0) == 0) {
            section = nullptr;
        } else if (text.rfind("## ", 0) == 0) {
            sectionName = trim(text.substr(3));
            if (page.sections.count(sectionName)) {
                page.problems.push_back("line " + std::to_string(number) + ": a second '## " +
                                        sectionName + "' section");
            }
            section = &page.sections[sectionName];
            section->line = number;
        } else if (section && text.rfind('|', 0) == 0) {
            Row row{number, cellsOf(text)};
            std::string code = codeOf(row.cells.front());
            if (code.empty()) continue;
            if (section->rows.count(code)) {
                page.problems.push_back("line " + std::to_string(number) + ": `" + code +
                                        "` has a second row in '## " + sectionName + "'");
            }
            section->rows[code] = row;
        }
    }
    return page;
}

std::string pair(const std::string& table, const std::string& key) {
    return "(" + table + ", " + key + ")";
}

// A table the reader reads, or a key it looks up in one.
struct AcceptedKey {
    std::string table;  // "[product]", "[[files]]"; empty for the file's top level
    std::string key;    // empty: the table itself
    bool inSample;      // kEveryKeyProject holds the key
};

// Every table the reader reads and every key it looks up, in reading order, each once; a key
// present anywhere counts as in the project.
class AcceptedKeys final : public KeyListener {
  public:
    void lookedUp(const std::string& table, const std::string& key, bool present) override {
        for (AcceptedKey& known : keys) {
            if (known.table == table && known.key == key) {
                known.inSample = known.inSample || present;
                return;
            }
        }
        keys.push_back({table, key, present});
    }

    std::vector<AcceptedKey> keys;
};

// What the reader looks up while it reads kEveryKeyProject (the errors of the files that
// project names, which are not there, are ignored).
std::vector<AcceptedKey> acceptedKeys() {
    std::ifstream in(kEveryKeyProject, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    AcceptedKeys listener;
    Diagnostics ignored;
    parseProject(text.str(), kEveryKeyProject, {}, ignored, &listener);
    return listener.keys;
}

}  // namespace

TEST(ProjectFormatDoc, DocumentsEveryTableAndKeyTheReaderAcceptsAndNoOther) {
    ASSERT_TRUE(std::filesystem::exists(kEveryKeyProject)) << kEveryKeyProject;
    const std::vector<AcceptedKey> accepted = acceptedKeys();
    std::set<std::string> tables;                        // every table the reader read
    std::set<std::pair<std::string, std::string>> keys;  // (table, key), tables' own keys
    std::set<std::string> topLevel;                      // the file's top-level keys
    for (const AcceptedKey& k : accepted) {
        if (k.table.empty() && !k.key.empty()) topLevel.insert(k.key);
        if (!k.table.empty() && k.key.empty()) tables.insert(k.table);
        if (!k.table.empty() && !k.key.empty()) keys.insert({k.table, k.key});
        // A key the built-in project lacks may lead to a table that was then never read.
        EXPECT_TRUE(k.inSample) << pair(k.table.empty() ? "top level" : k.table, k.key)
                                << ": the reader looks this key up, but " << kEveryKeyProject
                                << " lacks it; add it there";
    }
    ASSERT_FALSE(topLevel.empty()) << "the reader read no table of " << kEveryKeyProject;
    ASSERT_FALSE(keys.empty());
    for (const std::string& name : topLevel) {
        EXPECT_TRUE(tables.count("[" + name + "]") || tables.count("[[" + name + "]]"))
            << "the top-level table '" << name << "' is accepted but was never read from "
            << kEveryKeyProject << "; add it there";
    }

    ASSERT_TRUE(std::filesystem::exists(kFormatPage)) << kFormatPage;
    const Page page = readPage(kFormatPage);
    for (const std::string& problem : page.problems) ADD_FAILURE() << problem;

    for (const std::string& table : tables) {
        EXPECT_TRUE(page.sections.count(table))
            << "table " << table << " has no '## " << table << "' section in " << kFormatPage;
    }
    for (const auto& [table, key] : keys) {
        auto section = page.sections.find(table);
        if (section == page.sections.end()) continue;  // reported above
        auto row = section->second.rows.find(key);
        if (row == section->second.rows.end()) {
            ADD_FAILURE() << pair(table, key) << " is accepted but has no row under '## " << table
                          << "' (line " << section->second.line << ")";
            continue;
        }
        // Key, type, default, what it does: none of them left empty.
        const std::vector<std::string>& cells = row->second.cells;
        bool complete = cells.size() >= 4;
        for (std::size_t i = 1; complete && i < 4; ++i) complete = !cells[i].empty();
        EXPECT_TRUE(complete) << pair(table, key) << " (line " << row->second.line
                              << "): the row needs its type, default and description";
    }

    // Nothing the reader would refuse as unknown.
    for (const auto& [heading, section] : page.sections) {
        if (!isTableHeading(heading)) continue;
        if (!tables.count(heading)) {
            ADD_FAILURE() << "'## " << heading << "' (line " << section.line
                          << ") documents a table the builder does not read";
            continue;
        }
        for (const auto& [key, row] : section.rows) {
            if (!isBareKey(key)) continue;
            EXPECT_TRUE(keys.count({heading, key}))
                << pair(heading, key) << " (line " << row.line
                << ") is documented but the builder does not accept it";
        }
    }
}

TEST(ProjectFormatDoc, ListsEveryFolderTokenOfTheEngineAndNoOther) {
    const Page page = readPage(kFormatPage);
    auto section = page.sections.find("Folder tokens");
    ASSERT_NE(section, page.sections.end()) << "no '## Folder tokens' section in " << kFormatPage;
    std::set<std::string> engine(std::begin(kelvara::kFolderTokenNames),
                                 std::end(kelvara::kFolderTokenNames));
    ASSERT_EQ(engine.size(), static_cast<std::size_t>(kelvara::kFolderTokenCount));
    for (const std::string& token : engine) {
        auto row = section->second.rows.find(token);
        EXPECT_TRUE(row != section->second.rows.end() && row->second.cells.size() >= 2 &&
                    !row->second.cells[1].empty())
            << token << " has no described row under '## Folder tokens'";
    }
    for (const auto& [code, row] : section->second.rows) {
        if (code.empty() || code.front() != '<') continue;
        EXPECT_TRUE(engine.count(code))
            << code << " (line " << row.line << ") is not a folder token of the engine";
    }
}

// Every example reads with no error but those of files it names, which are not beside the page.
TEST(ProjectFormatDoc, ExamplesUseOnlyKeysAndValuesTheReaderTakes) {
    const Page page = readPage(kFormatPage);
    ASSERT_GE(page.examples.size(), 20u) << "expected an example for each table";
    const char* const kMissingFileErrors[] = {"does not exist", "cannot read",
                                              "names no 'licence' file", "names no 'readme' file"};
    for (const auto& [line, text] : page.examples) {
        std::string project = text;
        if (text.find("[product]") == std::string::npos) {
            project = "[product]\nname = \"Example\"\n" + text;
        }
        Diagnostics diagnostics;
        parseProject(project, kFormatPage.parent_path() / "example.toml", {}, diagnostics);
        for (const std::string& error : diagnostics.errors()) {
            bool aboutFiles = false;
            for (const char* expected : kMissingFileErrors) {
                aboutFiles = aboutFiles || error.find(expected) != std::string::npos;
            }
            EXPECT_TRUE(aboutFiles) << "the example at line " << line << ": " << error;
        }
    }
}
