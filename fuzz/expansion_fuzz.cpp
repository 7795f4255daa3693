// Text the setup script hands to the engine's expanders and splitters: the replacement primitive
// against a plain model of its rule, the variable table and its settling, folder tokens, numbers,
// searches, fields, tokens and the command line. The bytes are read as a list of operations.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <strings.h>
#include <utility>
#include <vector>

#include "environment/folder_expansion.h"
#include "environment/run_environment.h"
#include "formats/command_line.h"
#include "formats/folder_token_names.h"
#include "formats/variables.h"
#include "fuzz_support.h"
#include "install/settle_variables.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"

using namespace kelvara;

namespace {

std::string take(char* text) {
    FUZZ_CHECK(text);
    std::string result = text;
    heapFree(text);
    return result;
}

// Texts from the bytes, often made of the pieces the expanders look for.
std::string text(FuzzedDataProvider& in, std::size_t most) {
    // (A table, kept in rows.)
    // clang-format off
    static const char* const kPieces[] = {"%",       "%A%",     "%a%",  "<",         ">",
                                          "<Temp>",  "<temp>",  ",",    "\"",        " ",
                                          "0x",      "-",       "\\",   "<Windows>", "<MSAccess>",
                                          "%Name%", "%InstallPath%", "ab", "<ProgramFiles>"};
    // clang-format on
    std::string out;
    while (out.size() < most && in.remaining_bytes()) {
        if (in.ConsumeBool()) {
            out += kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
        } else {
            char c = in.ConsumeIntegral<char>();
            if (c == '\0') break;
            out += c;
        }
    }
    return out;
}

bool sameChar(char a, char b, bool caseSensitive) {
    return a == b || (!caseSensitive && std::toupper(static_cast<unsigned char>(a)) ==
                                            std::toupper(static_cast<unsigned char>(b)));
}

std::size_t find(const std::string& text, const std::string& pattern, std::size_t from,
                 bool caseSensitive) {
    if (pattern.empty()) return std::string::npos;
    for (std::size_t at = from; at + pattern.size() <= text.size(); ++at) {
        std::size_t k = 0;
        while (k < pattern.size() && sameChar(text[at + k], pattern[k], caseSensitive)) ++k;
        if (k == pattern.size()) return at;
    }
    return std::string::npos;
}

// The rule of replaceAll written plainly: replace the leftmost occurrence, search again from the
// start (or, for a replacement that holds the pattern, after it), until none is left or the
// insertion budget is spent. Nothing when the model would take too long to say.
std::optional<std::string> modelReplaceAll(std::string text, const std::string& pattern,
                                           const std::string& replacement, bool caseSensitive,
                                           std::size_t longest = 20000) {
    if (pattern.empty()) return text;
    const bool after = find(replacement, pattern, 0, caseSensitive) != std::string::npos;
    std::size_t from = 0;
    std::size_t inserted = 0;
    for (int steps = 0;; ++steps) {
        if (steps > 2000 || text.size() > longest) return std::nullopt;
        std::size_t at = find(text, pattern, from, caseSensitive);
        if (at == std::string::npos) return text;
        if (replacement.size() > static_cast<std::size_t>(kMaxInsertedChars) - inserted)
            return text;
        inserted += replacement.size();
        text = text.substr(0, at) + replacement + text.substr(at + pattern.size());
        // Nothing began before `at`, so the next occurrence begins no earlier than where one
        // could reach into the replacement.
        from = after ? at + replacement.size() : at - std::min(at, pattern.size() - 1);
    }
}

void checkReplaceAll(FuzzedDataProvider& in) {
    const std::string subject = text(in, 80), pattern = text(in, 6), replacement = text(in, 12);
    const bool caseSensitive = in.ConsumeBool();
    std::string result =
        take(replaceAll(subject.c_str(), pattern.c_str(), replacement.c_str(), caseSensitive));
    if (std::optional<std::string> expected =
            modelReplaceAll(subject, pattern, replacement, caseSensitive)) {
        FUZZ_CHECK(result == *expected);
    }
    FUZZ_CHECK(result.size() <= subject.size() + kMaxInsertedChars);
}

// --- the variable table ---

class VariableModel {
  public:
    std::vector<std::pair<std::string, std::string>> entries;
    const std::string* lookup(const std::string& name) const {
        for (const auto& [n, v] : entries) {
            if (strcasecmp(n.c_str(), name.c_str()) == 0) return &v;
        }
        return nullptr;
    }
};

void checkTable(const VariableModel& model) {
    const SetupState& s = setupState;
    FUZZ_CHECK(s.variableNames.count() == static_cast<int>(model.entries.size()));
    FUZZ_CHECK(s.variableValues.count() == s.variableNames.count());
    for (std::size_t i = 0; i < model.entries.size(); ++i) {
        FUZZ_CHECK(model.entries[i].first == s.variableNames.get(static_cast<int>(i)));
        FUZZ_CHECK(model.entries[i].second == s.variableValues.get(static_cast<int>(i)));
    }
}

void changeVariable(FuzzedDataProvider& in, VariableModel& model) {
    if (model.entries.size() >= 6) return;
    const std::string name = "%" + text(in, 8) + "%";
    const std::string value = text(in, 24);
    if (in.ConsumeBool()) {
        FUZZ_CHECK(defineVariable(name.c_str(), value.c_str()));
        model.entries.emplace_back(name, value);
    } else {
        FUZZ_CHECK(setVariable(name.c_str(), value.c_str()));
        bool replaced = false;
        for (auto& [n, v] : model.entries) {
            if (!replaced && strcasecmp(n.c_str(), name.c_str()) == 0) {
                v = value;
                replaced = true;
            }
        }
        if (!replaced) model.entries.emplace_back(name, value);
    }
    checkTable(model);
    const char* found = lookupVariable(name.c_str());
    const std::string* expected = model.lookup(name);
    FUZZ_CHECK(found && expected && *expected == found);
}

void checkExpandVariables(FuzzedDataProvider& in, const VariableModel& model) {
    const std::string subject = text(in, 60);
    std::string expected = subject;
    for (const auto& [name, value] : model.entries) {
        std::optional<std::string> step = modelReplaceAll(expected, name, value, false);
        if (!step) return;
        expected = *step;
    }
    FUZZ_CHECK(take(expandVariables(subject.c_str())) == expected);
}

// Settling as a plain model: passes over the values in order, each expanded with the values as
// they stand (those before it already changed in this pass), until none names a variable in its
// exact case or one pass more than there are values is done. The result is what settleVariables
// returns; nothing when a value grows past `longest`.
std::optional<int> modelSettle(VariableModel& model, std::size_t longest) {
    auto firstUnsettled = [&model]() {
        for (std::size_t i = 0; i < model.entries.size(); ++i) {
            for (const auto& [name, value] : model.entries) {
                if (find(model.entries[i].second, name, 0, true) != std::string::npos) {
                    return static_cast<int>(i);
                }
            }
        }
        return -1;
    };
    for (std::size_t pass = 0; pass <= model.entries.size(); ++pass) {
        for (auto& entry : model.entries) {
            // The value is expanded as a copy: its own name is replaced by the value unchanged.
            std::string expanded = entry.second;
            for (const auto& [name, value] : model.entries) {
                std::optional<std::string> step =
                    modelReplaceAll(expanded, name, value, false, longest);
                if (!step) return std::nullopt;
                expanded = *step;
            }
            entry.second = expanded;
        }
        if (firstUnsettled() < 0) return -1;
    }
    return firstUnsettled();
}

void checkSettle(VariableModel& model) {
    // Values that grow past a few pages (a definition that names itself doubles per pass) cost
    // the fuzzer nearly all its time and are left out; the insertion budget that bounds them
    // has a test of its own.
    VariableModel settled = model;
    const std::optional<int> expected = modelSettle(settled, 4096);
    if (!expected) return;
    FUZZ_CHECK(settleVariables() == *expected);
    checkTable(settled);
    model = settled;
}

void checkFolderTokens(FuzzedDataProvider& in) {
    const std::string subject = text(in, 60);
    std::string expected = subject;
    for (int token = 0; token < kFolderTokenCount; ++token) {
        const char* path = runEnvironment.folderPaths.get(token);
        if (!path) continue;
        std::optional<std::string> step =
            modelReplaceAll(expected, kFolderTokenNames[token], path, false);
        if (!step) return;
        expected = *step;
    }
    FUZZ_CHECK(take(expandFolderTokens(subject.c_str())) == expected);
}

// --- numbers, searches, fields, tokens ---

int modelNumber(const std::string& t) {
    auto digits = [&](std::size_t at, std::uint32_t base) {
        std::uint32_t value = 0;
        for (; at < t.size(); ++at) {
            char c = static_cast<char>(std::tolower(static_cast<unsigned char>(t[at])));
            std::uint32_t d = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                     : 99;
            if (d >= base) break;
            value = value * base + d;
        }
        return value;
    };
    if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        return static_cast<int>(digits(2, 16));
    if (t.size() >= 2 && t[0] == '0' && t[1] >= '0' && t[1] <= '7')
        return static_cast<int>(digits(1, 8));
    const bool negative = !t.empty() && t[0] == '-';
    std::uint32_t value = digits(negative ? 1 : 0, 10);
    return static_cast<int>(negative ? 0u - value : value);
}

void checkNumberAndSearch(FuzzedDataProvider& in) {
    const std::string subject = text(in, 40);
    FUZZ_CHECK(parseNumber(subject.c_str()) == modelNumber(subject));
    const std::string pattern = text(in, 5);
    const int limit = in.ConsumeIntegralInRange(-1, 50);
    const bool caseSensitive = in.ConsumeBool();
    const std::string window =
        limit < 0 ? subject : subject.substr(0, std::min<std::size_t>(limit, subject.size()));
    const char* found = findText(subject.c_str(), pattern.c_str(), limit, caseSensitive);
    const std::size_t at = find(window, pattern, 0, caseSensitive);
    FUZZ_CHECK(at == std::string::npos ? !found : found == subject.c_str() + at);
    const char c = pattern.empty() ? 'x' : pattern[0];
    const char* first = findChar(subject.c_str(), c, limit, caseSensitive);
    const char* last = findLastChar(subject.c_str(), c, limit, caseSensitive);
    std::size_t firstAt = std::string::npos, lastAt = std::string::npos;
    for (std::size_t i = 0; i < window.size(); ++i) {
        if (sameChar(window[i], c, caseSensitive)) {
            if (firstAt == std::string::npos) firstAt = i;
            lastAt = i;
        }
    }
    FUZZ_CHECK(firstAt == std::string::npos ? !first : first == subject.c_str() + firstAt);
    FUZZ_CHECK(lastAt == std::string::npos ? !last : last == subject.c_str() + lastAt);

    char* piece = nullptr;
    const char* start =
        extractDelimited(&piece, subject.c_str(), pattern.c_str(), limit, caseSensitive);
    HeapString owned(piece);
    std::size_t second =
        at == std::string::npos ? at : find(window, pattern, at + pattern.size(), caseSensitive);
    if (second == std::string::npos) {
        FUZZ_CHECK(!start && !piece);
    } else {
        FUZZ_CHECK(start == subject.c_str() + at && piece &&
                   subject.substr(at, second + pattern.size() - at) == piece);
    }
}

std::vector<std::string> pieces(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ',') {
            out.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

void checkFields(FuzzedDataProvider& in) {
    const std::string subject = text(in, 80);
    const bool quotedFirst = in.ConsumeBool();
    StringList fields;
    splitFields(subject.c_str(), quotedFirst, fields);
    FUZZ_CHECK(fields.count() == kFieldCount);
    std::vector<std::string> expected(kFieldCount);
    if (!quotedFirst) {
        std::vector<std::string> p = pieces(subject);
        for (int i = 0; i < kFieldCount && i < static_cast<int>(p.size()); ++i) expected[i] = p[i];
    } else if (std::size_t open = subject.find('"'); open != std::string::npos) {
        std::size_t close = subject.find('"', open + 1);
        expected[0] = subject.substr(
            open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
        std::size_t comma = close == std::string::npos ? close : subject.find(',', close + 1);
        if (comma != std::string::npos) {
            std::vector<std::string> p = pieces(subject.substr(comma + 1));
            for (int i = 1; i < kFieldCount && i - 1 < static_cast<int>(p.size()); ++i) {
                expected[i] = p[i - 1];
            }
        }
    }
    for (int i = 0; i < kFieldCount; ++i) {
        FUZZ_CHECK(fields.get(i) && expected[i] == fields.get(i));
    }

    // The tokenizer hands back the pieces between separators, in order.
    const std::string separator = text(in, 3);
    if (subject.empty() || separator.empty()) return;
    std::vector<char> work(subject.begin(), subject.end());
    work.push_back('\0');
    std::string rebuilt;
    int tokens = 0;
    for (char* token = nextToken(work.data(), separator.c_str()); token;
         token = nextToken(nullptr, separator.c_str())) {
        rebuilt += (tokens++ ? separator : "") + token;
        FUZZ_CHECK(!std::strstr(token, separator.c_str()));
        FUZZ_CHECK(tokens <= static_cast<int>(subject.size()) + 1);
    }
    FUZZ_CHECK(rebuilt == subject);
}

void checkCommandLine(FuzzedDataProvider& in) {
    std::string line = text(in, 80);
    for (char& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::vector<char> work(line.begin(), line.end());
    work.push_back('\0');
    char* args[kArgTableSize] = {};
    const int capacity = in.ConsumeIntegralInRange(0, kArgTableSize);
    const int count = splitCommandLine(work.data(), args, capacity);
    FUZZ_CHECK(count >= 0 && count <= capacity);
    // The model: arguments run to the next blank, or between quotes.
    std::vector<std::string> expected;
    std::size_t p = 0;
    while (p < line.size()) {
        while (p < line.size() && line[p] == ' ') ++p;
        char delimiter = ' ';
        if (p < line.size() && line[p] == '"') {
            delimiter = '"';
            ++p;
        }
        std::size_t end = line.find(delimiter, p);
        if (end == std::string::npos) end = line.size();
        expected.push_back(line.substr(p, end - p));
        p = end < line.size() ? end + 1 : end;
    }
    FUZZ_CHECK(count == std::min<int>(capacity, static_cast<int>(expected.size())));
    for (int i = 0; i < count; ++i) {
        FUZZ_CHECK(args[i] >= work.data() && args[i] < work.data() + work.size());
        FUZZ_CHECK(expected[i] == args[i]);
    }
    FUZZ_CHECK(isSilentRequest(args, count) == (count > 1 && args[1][0] == 'S'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FreshSetupState run;
    FuzzedDataProvider in(data, size);
    VariableModel model;
    for (int step = 0; step < 16 && in.remaining_bytes(); ++step) {
        switch (in.ConsumeIntegralInRange(0, 7)) {
            case 0:
                checkReplaceAll(in);
                break;
            case 1:
                changeVariable(in, model);
                break;
            case 2:
                checkExpandVariables(in, model);
                break;
            case 3:
                checkFolderTokens(in);
                break;
            case 4:
                checkNumberAndSearch(in);
                break;
            case 5:
                checkFields(in);
                break;
            case 6:
                checkCommandLine(in);
                break;
            default:
                checkSettle(model);
                break;
        }
    }
    return 0;
}
