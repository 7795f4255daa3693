#include "kelvara-build/languages/builtin_languages.h"

#include <iterator>

namespace kelvara::build {
namespace {

std::span<const BuiltinText> englishTexts() {
    return defaultEnglishTexts();
}

// Windows gives Chinese one primary language number, 4; the traditional script takes 61, which
// Windows assigns to no language it ships, and the engine takes the Chinese of Taiwan, Hong Kong
// and Macao for it.
constexpr BuiltinLanguage kLanguages[] = {
    {"en", "english", 9, "English", false, englishTexts},
    {"de", "german", 7, "Deutsch", false, germanTexts},
    {"fr", "french", 12, "Français", false, frenchTexts},
    {"es", "spanish", 10, "Español", false, spanishTexts},
    {"it", "italian", 16, "Italiano", false, italianTexts},
    {"pt-BR", "portuguese", 22, "Português (Brasil)", false, portugueseBrazilTexts},
    {"nl", "dutch", 19, "Nederlands", false, dutchTexts},
    {"pl", "polish", 21, "Polski", true, polishTexts},
    {"cs", "czech", 5, "Čeština", true, czechTexts},
    {"sv", "swedish", 29, "Svenska", false, swedishTexts},
    {"da", "danish", 6, "Dansk", false, danishTexts},
    {"nb", "norwegian", 20, "Norsk (bokmål)", false, norwegianTexts},
    {"fi", "finnish", 11, "Suomi", false, finnishTexts},
    {"tr", "turkish", 31, "Türkçe", true, turkishTexts},
    {"ru", "russian", 25, "Русский", true, russianTexts},
    {"uk", "ukrainian", 34, "Українська", true, ukrainianTexts},
    {"el", "greek", 8, "Ελληνικά", true, greekTexts},
    {"ja", "japanese", 17, "日本語", true, japaneseTexts},
    {"zh-Hans", "chinese", 4, "简体中文", true, chineseSimplifiedTexts},
    {"zh-Hant", "chinese-traditional", kTraditionalChineseNumber, "繁體中文", true,
     chineseTraditionalTexts},
    {"ko", "korean", 18, "한국어", true, koreanTexts},
};

}  // namespace

std::span<const BuiltinLanguage> builtinLanguages() {
    return kLanguages;
}

const BuiltinLanguage* builtinLanguage(int number) {
    for (const BuiltinLanguage& language : kLanguages) {
        if (language.number == number) return &language;
    }
    return nullptr;
}

const char* builtinText(const BuiltinLanguage& language, int table, int item) {
    for (const BuiltinText& text : language.texts()) {
        if (text.table == table && text.item == item) return text.text;
    }
    return nullptr;
}

}  // namespace kelvara::build
