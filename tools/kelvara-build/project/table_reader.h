// Reading one TOML table of a project: its keys by kind, each converted and checked, with
// every problem reported at its line, and every key the table holds but the reader never asked
// for reported as unknown.
#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>
#include <toml++/toml.h>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/project.h"

namespace kelvara::build {

// The line of a node of the file.
int lineOf(const toml::node& node);

// How the reader names the file's top level in its messages.
constexpr const char* kTopLevel = "the project";

class TableReader {
  public:
    // `encoding`: the code page the engine's texts are converted to. `keys`, when not null, is
    // told of the table and of every key looked up in it.
    TableReader(const toml::table& table, std::string where, Diagnostics& diagnostics,
                TextEncoding encoding, KeyListener* keys)
        : table_(table),
          where_(std::move(where)),
          diagnostics_(diagnostics),
          encoding_(encoding),
          keys_(keys) {
        noteLookUp("", true);
    }
    ~TableReader() { reportUnknownKeys(); }
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    // The node of a key (marked as known), or null when it is absent.
    const toml::node* node(const std::string& key);
    // A text converted to the engine's code page; nullopt when absent or wrong (reported).
    std::optional<std::string> text(const std::string& key);
    // A text about the building machine (a path or a file pattern), kept in UTF-8 as the file
    // system and the file names found there have it; nullopt when absent or wrong (reported).
    std::optional<std::string> hostText(const std::string& key);
    std::optional<std::int64_t> integer(const std::string& key, std::int64_t low,
                                        std::int64_t high);
    // An array of whole numbers, each between low and high; nullopt when absent or wrong
    // (reported).
    std::optional<std::vector<std::int64_t>> integers(const std::string& key, std::int64_t low,
                                                      std::int64_t high);
    bool boolean(const std::string& key, bool fallback);
    const toml::table* table(const std::string& key);
    // One text or an array of texts, converted as text() or, with `host`, kept as hostText().
    std::optional<std::vector<std::string>> texts(const std::string& key, bool host = false);

    int line() const { return kelvara::build::lineOf(table_); }
    int lineOf(const std::string& key) const;
    const std::string& where() const { return where_; }
    TextEncoding encoding() const { return encoding_; }
    Diagnostics& diagnostics() { return diagnostics_; }
    void error(const std::string& key, const std::string& message) {
        diagnostics_.error(lineOf(key), message);
    }

  private:
    void noteLookUp(const std::string& key, bool present);
    void reportUnknownKeys();
    std::optional<std::string> converted(const std::string& text, bool host) const;

    const toml::table& table_;
    std::string where_;
    Diagnostics& diagnostics_;
    TextEncoding encoding_;
    KeyListener* keys_;
    std::set<std::string> known_;
};

}  // namespace kelvara::build
