#include "formats/uninstaller_texts.h"

#include "formats/languages.h"

namespace kelvara {

const char* englishUninstallerText(UninstallerText item) {
    for (const UninstallerDefault& text : kUninstallerEnglish) {
        if (text.item == item) return text.text;
    }
    return "";
}

const char* uninstallerText(UninstallerText item) {
    const char* carried = text(kUninstallTextsSlot, static_cast<int>(item));
    return *carried ? carried : englishUninstallerText(item);
}

}  // namespace kelvara
