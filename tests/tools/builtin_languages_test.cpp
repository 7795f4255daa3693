// The built-in languages: every one gives every text the installer and the uninstaller show,
// fit for the engine that fills it (the same %s, variables and keyboard marks as the English
// text), in a code page its edition can hold, and a project that offers it builds without one
// English text.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/image/script_builder.h"
#include "kelvara-build/languages/builtin_languages.h"
#include "kelvara-build/project/project.h"

using namespace kelvara::build;

namespace {

const std::filesystem::path kData = KELVARA_TEST_DATA;

using Key = std::pair<int, int>;  // table, item

std::string keyName(const BuiltinLanguage& language, Key key) {
    return std::string(language.code) + " table " + std::to_string(key.first) + " item " +
           std::to_string(key.second);
}

std::map<Key, std::string> englishTexts() {
    std::map<Key, std::string> texts;
    for (const BuiltinText& t : defaultEnglishTexts()) texts[{t.table, t.item}] = t.text;
    for (const BuiltinText& t : defaultUninstallerTexts()) texts[{t.table, t.item}] = t.text;
    return texts;
}

// What the engine and the expansion read in a text, in order: each %s, each variable, each %%.
std::vector<std::string> placeholders(const std::string& text) {
    std::vector<std::string> found;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at)) {
        if (at + 1 < text.size() && (text[at + 1] == 's' || text[at + 1] == '%')) {
            found.push_back(text.substr(at, 2));
            at += 2;
            continue;
        }
        std::size_t close = text.find('%', at + 1);
        if (close == std::string::npos) break;
        found.push_back(text.substr(at, close - at + 1));
        at = close + 1;
    }
    return found;
}

std::size_t marks(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '&'));
}

// Texts a language may write as English does: words that are the same in it ("OK"; "No" in
// Spanish and Italian).
bool mayEqualEnglish(Key key) {
    return key == Key{kTableButtonLabels, 10} || key == Key{kTableButtonLabels, 6} ||
           key == Key{kTableUninstaller, 39};
}

TEST(BuiltinLanguages, EveryLanguageGivesEveryTextFitForTheEngine) {
    const std::map<Key, std::string> english = englishTexts();
    std::set<std::string> codes, keys, names;
    std::set<int> numbers;
    for (const BuiltinLanguage& language : builtinLanguages()) {
        EXPECT_TRUE(codes.insert(language.code).second) << language.code;
        EXPECT_TRUE(keys.insert(language.key).second) << language.key;
        EXPECT_TRUE(names.insert(language.ownName).second) << language.ownName;
        EXPECT_TRUE(numbers.insert(language.number).second) << language.code;
        EXPECT_TRUE(language.number >= 1 && language.number <= 97) << language.code;
        EXPECT_EQ(builtinLanguage(language.number), &language);
        if (language.number == kDefaultTextLanguage) continue;

        std::map<Key, std::string> texts;
        Key previous{-1, -1};
        bool outsideWindows1252 = false;
        for (const BuiltinText& t : language.texts()) {
            const Key key{t.table, t.item};
            EXPECT_LT(previous, key) << keyName(language, key) << ": sorted, each once";
            previous = key;
            texts[key] = t.text;
            outsideWindows1252 |= !toEngineText(t.text, TextEncoding::Windows1252);
            EXPECT_TRUE(toEngineText(t.text, TextEncoding::Utf8)) << keyName(language, key);
        }
        EXPECT_EQ(outsideWindows1252, language.needsUnicode)
            << language.code << ": needs the Unicode edition exactly when Windows-1252 lacks "
            << "one of its characters";
        for (const auto& [key, text] : english) {
            auto found = texts.find(key);
            if (found == texts.end()) {
                ADD_FAILURE() << keyName(language, key) << " is missing (English: " << text << ")";
                continue;
            }
            const std::string& translated = found->second;
            EXPECT_FALSE(translated.empty()) << keyName(language, key);
            EXPECT_EQ(placeholders(translated), placeholders(text))
                << keyName(language, key) << ": " << translated;
            EXPECT_EQ(marks(translated), marks(text))
                << keyName(language, key) << ": " << translated;
            if (!mayEqualEnglish(key)) {
                EXPECT_NE(translated, text) << keyName(language, key) << " is left in English";
            }
        }
        for (const auto& [key, text] : texts) {
            EXPECT_TRUE(english.count(key)) << keyName(language, key) << " translates nothing";
        }
    }
    EXPECT_EQ(builtinLanguages().front().number, kDefaultTextLanguage) << "English first";
}

// A project offering every built-in language writes each one's own texts: the builder warns of
// no untranslated text, and a classic-edition project is told which languages need the other.
TEST(BuiltinLanguages, AProjectOfferingThemBuildsWithoutEnglishFallbacks) {
    std::string offer;
    for (const BuiltinLanguage& language : builtinLanguages())
        offer += std::string(offer.empty() ? "" : ", ") + "\"" + language.code + "\"";
    const std::string project =
        "[product]\nname = \"Tool\"\nencoding = \"utf-8\"\n"
        "[languages]\noffer = [" +
        offer +
        "]\n"
        "[pages]\nshow = [\"language\", \"welcome\", \"installing\"]\n";
    Diagnostics d("project.toml");
    Project p = parseProject(project, kData / "full" / "project.toml", {}, d);
    ASSERT_FALSE(d.failed()) << d.errors()[0];
    buildScript(p, d);
    for (const std::string& warning : d.warnings())
        EXPECT_EQ(warning.find("not translated"), std::string::npos) << warning;

    Diagnostics classic("project.toml");
    parseProject("[product]\nname = \"Tool\"\n[languages]\noffer = [\"nl\", \"ja\", \"ko\"]\n",
                 kData / "full" / "project.toml", {}, classic);
    ASSERT_EQ(classic.errors().size(), 2u);
    EXPECT_EQ(classic.errors()[0],
              "project.toml:4: japanese (ja) has characters Windows-1252 lacks: it needs the "
              "Unicode edition, [product] encoding = \"utf-8\"");
    EXPECT_NE(classic.errors()[1].find("korean (ko)"), std::string::npos);
}

}  // namespace
