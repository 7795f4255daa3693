// The system services of the settings and languages records: installed font faces, one
// registry value, the user's language.
#include <windows.h>

#include <cstring>

#include "environment/registry_text_win32.h"
#include "formats/languages.h"
#include "setup/script_records.h"

namespace kelvara {
namespace {

// Indexed by registry root number.
const HKEY kRegistryRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,     HKEY_LOCAL_MACHINE,
                               HKEY_USERS,        HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG,
                               HKEY_DYN_DATA};

int CALLBACK noteFontFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one family is enough
}

bool fontInstalled(const char* face) {
    LOGFONTA font{};
    font.lfCharSet = ANSI_CHARSET;
    std::size_t length = std::strlen(face);
    if (length >= sizeof font.lfFaceName) return false;
    std::memcpy(font.lfFaceName, face, length);
    HDC screen = ::GetDC(nullptr);
    if (!screen) return false;
    bool found = false;
    ::EnumFontFamiliesExA(screen, &font, noteFontFamily, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

char* readRegistryText(int root, const char* subkey, const char* valueName) {
    if (root < 0 || root >= static_cast<int>(sizeof kRegistryRoots / sizeof *kRegistryRoots)) {
        return nullptr;
    }
    return kelvara::readRegistryText(kRegistryRoots[root], subkey, valueName);
}

// Chinese in the traditional script (Taiwan, Hong Kong, Macao) has a number of its own: Windows
// gives both scripts the primary language 4.
int userLanguage() {
    const LANGID language = ::GetUserDefaultLangID();
    const int primary = language & 0xFF;
    const int sub = SUBLANGID(language);
    if (primary == LANG_CHINESE &&
        (sub == SUBLANG_CHINESE_TRADITIONAL || sub == SUBLANG_CHINESE_HONGKONG ||
         sub == SUBLANG_CHINESE_MACAU))
        return kTraditionalChinese;
    return primary;
}

const RecordPlatform kSystemPlatform = {fontInstalled, readRegistryText, userLanguage};

}  // namespace

const RecordPlatform& systemRecordPlatform() {
    return kSystemPlatform;
}

}  // namespace kelvara
