// The languages the builder carries texts for: every page text, message and button label of the
// installer, and every text of the uninstaller, written in each language. A project names them
// in `[languages] offer`; its own `[[texts]]` replace single items.
#pragma once
#include <span>

#include "formats/languages.h"
#include "kelvara-build/image/default_texts.h"

namespace kelvara::build {

// The uninstaller's texts: carried with the installation, keyed by item in page slot 12.
constexpr int kTableUninstaller = 12;

// One text of a language, in UTF-8, keyed as the English default it translates.
using BuiltinText = DefaultText;

struct BuiltinLanguage {
    const char* code;     // the language tag: "de", "pt-BR", "zh-Hant"
    const char* key;      // its name in [languages] offer: "german", "chinese-traditional"
    int number;           // the image's language number (the primary language of Windows)
    const char* ownName;  // the language's name for itself, as the Language page lists it
    bool needsUnicode;    // has characters outside Windows-1252
    std::span<const BuiltinText> (*texts)();  // sorted like the English defaults
};

// The language number of Chinese in the traditional script (Windows gives both scripts 4).
constexpr int kTraditionalChineseNumber = kelvara::kTraditionalChinese;

// The item of the Language page's table that names the language in itself.
constexpr int kLanguageOwnNameItem = 4;

// Every built-in language, English first.
std::span<const BuiltinLanguage> builtinLanguages();

// The built-in language of a language number, or null.
const BuiltinLanguage* builtinLanguage(int number);

// The language's text of (table, item), or null when it has none.
const char* builtinText(const BuiltinLanguage& language, int table, int item);

// The uninstaller's English texts (table kTableUninstaller), sorted by item.
std::span<const BuiltinText> defaultUninstallerTexts();

// Each language's texts, one file per language under languages/.
std::span<const BuiltinText> germanTexts();
std::span<const BuiltinText> frenchTexts();
std::span<const BuiltinText> spanishTexts();
std::span<const BuiltinText> italianTexts();
std::span<const BuiltinText> portugueseBrazilTexts();
std::span<const BuiltinText> dutchTexts();
std::span<const BuiltinText> polishTexts();
std::span<const BuiltinText> czechTexts();
std::span<const BuiltinText> swedishTexts();
std::span<const BuiltinText> danishTexts();
std::span<const BuiltinText> norwegianTexts();
std::span<const BuiltinText> finnishTexts();
std::span<const BuiltinText> turkishTexts();
std::span<const BuiltinText> russianTexts();
std::span<const BuiltinText> ukrainianTexts();
std::span<const BuiltinText> greekTexts();
std::span<const BuiltinText> japaneseTexts();
std::span<const BuiltinText> chineseSimplifiedTexts();
std::span<const BuiltinText> chineseTraditionalTexts();
std::span<const BuiltinText> koreanTexts();

}  // namespace kelvara::build
