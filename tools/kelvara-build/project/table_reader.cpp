#include "kelvara-build/project/table_reader.h"

#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {

void TableReader::noteLookUp(const std::string& key, bool present) {
    if (keys_) keys_->lookedUp(where_ == kTopLevel ? "" : where_, key, present);
}

int lineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

int TableReader::lineOf(const std::string& key) const {
    const toml::node* found = table_.get(key);
    return found ? kelvara::build::lineOf(*found) : line();
}

const toml::node* TableReader::node(const std::string& key) {
    known_.insert(key);
    const toml::node* found = table_.get(key);
    noteLookUp(key, found != nullptr);
    return found;
}

std::optional<std::string> TableReader::converted(const std::string& text, bool host) const {
    if (!host) return toEngineText(text, encoding_);
    if (text.find('\0') != std::string::npos) return std::nullopt;
    return text;
}

std::optional<std::string> TableReader::text(const std::string& key) {
    const toml::node* found = node(key);
    if (!found) return std::nullopt;
    const auto* value = found->as_string();
    if (!value) {
        error(key, "'" + key + "' in " + where_ + " must be a text");
        return std::nullopt;
    }
    std::optional<std::string> engineText = converted(value->get(), false);
    if (!engineText) {
        error(key, "'" + key + "' in " + where_ + " holds " + unwritableText(encoding_));
    }
    return engineText;
}

std::optional<std::string> TableReader::hostText(const std::string& key) {
    const toml::node* found = node(key);
    if (!found) return std::nullopt;
    const auto* value = found->as_string();
    std::optional<std::string> text = value ? converted(value->get(), true) : std::nullopt;
    if (!text) error(key, "'" + key + "' in " + where_ + " must be a text, without a NUL");
    return text;
}

std::optional<std::int64_t> TableReader::integer(const std::string& key, std::int64_t low,
                                                 std::int64_t high) {
    const toml::node* found = node(key);
    if (!found) return std::nullopt;
    const auto* value = found->as_integer();
    if (!value) {
        error(key, "'" + key + "' in " + where_ + " must be a whole number");
        return std::nullopt;
    }
    if (value->get() < low || value->get() > high) {
        error(key, "'" + key + "' in " + where_ + " must lie between " + std::to_string(low) +
                       " and " + std::to_string(high));
        return std::nullopt;
    }
    return value->get();
}

std::optional<std::vector<std::int64_t>> TableReader::integers(const std::string& key,
                                                               std::int64_t low,
                                                               std::int64_t high) {
    const toml::node* found = node(key);
    if (!found) return std::nullopt;
    const auto* array = found->as_array();
    std::vector<std::int64_t> result;
    for (std::size_t i = 0; array && i < array->size(); ++i) {
        const auto* value = (*array)[i].as_integer();
        if (!value || value->get() < low || value->get() > high) break;
        result.push_back(value->get());
    }
    if (!array || array->empty() || result.size() != array->size()) {
        error(key, "'" + key + "' in " + where_ + " must be a list of whole numbers between " +
                       std::to_string(low) + " and " + std::to_string(high));
        return std::nullopt;
    }
    return result;
}

bool TableReader::boolean(const std::string& key, bool fallback) {
    const toml::node* found = node(key);
    if (!found) return fallback;
    const auto* value = found->as_boolean();
    if (!value) {
        error(key, "'" + key + "' in " + where_ + " must be true or false");
        return fallback;
    }
    return value->get();
}

const toml::table* TableReader::table(const std::string& key) {
    const toml::node* found = node(key);
    if (!found) return nullptr;
    const toml::table* value = found->as_table();
    if (!value) error(key, "'" + key + "' in " + where_ + " must be a table");
    return value;
}

std::optional<std::vector<std::string>> TableReader::texts(const std::string& key, bool host) {
    const toml::node* found = node(key);
    if (!found) return std::nullopt;
    std::vector<std::string> result;
    auto take = [&](const toml::node& item) {
        const auto* value = item.as_string();
        std::optional<std::string> text = value ? converted(value->get(), host) : std::nullopt;
        if (!text) {
            diagnostics_.error(kelvara::build::lineOf(item),
                               "'" + key + "' in " + where_ + " must hold " +
                                   (host ? std::string("texts, without a NUL")
                                         : std::string(encodingName(encoding_)) + " texts"));
            return false;
        }
        result.push_back(*text);
        return true;
    };
    if (const auto* array = found->as_array()) {
        for (const toml::node& item : *array) {
            if (!take(item)) return std::nullopt;
        }
        return result;
    }
    if (!take(*found)) return std::nullopt;
    return result;
}

void TableReader::reportUnknownKeys() {
    for (const auto& [key, value] : table_) {
        std::string name(key.str());
        if (!known_.count(name)) {
            diagnostics_.error(kelvara::build::lineOf(value),
                               "unknown key '" + name + "' in " + where_);
        }
    }
}

}  // namespace kelvara::build
