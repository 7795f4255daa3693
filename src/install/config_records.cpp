#include "install/config_records.h"

#include <cstring>

#include "formats/variables.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

constexpr unsigned kPredefinedKeyBit = 0x80000000u;
constexpr const char* kUninstallKeyPrefix =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// "%i" of a number into a buffer of at least 12 characters.
void formatSigned(int number, char* out) {
    char digits[12];
    int count = 0;
    auto magnitude = static_cast<std::uint32_t>(number);
    if (number < 0) magnitude = 0u - magnitude;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (number < 0) *out++ = '-';
    while (count > 0) *out++ = digits[--count];
    *out = '\0';
}

}  // namespace

bool RecordFields::read(const char* record) {
    HeapString expanded(expandVariables(record));
    if (!expanded) {
        fields_.clear();
        return false;
    }
    splitFields(expanded.get(), false, fields_);
    return fields_.count() == kFieldCount;
}

const char* RecordFields::get(int i) const {
    const char* field = fields_.get(i);
    return field ? field : "";
}

unsigned recordRootNumber(const char* field) {
    return static_cast<unsigned>(parseNumber(field)) & ~kPredefinedKeyBit;
}

std::uint32_t registryValueType(const char* field) {
    const auto type = static_cast<std::uint32_t>(parseNumber(field));
    return type == 0 ? 1 : type;
}

char* normalizeKeyPath(char* path) {
    if (!path) return nullptr;
    stripTrailingSeparator(path);
    return path[0] == '\\' ? path + 1 : path;
}

bool iniAppendFlag(const char* field) {
    return field && field[0] != '\0' && field[0] != '0';
}

IniPlace iniPlace(const char* path) {
    if (!path) path = "";
    if (std::strchr(path, '\\')) return IniPlace::withFolder;
    if (std::strchr(path, '/') || std::strchr(path, ':')) return IniPlace::asGiven;
    return IniPlace::windowsFolder;
}

char* iniFileLocation(const char* path, const char* windowsFolder) {
    if (iniPlace(path) != IniPlace::windowsFolder) return strDupExtra(path, 0);
    if (!windowsFolder || !*windowsFolder) return nullptr;
    return joinFolderName(windowsFolder, path);
}

char* uninstallKeyPath(const char* productShortName) {
    if (!productShortName || !*productShortName || std::strchr(productShortName, '\\'))
        return nullptr;
    return strConcat5(kUninstallKeyPrefix, productShortName);
}

std::uint32_t estimatedSizeKb(std::uint32_t bytes) {
    return static_cast<std::uint32_t>((std::uint64_t(bytes) + 1023) / 1024);
}

char* iconLocation(const char* iconFile, const char* indexField) {
    char index[12];
    formatSigned(parseNumber(indexField), index);
    return strConcat5(iconFile, ",", index);
}

}  // namespace kelvara
