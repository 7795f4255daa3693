// The builder's default English texts: every text the engine shows exists once, messages take
// the arguments their callers pass, and every text fits the control or box that shows it.
#include "kelvara-build/image/default_texts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "formats/message_catalogue.h"

namespace {

using kelvara::build::defaultEnglishText;
using kelvara::build::defaultEnglishTexts;
using kelvara::build::DefaultText;
using kelvara::build::kTableButtonLabels;
using kelvara::build::kTableErrorMessages;
using kelvara::build::kTableSetupMessages;

using Key = std::pair<int, int>;  // table, item

std::string name(Key key) {
    return "table " + std::to_string(key.first) + " item " + std::to_string(key.second);
}

bool isMessageTable(int table) {
    return table == kTableSetupMessages || table == kTableErrorMessages;
}
bool isPageSlot(int table) {
    return table >= 0 && table <= 12;
}

// Arguments the callers pass, one letter per %s in order, and the messages the user answers
// (Yes/No, or the quit question), which must ask; the others are notices shown with OK, or
// OK/Cancel instructions (disk full), and must not. Both from the engine's message catalogue.
const std::map<Key, std::string>& expectedArguments() {
    static const std::map<Key, std::string> table = [] {
        std::map<Key, std::string> t;
        for (const kelvara::MessageInfo& m : kelvara::kMessageCatalogue)
            t[{m.table, m.item}] = m.arguments;
        return t;
    }();
    return table;
}

const std::set<Key>& questionMessages() {
    static const std::set<Key> set = [] {
        std::set<Key> s;
        for (const kelvara::MessageInfo& m : kelvara::kMessageCatalogue)
            if (m.question) s.insert({m.table, m.item});
        return s;
    }();
    return set;
}

// How much of a page text a control shows: characters per line and lines, from the tighter of
// the two layouts. The dialog font (MS Sans Serif 8) is 4 dialog units wide per average
// character and 8 high per line; English text with its spaces and lower-case letters runs a
// little narrower, which is the margin. Check boxes lose 12 units to the box. Titles (item 1,
// and the compact welcome title 7) use the bold title font and must fit on the compact
// layout's single line, 183 units wide on the destination page: 33 characters at about 5.5
// units each. Variables count as 16 characters, a typical product name.
struct Fit {
    int chars;
    int lines;
};
constexpr Fit kTitle{33, 1};
constexpr Fit kFrameTitle{60, 1};  // the frame's caption bar, 329 units wide

const std::map<Key, Fit>& expectedPageTexts() {
    static const std::map<Key, Fit> table = [] {
        std::map<Key, Fit> t;
        for (int page : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}) {
            t[{page, 0}] = kFrameTitle;
            t[{page, 1}] = kTitle;
        }
        t[{0, 2}] = {60, 1};  // 240 x 15
        t[{0, 3}] = {28, 1};  // 113 x 10
        t[{1, 2}] = {59, 2};  // 236 x 17 (compact)
        t[{1, 3}] = {57, 2};  // 230 x 23 (standard only)
        t[{1, 4}] = {57, 2};  // 230 x 23
        t[{1, 6}] = {52, 2};  // 210 x 23
        t[{1, 7}] = kTitle;
        t[{2, 2}] = {59, 1};  // 236 x 11
        t[{2, 3}] = {52, 1};  // 210 x 8
        t[{3, 2}] = {59, 1};  // 236 x 11
        t[{4, 2}] = {59, 1};  // compact 236 x 10
        t[{4, 3}] = {13, 1};  // 54 x 10
        t[{4, 4}] = {34, 1};  // 136 x 9 (standard only)
        t[{4, 5}] = {34, 1};  // 139 x 10
        t[{4, 6}] = {34, 1};
        t[{4, 9}] = {19, 4};   // the description box, compact 76 x 34
        t[{4, 14}] = {20, 1};  // its caption, compact 84 wide
        t[{5, 2}] = {59, 1};   // compact 236 x 10
        t[{5, 3}] = {52, 1};   // radio button 220 wide (standard)
        t[{5, 4}] = {52, 3};   // standard 208 x 24
        t[{5, 5}] = {52, 1};
        t[{5, 6}] = {52, 3};
        t[{6, 2}] = {57, 3};  // 230 x 31
        t[{6, 3}] = {47, 1};  // compact 190 x 9
        t[{6, 4}] = {50, 2};  // title area of the folder picker
        t[{6, 5}] = {34, 1};  // 139 x 10
        t[{6, 6}] = {34, 1};  // 139 x 12
        t[{7, 2}] = {59, 1};  // compact 236 x 10
        t[{7, 3}] = {57, 1};  // 230 x 9 (standard only)
        t[{7, 9}] = {59, 2};  // the description, compact 236 x 20
        t[{8, 2}] = {54, 2};  // 219 x 23
        t[{8, 3}] = {46, 1};  // check box 199 wide
        t[{8, 4}] = {46, 1};
        t[{8, 5}] = {46, 1};
        t[{9, 2}] = {59, 2};                                           // 236 x 19
        t[{9, 3}] = {58, 2};                                           // 235 x 23
        t[{10, 2}] = {59, 2};                                          // 236 x 19
        t[{10, 3}] = {58, 1};                                          // 235 x 15
        for (int step : {4, 5, 6, 7, 8, 13}) t[{10, step}] = {52, 1};  // 1004, 211 x 15
        t[{11, 2}] = {59, 2};                                          // 236 x 19
        t[{11, 3}] = {59, 2};
        t[{11, 4}] = {38, 1};  // check box 165 wide
        t[{11, 5}] = {38, 1};
        t[{11, 6}] = {38, 1};
        t[{11, 7}] = {55, 2};  // 221 x 23
        t[{11, 8}] = {57, 2};  // compact 232 x 19
        t[{11, 9}] = {59, 2};  // shown in 1003
        t[{11, 10}] = {59, 2};
        t[{13, 2}] = {59, 1};  // compact 236 x 10
        t[{13, 3}] = {59, 2};  // compact 236 x 18
        t[{13, 4}] = {55, 1};  // radio button 236 wide (compact)
        t[{13, 5}] = {55, 1};
        return t;
    }();
    return table;
}

// Controls that show an accelerator mark (buttons, check boxes, group boxes and the statics
// that allow prefixes); everywhere else an & would appear as it is.
const std::set<Key> kMayHaveMark = {{0, 3}, {2, 2},  {3, 2},  {4, 3},  {4, 4},  {5, 3},
                                    {5, 5}, {6, 3},  {7, 3},  {8, 2},  {8, 3},  {8, 4},
                                    {8, 5}, {11, 4}, {11, 5}, {11, 6}, {13, 4}, {13, 5}};

// Texts the engine shows as stored, without expanding variables.
const std::set<Key> kShownAsStored = {{1, 7}, {4, 6}, {4, 9},  {6, 4},
                                      {6, 6}, {7, 9}, {11, 9}, {11, 10}};

const std::set<std::string> kEngineVariables = {"%ProductName%", "%ProductShortName%",
                                                "%InstallPath%", "%ShortcutsGroup%"};

struct Placeholders {
    std::vector<std::size_t> arguments;  // offsets of each %s
    std::vector<std::string> variables;  // each %Name%
    int escapedPercents = 0;             // %%
    std::vector<std::string> stray;      // any other %
};

Placeholders scanPlaceholders(const std::string& text) {
    Placeholders p;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == 's') {
            p.arguments.push_back(i);
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++p.escapedPercents;
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]))) ++end;
        if (end > i + 1 && end < text.size() && text[end] == '%' &&
            std::isalpha(static_cast<unsigned char>(text[i + 1]))) {
            p.variables.push_back(text.substr(i, end - i + 1));
            i = end;
            continue;
        }
        p.stray.push_back(text.substr(i, 6));
    }
    return p;
}

// The text as the user sees it: accelerator marks taken out, %DISK% as a drive letter, other
// variables as a 16-character name, arguments as nothing (message boxes wrap them).
std::string visible(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') out += text[++i];
            continue;
        }
        if (c == '%') {
            if (text.compare(i, 6, "%DISK%") == 0) {
                out += 'C';
                i += 5;
                continue;
            }
            if (text.compare(i, 2, "%s") == 0) {
                ++i;
                continue;
            }
            std::size_t end = text.find('%', i + 1);
            if (end != std::string::npos && end > i + 1) {
                out += std::string(16, 'W');
                i = end;
                continue;
            }
        }
        out += c;
    }
    return out;
}

int countMarks(const std::string& text) {
    int marks = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (i + 1 < text.size() && text[i + 1] == '&') {
            ++i;
            continue;
        }
        ++marks;
    }
    return marks;
}

// Lines a word-wrapping static control of `width` characters needs for the text; a word longer
// than the width counts as not fitting at all.
int wrappedLines(const std::string& text, int width) {
    int lines = 1;
    int used = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = text.find(' ', i);
        if (end == std::string::npos) end = text.size();
        int word = static_cast<int>(end - i);
        if (word > width) return 1000;
        if (used == 0) {
            used = word;
        } else if (used + 1 + word <= width) {
            used += 1 + word;
        } else {
            ++lines;
            used = word;
        }
        i = end + 1;
    }
    return lines;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

std::map<Key, std::string> textsByKey() {
    std::map<Key, std::string> texts;
    for (const DefaultText& t : defaultEnglishTexts()) {
        EXPECT_NE(t.text, nullptr) << name({t.table, t.item});
        if (t.text) texts[{t.table, t.item}] = t.text;
    }
    return texts;
}

TEST(DefaultTexts, EveryRoleHasExactlyOneNonEmptyTextAndNothingElseIsWritten) {
    std::map<Key, int> seen;
    for (const DefaultText& t : defaultEnglishTexts()) {
        ++seen[{t.table, t.item}];
        ASSERT_NE(t.text, nullptr) << name({t.table, t.item});
        EXPECT_NE(t.text[0], '\0') << name({t.table, t.item});
    }
    std::set<Key> expected;
    for (const auto& [key, args] : expectedArguments()) expected.insert(key);
    for (int i = 0; i <= 10; ++i) expected.insert({kTableButtonLabels, i});
    for (const auto& [key, fit] : expectedPageTexts()) expected.insert(key);

    for (const Key& key : expected) EXPECT_EQ(seen[key], 1) << name(key);
    for (const auto& [key, count] : seen)
        EXPECT_TRUE(expected.count(key)) << name(key) << " is not a text the engine shows";
    EXPECT_EQ(defaultEnglishTexts().size(), expected.size());
    EXPECT_EQ(expected.size(), 18u + 43u + 11u + 83u);
}

TEST(DefaultTexts, AreSortedByTableThenItem) {
    auto texts = defaultEnglishTexts();
    for (std::size_t i = 1; i < texts.size(); ++i) {
        const DefaultText& a = texts[i - 1];
        const DefaultText& b = texts[i];
        EXPECT_TRUE(a.table < b.table || (a.table == b.table && a.item < b.item))
            << name({a.table, a.item}) << " before " << name({b.table, b.item});
    }
}

TEST(DefaultTexts, LookupFindsEachTextAndNothingElse) {
    for (const DefaultText& t : defaultEnglishTexts())
        EXPECT_EQ(defaultEnglishText(t.table, t.item), t.text) << name({t.table, t.item});
    EXPECT_EQ(defaultEnglishText(kTableSetupMessages, 18), nullptr);
    EXPECT_EQ(defaultEnglishText(kTableErrorMessages, 43), nullptr);
    EXPECT_EQ(defaultEnglishText(kTableButtonLabels, 11), nullptr);
    EXPECT_EQ(defaultEnglishText(4, 7), nullptr);   // the components page's space figures
    EXPECT_EQ(defaultEnglishText(7, 4), nullptr);   // the tasks page has no fourth text
    EXPECT_EQ(defaultEnglishText(6, 18), nullptr);  // the destination edit box
    EXPECT_EQ(defaultEnglishText(12, 0), nullptr);  // the uninstaller sets its own
    EXPECT_EQ(defaultEnglishText(-1, 0), nullptr);
}

TEST(DefaultTexts, MessagesTakeTheCallersArgumentsInOrder) {
    const std::map<char, const char*> keyword = {{'f', "file"},  {'d', "folder"},   {'k', "key"},
                                                 {'v', "value"}, {'s', "shortcut"}, {'x', "type"},
                                                 {'e', ""},      {'n', ""}};
    const auto texts = textsByKey();
    for (const auto& [key, args] : expectedArguments()) {
        auto found = texts.find(key);
        if (found == texts.end()) continue;  // reported by the coverage test
        const std::string& text = found->second;
        Placeholders p = scanPlaceholders(text);
        ASSERT_EQ(p.arguments.size(), args.size()) << name(key) << ": " << text;
        std::size_t from = 0;
        for (std::size_t n = 0; n < args.size(); ++n) {
            std::string before = text.substr(from, p.arguments[n] - from);
            for (char& c : before)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            EXPECT_NE(before.find(keyword.at(args[n])), std::string::npos)
                << name(key) << ": argument " << n + 1 << " should be introduced as '"
                << keyword.at(args[n]) << "': " << text;
            if (args[n] == 'e') {
                EXPECT_EQ(n + 1, args.size()) << name(key) << ": the error text comes last";
                EXPECT_EQ(text.compare(p.arguments[n] - 2, 2, "\n\n"), 0)
                    << name(key) << ": the error text starts a paragraph";
            }
            from = p.arguments[n] + 2;
        }
    }
}

TEST(DefaultTexts, PlaceholdersAreOnlyThoseTheEngineFills) {
    for (const auto& [key, text] : textsByKey()) {
        Placeholders p = scanPlaceholders(text);
        EXPECT_TRUE(p.stray.empty()) << name(key) << ": stray '" << p.stray.front() << "'";
        if (isMessageTable(key.first)) {
            // Messages are formatted, not expanded: a variable would show as written.
            EXPECT_TRUE(p.variables.empty()) << name(key) << ": " << text;
            continue;
        }
        EXPECT_TRUE(p.arguments.empty()) << name(key) << ": nothing formats this text";
        EXPECT_EQ(p.escapedPercents, 0) << name(key) << ": nothing formats this text";
        if (key.first == kTableButtonLabels) {
            EXPECT_TRUE(p.variables.empty()) << name(key);
            continue;
        }
        for (const std::string& v : p.variables) {
            if ((key == Key{4, 6} || key == Key{6, 6}) && v == "%DISK%") continue;
            EXPECT_FALSE(kShownAsStored.count(key)) << name(key) << " is shown unexpanded: " << v;
            EXPECT_TRUE(kEngineVariables.count(v)) << name(key) << ": unknown variable " << v;
        }
    }
    EXPECT_NE(std::string(defaultEnglishText(4, 6)).find("%DISK%"), std::string::npos);
    EXPECT_NE(std::string(defaultEnglishText(6, 6)).find("%DISK%"), std::string::npos);
}

TEST(DefaultTexts, AcceleratorMarksOnlyWhereTheControlShowsThem) {
    for (const auto& [key, text] : textsByKey()) {
        if (key.first == kTableButtonLabels) {
            EXPECT_LE(countMarks(text), 1) << name(key) << ": " << text;
        } else if (isPageSlot(key.first)) {
            EXPECT_LE(countMarks(text), kMayHaveMark.count(key) ? 1 : 0)
                << name(key) << ": " << text;
        }
    }
    // The buttons that move through the wizard can be reached from the keyboard.
    for (int label : {0, 1, 3, 5, 6, 7, 8})
        EXPECT_EQ(countMarks(defaultEnglishText(kTableButtonLabels, label)), 1) << label;
}

TEST(DefaultTexts, QuestionsAskAndNoticesTell) {
    for (const auto& [key, text] : textsByKey()) {
        if (!isMessageTable(key.first)) continue;
        bool asks = text.find('?') != std::string::npos;
        EXPECT_EQ(asks, questionMessages().count(key) == 1) << name(key) << ": " << text;
    }
    // Yes quits in the two cancel questions; in the step errors Yes goes on.
    EXPECT_NE(std::string(defaultEnglishText(kTableSetupMessages, 0)).find("quit"),
              std::string::npos);
    EXPECT_NE(std::string(defaultEnglishText(kTableSetupMessages, 8)).find("quit"),
              std::string::npos);
    EXPECT_NE(std::string(defaultEnglishText(kTableSetupMessages, 6)).find("try again?"),
              std::string::npos);
    for (int item : {1, 2, 5, 15})
        EXPECT_NE(std::string(defaultEnglishText(kTableErrorMessages, item)).find("skip"),
                  std::string::npos)
            << item;
    for (int item : {21, 24, 25, 27, 30, 35, 38})
        EXPECT_NE(std::string(defaultEnglishText(kTableErrorMessages, item)).find("continue"),
                  std::string::npos)
            << item;
    std::string diskFull = defaultEnglishText(kTableErrorMessages, 14);
    EXPECT_NE(diskFull.find("OK"), std::string::npos);
    EXPECT_NE(diskFull.find("Cancel"), std::string::npos);
}

TEST(DefaultTexts, AreClean8BitAnsiWithoutStraySpace) {
    for (const auto& [key, text] : textsByKey()) {
        for (char c : text) {
            unsigned char u = static_cast<unsigned char>(c);
            EXPECT_TRUE((u >= 0x20 && u < 0x7F) || (c == '\n' && isMessageTable(key.first)))
                << name(key) << ": character " << int(u);
        }
        EXPECT_FALSE(std::isspace(static_cast<unsigned char>(text.back()))) << name(key);
        EXPECT_EQ(text.find("  "), std::string::npos) << name(key) << ": double space";
        // A <Token> would be replaced by a folder path when the record is applied.
        std::size_t open = text.find('<');
        if (open != std::string::npos && open + 1 < text.size()) {
            EXPECT_FALSE(std::isalpha(static_cast<unsigned char>(text[open + 1]))) << name(key);
        }
    }
}

// Message boxes wrap long lines themselves, at roughly 60 characters on a 640 x 480 screen;
// a line of at most 110 characters keeps every paragraph to two wrapped lines there. Wizard
// buttons are 50 x 14 units: about 10 characters fit between their edges.
TEST(DefaultTexts, FitWhereTheyAreShown) {
    const auto texts = textsByKey();
    for (const auto& [key, text] : texts) {
        if (isMessageTable(key.first)) {
            for (const std::string& line : splitLines(text))
                EXPECT_LE(visible(line).size(), 110u) << name(key) << ": " << line;
        } else if (key.first == kTableButtonLabels) {
            EXPECT_LE(visible(text).size(), 10u) << name(key) << ": " << text;
        }
    }
    for (const auto& [key, fit] : expectedPageTexts()) {
        auto found = texts.find(key);
        if (found == texts.end()) continue;
        std::string shown = visible(found->second);
        EXPECT_LE(wrappedLines(shown, fit.chars), fit.lines)
            << name(key) << " (" << fit.chars << " x " << fit.lines << "): " << shown;
    }
}

TEST(DefaultTexts, FitCheckCatchesTextsThatDoNotFit) {
    // The measuring helpers themselves: a fault here would let every text pass.
    EXPECT_EQ(wrappedLines("aaa bbb ccc", 7), 2);
    EXPECT_EQ(wrappedLines("aaa bbb", 7), 1);
    EXPECT_EQ(wrappedLines("aaaaaaaa", 7), 1000);
    EXPECT_EQ(visible("< &Back"), "< Back");
    EXPECT_EQ(visible("A && B"), "A & B");
    EXPECT_EQ(visible("drive %DISK%:"), "drive C:");
    EXPECT_EQ(visible("Run %ProductName%").size(), 4u + 16u);
    EXPECT_EQ(countMarks("&a && &b"), 2);
    Placeholders p = scanPlaceholders("%s %% %Name% 100% %d");
    EXPECT_EQ(p.arguments.size(), 1u);
    EXPECT_EQ(p.escapedPercents, 1);
    ASSERT_EQ(p.variables.size(), 1u);
    EXPECT_EQ(p.variables[0], "%Name%");
    EXPECT_EQ(p.stray.size(), 2u);
}

}  // namespace
