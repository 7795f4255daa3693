// The uninstaller's English texts are the engine's own fallbacks; the builder lists them with
// the installer's so that every language translates both.
#include <vector>

#include "formats/uninstaller_texts.h"
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {

std::span<const BuiltinText> defaultUninstallerTexts() {
    static const std::vector<BuiltinText> texts = [] {
        std::vector<BuiltinText> list;
        for (const UninstallerDefault& text : kUninstallerEnglish)
            list.push_back({kTableUninstaller, static_cast<int>(text.item), text.text});
        return list;
    }();
    return texts;
}

}  // namespace kelvara::build
