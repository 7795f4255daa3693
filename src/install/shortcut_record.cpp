#include "install/shortcut_record.h"

#include <cstring>

#include "environment/folder_expansion.h"
#include "formats/folder_token_names.h"
#include "formats/variables.h"
#include "runtime/path_helpers.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

struct KindMarker {
    const char* marker;
    bool ShortcutChoices::*choice;
};

// The same markers the script reader uses to tell which kinds the records mention.
constexpr KindMarker kKindMarkers[] = {
    {"%ShortcutsGroup%", &ShortcutChoices::group},
    {"<Desktop>", &ShortcutChoices::desktop},
    {"<CommonDesktop>", &ShortcutChoices::desktop},
    {"<QuickLaunch>", &ShortcutChoices::quickLaunch},
};

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Length of a name that ends at the next backslash (or the end of the text).
std::size_t nameLength(const char* text) {
    const char* slash = std::strchr(text, '\\');
    return slash ? static_cast<std::size_t>(slash - text) : std::strlen(text);
}

}  // namespace

bool shortcutWanted(const char* record, const ShortcutChoices& choices) {
    if (!record) return true;
    for (const KindMarker& kind : kKindMarkers) {
        if (!(choices.*kind.choice) && findText(record, kind.marker, -1, false)) return false;
    }
    return true;
}

char* expandShortcutRecord(const char* record) {
    HeapString tokens(expandFolderTokens(record));
    if (!tokens) return nullptr;
    return expandVariables(tokens.get());
}

const char* ShortcutRecord::text(ShortcutField field) const {
    const char* item = fields.get(field);
    return item ? item : "";
}

bool readShortcutRecord(const char* expanded, const char* installPath, ShortcutRecord& record) {
    splitFields(expanded, false, record.fields);
    if (!record.fields.isCreated() || record.fields.count() < kFieldCount) return false;

    record.workingFolder.reset(strDupExtra(record.text(kShortcutWorkingFolder), 0));
    if (!record.workingFolder) return false;
    stripTrailingSeparator(record.workingFolder.get());
    if (!*record.workingFolder.get()) {
        record.workingFolder.reset(strDupExtra(installPath, 0));
        if (!record.workingFolder) return false;
    }

    record.iconIndex = parseNumber(record.text(kShortcutIconIndex));
    const char* show = record.text(kShortcutShowCommand);
    record.showCommand = *show ? parseNumber(show) : kDefaultShowCommand;
    record.hotKey = static_cast<std::uint16_t>(parseNumber(record.text(kShortcutHotKey)) & 0xFFFF);
    record.shared = parseNumber(record.text(kShortcutShared)) != 0;
    return true;
}

bool isFullLinkPath(const char* path) {
    if (!path) return false;
    const char* rest;
    if (path[0] == '\\' && path[1] == '\\') {
        // \\server\share\ before the file's own path.
        rest = path + 2;
        for (int part = 0; part < 2; ++part) {
            std::size_t length = nameLength(rest);
            if (length == 0 || rest[length] != '\\') return false;
            rest += length + 1;
        }
    } else if (isDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\') {
        rest = path + 3;
    } else {
        return false;
    }
    const char* lastSlash = std::strrchr(rest - 1, '\\');
    return lastSlash[1] != '\0';
}

char* linkFolder(const char* path) {
    const char* slash = path ? std::strrchr(path, '\\') : nullptr;
    if (!slash) return nullptr;
    HeapString folder(strDupExtra(path, 0));
    if (!folder) return nullptr;
    const std::size_t length = static_cast<std::size_t>(slash - path);
    folder.get()[length == 2 && path[1] == ':' ? 0 : length] = '\0';
    return folder.release();
}

}  // namespace kelvara
