#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap.h"

using namespace kelvara;

namespace {

// Takes a returned heap string, frees it and gives its text ("<null>" for null).
std::string take(char* text) {
    std::string copy = text ? text : "<null>";
    heapFree(text);
    return copy;
}

std::string expand(const char* text) {
    return take(expandVariables(text));
}

std::string replace(const char* text, const char* find, const char* replacement,
                    bool caseSensitive = false) {
    return take(replaceAll(text, find, replacement, caseSensitive));
}

// Every test starts with an empty table in the script's configuration.
class Variables : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(setupState.variableNames.create(5));
        ASSERT_TRUE(setupState.variableValues.create(5));
    }
    void TearDown() override {
        setupState.variableNames.destroy();
        setupState.variableValues.destroy();
    }

    static std::string nameAt(int i) {
        const char* name = setupState.variableNames.get(i);
        return name ? name : "<hole>";
    }
    static std::string valueAt(int i) {
        const char* value = setupState.variableValues.get(i);
        return value ? value : "<hole>";
    }
};

// Replaces the leftmost occurrence and searches again from the beginning, as long as there is one
// or until `steps` replacements have been made (then gives "<endless>"). ASCII only.
std::string referenceReplaceAll(std::string text, const std::string& find,
                                const std::string& replacement, int steps) {
    auto upper = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    };
    for (int step = 0; step < steps; ++step) {
        std::size_t at = upper(text).find(upper(find));
        if (at == std::string::npos) return text;
        text.replace(at, find.size(), replacement);
    }
    return "<endless>";
}

}  // namespace

TEST_F(Variables, DefinitionsAppendInOrderAndTheFirstOfANameWins) {
    ASSERT_TRUE(defineVariable("%INSTALLPATH%", "C:\\App"));
    ASSERT_TRUE(defineVariable("%ShortcutsGroup%", "App"));
    ASSERT_TRUE(defineVariable("%InstallPath%", "D:\\Other"));

    ASSERT_EQ(setupState.variableNames.count(), 3) << "a repeated name is appended, not merged";
    ASSERT_EQ(setupState.variableValues.count(), 3);
    EXPECT_EQ(nameAt(0), "%INSTALLPATH%");
    EXPECT_EQ(nameAt(1), "%ShortcutsGroup%") << "names are kept as written";
    EXPECT_EQ(nameAt(2), "%InstallPath%");
    EXPECT_EQ(valueAt(2), "D:\\Other");

    ASSERT_NE(lookupVariable("%installpath%"), nullptr);
    EXPECT_STREQ(lookupVariable("%installpath%"), "C:\\App") << "first match, any case";
    EXPECT_STREQ(lookupVariable("%SHORTCUTSGROUP%"), "App");
    EXPECT_EQ(lookupVariable("%Missing%"), nullptr);
    EXPECT_EQ(lookupVariable("INSTALLPATH"), nullptr) << "the percent signs are part of the name";
    EXPECT_EQ(expand("%InstallPath%"), "C:\\App") << "a later entry of the name finds nothing";
}

TEST_F(Variables, SetChangesTheFirstMatchOrAppends) {
    ASSERT_TRUE(defineVariable("%INSTALLPATH%", "C:\\App"));
    ASSERT_TRUE(defineVariable("%installpath%", "shadowed"));

    ASSERT_TRUE(setVariable("%InstallPath%", "E:\\Chosen"));
    ASSERT_EQ(setupState.variableNames.count(), 2) << "setting an existing name adds no entry";
    EXPECT_EQ(nameAt(0), "%INSTALLPATH%") << "the stored name keeps its spelling";
    EXPECT_EQ(valueAt(0), "E:\\Chosen");
    EXPECT_EQ(valueAt(1), "shadowed") << "only the first match changes";
    EXPECT_STREQ(lookupVariable("%INSTALLPATH%"), "E:\\Chosen");

    ASSERT_TRUE(setVariable("%ShortcutsGroup%", "Tools"));
    ASSERT_EQ(setupState.variableNames.count(), 3) << "a missing name is appended";
    ASSERT_EQ(setupState.variableValues.count(), 3);
    EXPECT_EQ(nameAt(2), "%ShortcutsGroup%");
    EXPECT_STREQ(lookupVariable("%shortcutsgroup%"), "Tools");

    ASSERT_TRUE(setVariable("%ShortcutsGroup%", ""));
    ASSERT_NE(lookupVariable("%ShortcutsGroup%"), nullptr);
    EXPECT_STREQ(lookupVariable("%ShortcutsGroup%"), "") << "an empty value is still a value";
    EXPECT_EQ(expand("[%ShortcutsGroup%]"), "[]");
}

TEST_F(Variables, ATableThatCannotStoreKeepsNamesAndValuesPaired) {
    // Only the value list is missing: the name that was appended must be taken back.
    setupState.variableValues.destroy();
    EXPECT_FALSE(defineVariable("%A%", "1"));
    EXPECT_FALSE(setVariable("%A%", "1"));
    EXPECT_EQ(setupState.variableNames.count(), 0) << "names and values stay paired";
    EXPECT_EQ(lookupVariable("%A%"), nullptr);
}

TEST_F(Variables, ExpansionReplacesEveryVariableInAnyCase) {
    ASSERT_TRUE(defineVariable("%INSTALLPATH%", "C:\\Program Files\\App"));
    ASSERT_TRUE(defineVariable("%ShortcutsGroup%", "App Tools"));
    ASSERT_TRUE(defineVariable("%UninstallerFileName%", "uninst.exe"));

    EXPECT_EQ(expand("%installpath%\\%UNINSTALLERFILENAME%"), "C:\\Program Files\\App\\uninst.exe");
    EXPECT_EQ(expand("%ShortcutsGroup% / %shortcutsgroup% / %SHORTCUTSGROUP%"),
              "App Tools / App Tools / App Tools")
        << "every occurrence, whatever its case";
    EXPECT_EQ(expand("%InstallPath%%InstallPath%"), "C:\\Program Files\\AppC:\\Program Files\\App");
    EXPECT_EQ(expand("no placeholders"), "no placeholders");
    EXPECT_EQ(expand(""), "");
    EXPECT_EQ(expand(nullptr), "") << "null text counts as empty";

    EXPECT_EQ(expand("%Unknown%\\%InstallPath%\\100% sure %"),
              "%Unknown%\\C:\\Program Files\\App\\100% sure %")
        << "undefined names and stray percent signs stay as written";

    const char* text = "plain";
    char* copy = expandVariables(text);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, text) << "the result is always a new string";
    EXPECT_STREQ(copy, text);
    heapFree(copy);
}

TEST_F(Variables, LaterDefinitionsExpandEarlierValuesButNotTheOtherWayRound) {
    // The program group defined first: the folder's value is applied after it, so its own
    // %SHORTCUTSGROUP% is not expanded in the same call.
    ASSERT_TRUE(defineVariable("%SHORTCUTSGROUP%", "App"));
    ASSERT_TRUE(defineVariable("%SHORTCUTSFOLDER%", "C:\\Menu\\%SHORTCUTSGROUP%"));
    EXPECT_EQ(expand("%ShortcutsFolder%\\a.lnk"), "C:\\Menu\\%SHORTCUTSGROUP%\\a.lnk");

    TearDown();
    SetUp();
    ASSERT_TRUE(defineVariable("%SHORTCUTSFOLDER%", "C:\\Menu\\%SHORTCUTSGROUP%"));
    ASSERT_TRUE(defineVariable("%SHORTCUTSGROUP%", "App"));
    EXPECT_EQ(expand("%ShortcutsFolder%\\a.lnk"), "C:\\Menu\\App\\a.lnk");
}

TEST_F(Variables, AValueContainingItsOwnNameIsInsertedOnce) {
    ASSERT_TRUE(defineVariable("%PATH%", "%path%;C:\\bin"));
    ASSERT_TRUE(defineVariable("%Loop%", "[%LOOP%]"));
    ASSERT_TRUE(defineVariable("%Tail%", "x"));

    EXPECT_EQ(expand("%Path%"), "%path%;C:\\bin");
    EXPECT_EQ(expand("a %PATH% b %path% c"), "a %path%;C:\\bin b %path%;C:\\bin c");
    EXPECT_EQ(expand("%loop%%loop%%tail%"), "[%LOOP%][%LOOP%]x")
        << "later variables still apply after a self-containing one";

    ASSERT_TRUE(setVariable("%Tail%", "%TAIL%%tail%"));
    EXPECT_EQ(expand("<%Tail%>"), "<%TAIL%%tail%>");
}

TEST(ReplaceAll, ReplacesEveryOccurrenceAndRescansJoinedText) {
    EXPECT_EQ(replace("a--b--c", "--", ""), "abc");
    EXPECT_EQ(replace("abc", "abc", "xyz"), "xyz") << "the whole text";
    EXPECT_EQ(replace("xABcAbab", "ab", "-"), "x-c--");
    EXPECT_EQ(replace("aaa", "aa", "b"), "ba") << "occurrences do not overlap";
    EXPECT_EQ(replace("abb", "ab", "a"), "a")
        << "a replacement that joins with the following text forms a new occurrence";
    EXPECT_EQ(replace("%%A%A%", "%A%", "%"), "%%")
        << "and so does one that joins with the text before it";
    EXPECT_EQ(replace("short", "longer pattern", "x"), "short");
}

TEST(ReplaceAll, CaseAndMissingArguments) {
    EXPECT_EQ(replace("Dir\\DIR\\dir", "dir", "X"), "X\\X\\X");
    EXPECT_EQ(replace("Dir\\DIR\\dir", "dir", "X", true), "Dir\\DIR\\X");

    EXPECT_EQ(replace("abc", "", "x"), "abc") << "an empty pattern replaces nothing";
    EXPECT_EQ(replace("abc", nullptr, "x"), "abc");
    EXPECT_EQ(replace(nullptr, "a", "x"), "");
    EXPECT_EQ(replace("", "a", "x"), "");
    EXPECT_EQ(replace("a-b", "-", nullptr), "ab") << "a null replacement removes";
}

TEST(ReplaceAll, AReplacementContainingThePatternIsNotSearchedAgain) {
    EXPECT_EQ(replace("xaax", "a", "aa"), "xaaaax");
    EXPECT_EQ(replace("A", "a", "[A]"), "[A]") << "contains it ignoring case";
    EXPECT_EQ(replace("%v%%V%", "%V%", "%V%%V%"), "%V%%V%%V%%V%");
    EXPECT_EQ(replace("ab-ab", "ab", "aab"), "aab-aab");
    EXPECT_EQ(replace("%A%%", "%a%", "%A%%A"), "%A%%A%")
        << "the search goes on after the inserted text, not inside it";
}

TEST(ReplaceAll, AgreesWithReplacingFromTheStartWheneverThatEnds) {
    // Every text, pattern and replacement over a small alphabet, compared with the plain rule
    // "replace the leftmost occurrence, then search again from the beginning".
    const char alphabet[] = "aAb%";
    std::uint32_t seed = 2024;
    auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    auto word = [&](std::uint32_t maxLength) {
        std::string s;
        for (std::uint32_t n = next(maxLength + 1); n > 0; --n) s += alphabet[next(4)];
        return s;
    };
    int compared = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text = word(10);
        std::string find = word(3);
        std::string replacement = word(4);
        if (find.empty()) continue;
        std::string expected = referenceReplaceAll(text, find, replacement, 200);
        if (expected == "<endless>") continue;
        ++compared;
        ASSERT_EQ(replace(text.c_str(), find.c_str(), replacement.c_str()), expected)
            << "text \"" << text << "\", pattern \"" << find << "\", replacement \"" << replacement
            << "\"";
    }
    EXPECT_GT(compared, 2000);
}

TEST(ReplaceAll, AReplacementThatKeepsRecreatingThePatternStops) {
    // "X%%X" does not contain "%X%", yet every replacement joins with the text around it into a
    // new occurrence, without end.
    ASSERT_EQ(referenceReplaceAll("%%X%", "%X%", "X%%X", 1000), "<endless>");
    std::string result = replace("%%X%", "%X%", "X%%X");
    EXPECT_GT(result.size(), 1000u);
    EXPECT_LE(result.size(), 4u + kMaxInsertedChars) << "bounded by the insertion budget";

    // A large but reasonable expansion is not cut short.
    std::string many;
    for (int i = 0; i < 2000; ++i) many += "%P%;";
    std::string path(200, 'p');
    std::string expanded = replace(many.c_str(), "%p%", path.c_str());
    EXPECT_EQ(expanded.size(), 2000u * (path.size() + 1));
    EXPECT_EQ(expanded.find('%'), std::string::npos);
}
