// The probe's registry commands: values, keys, shared counts and pending renames.
#include "probe_registry.h"

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <vector>

namespace probe {
namespace {

constexpr DWORD kMaxValueBytes = 16u << 20;  // larger registry values are reported as errors

const wchar_t kSharedDllsKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const wchar_t kSessionManagerKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingRenamesValue[] = L"PendingFileRenameOperations";

struct RootName {
    const wchar_t* shortName;
    const wchar_t* longName;
    HKEY key;
};

const RootName kRoots[] = {
    {L"HKCR", L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {L"HKCU", L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKLM", L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {L"HKU", L"HKEY_USERS", HKEY_USERS},
    {L"HKCC", L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

HKEY rootKey(const std::wstring& name) {
    for (const RootName& root : kRoots) {
        if (_wcsicmp(name.c_str(), root.shortName) == 0 ||
            _wcsicmp(name.c_str(), root.longName) == 0)
            return root.key;
    }
    return nullptr;
}

// A value's type and bytes; `error` is ERROR_SUCCESS, ERROR_FILE_NOT_FOUND or another failure.
struct RegistryValue {
    LONG error = ERROR_SUCCESS;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

RegistryValue queryValue(HKEY key, const std::wstring& name) {
    RegistryValue value;
    DWORD size = 0;
    // The value may grow between the two calls: ask again a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        value.error = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
        if (value.error != ERROR_SUCCESS) return value;
        if (size > kMaxValueBytes) {
            value.error = ERROR_INSUFFICIENT_BUFFER;
            return value;
        }
        value.data.assign(size, 0);
        value.error = RegQueryValueExW(key, name.c_str(), nullptr, &value.type,
                                       value.data.empty() ? nullptr : value.data.data(), &size);
        if (value.error == ERROR_SUCCESS) {
            value.data.resize(size);
            return value;
        }
        if (value.error != ERROR_MORE_DATA) return value;
    }
    return value;
}

void addValue(JsonLine& line, const RegistryValue& value) {
    line.number("type", value.type).ascii("data", hexBytes(value.data.data(), value.data.size()));
}

std::string valueObject(const std::wstring& name, const RegistryValue& value) {
    return "{\"name\": " + jsonString(name) + ", \"type\": " + std::to_string(value.type) +
           ", \"data\": \"" + hexBytes(value.data.data(), value.data.size()) + "\"}";
}

// All values and subkeys of an open key, in one line.
int describeKey(JsonLine& line, HKEY key) {
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0;
    LONG error = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr,
                                  &values, &longestName, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) return withError(line, "RegQueryInfoKey", error);
    std::string subkeyList = "[", valueList = "[";
    std::vector<wchar_t> name(std::max(longestSubkey, longestName) + 2);
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        error = RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) break;
        if (error != ERROR_SUCCESS) return withError(line, "RegEnumKeyEx", error);
        subkeyList += (i ? ", " : "") + jsonString(std::wstring(name.data(), length));
    }
    for (DWORD i = 0; i < values; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        error = RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) break;
        if (error != ERROR_SUCCESS) return withError(line, "RegEnumValue", error);
        std::wstring valueName(name.data(), length);
        RegistryValue value = queryValue(key, valueName);
        if (value.error != ERROR_SUCCESS) return withError(line, "RegQueryValueEx", value.error);
        valueList += (i ? ", " : "") + valueObject(valueName, value);
    }
    line.flag("exists", true).raw("subkeys", subkeyList + "]").raw("values", valueList + "]");
    line.print();
    return kOk;
}

// The value is a REG_MULTI_SZ of source, target pairs; an empty target (deletion) is an empty
// string inside the list, so the strings are counted, not read up to the first empty one.
std::string renamePairs(const std::vector<BYTE>& data) {
    std::vector<std::wstring> strings;
    std::size_t count = data.size() / sizeof(wchar_t);
    std::wstring text(count, L'\0');
    std::copy(data.begin(), data.begin() + count * sizeof(wchar_t),
              reinterpret_cast<BYTE*>(text.data()));
    for (std::size_t start = 0; start < count;) {
        std::size_t end = text.find(L'\0', start);
        if (end == std::wstring::npos) end = count;
        strings.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    // The list's closing terminator reads as one more empty string.
    if (strings.size() % 2 == 1 && strings.back().empty()) strings.pop_back();
    std::string list = "[";
    for (std::size_t i = 0; i < strings.size(); i += 2) {
        list += i ? ", " : "";
        list += "{\"source\": " + jsonString(strings[i]) + ", \"target\": ";
        list += i + 1 < strings.size() ? jsonString(strings[i + 1]) : std::string("null");
        list += "}";
    }
    return list + "]";
}

}  // namespace

int regQueryCommand(const std::wstring& rootName, const std::wstring& keyPath,
                    const std::wstring* valueName) {
    HKEY root = rootKey(rootName);
    if (!root) {
        std::fprintf(stderr, "probe: unknown registry root\n");
        return kBadUsage;
    }
    JsonLine line;
    line.text("root", rootName).text("key", keyPath);
    if (valueName) line.text("name", *valueName);
    RegistryKey key;
    LONG error = key.open(root, keyPath.c_str());
    if (error == ERROR_FILE_NOT_FOUND) {
        line.flag("exists", false).flag("key_exists", false).print();
        return kOk;
    }
    if (error != ERROR_SUCCESS) return withError(line, "RegOpenKeyEx", error);
    if (!valueName) return describeKey(line, key.get());
    RegistryValue value = queryValue(key.get(), *valueName);
    if (value.error == ERROR_FILE_NOT_FOUND) {
        line.flag("exists", false).flag("key_exists", true).print();
        return kOk;
    }
    if (value.error != ERROR_SUCCESS) return withError(line, "RegQueryValueEx", value.error);
    line.flag("exists", true);
    addValue(line, value);
    line.print();
    return kOk;
}

int sharedCountCommand(const std::wstring& path) {
    JsonLine line;
    line.text("path", path);
    RegistryKey key;
    LONG error = key.open(HKEY_LOCAL_MACHINE, kSharedDllsKey);
    RegistryValue value;
    value.error = error;
    if (error == ERROR_SUCCESS) value = queryValue(key.get(), path);
    if (value.error == ERROR_FILE_NOT_FOUND) {
        line.flag("exists", false).print();
        return kOk;
    }
    if (value.error != ERROR_SUCCESS) return withError(line, "shared count", value.error);
    line.flag("exists", true);
    addValue(line, value);
    if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
        DWORD count = 0;
        std::copy(value.data.begin(), value.data.end(), reinterpret_cast<BYTE*>(&count));
        line.number("count", count);
    } else {
        line.null("count");
    }
    line.print();
    return kOk;
}

int pendingRenamesCommand() {
    JsonLine line;
    RegistryKey key;
    LONG error = key.open(HKEY_LOCAL_MACHINE, kSessionManagerKey);
    if (error != ERROR_SUCCESS) return withError(line, "RegOpenKeyEx", error);
    RegistryValue value = queryValue(key.get(), kPendingRenamesValue);
    if (value.error == ERROR_FILE_NOT_FOUND) {
        line.flag("exists", false).raw("renames", "[]").print();
        return kOk;
    }
    if (value.error != ERROR_SUCCESS) return withError(line, "RegQueryValueEx", value.error);
    line.flag("exists", true).raw("renames", renamePairs(value.data));
    addValue(line, value);
    line.print();
    return kOk;
}

int denyWritesCommand(const std::wstring& rootName, const std::wstring& keyPath) {
    JsonLine line;
    line.text("root", rootName).text("key", keyPath);
    HKEY root = rootKey(rootName);
    if (!root) return withError(line, "root", ERROR_INVALID_PARAMETER);
    HKEY key = nullptr;
    LONG error = RegOpenKeyExW(root, keyPath.c_str(), 0, READ_CONTROL | WRITE_DAC, &key);
    if (error != ERROR_SUCCESS) return withError(line, "RegOpenKeyEx", error);
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD status = GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr,
                                   nullptr, &acl, nullptr, &descriptor);
    PSID everyone = nullptr;
    PACL changed = nullptr;
    if (status == ERROR_SUCCESS) {
        status = ConvertStringSidToSidW(L"S-1-1-0", &everyone) ? ERROR_SUCCESS : GetLastError();
    }
    if (status == ERROR_SUCCESS) {
        EXPLICIT_ACCESSW denial = {};
        denial.grfAccessPermissions = KEY_SET_VALUE | DELETE;
        denial.grfAccessMode = DENY_ACCESS;
        denial.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        denial.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
        status = SetEntriesInAclW(1, &denial, acl, &changed);
    }
    if (status == ERROR_SUCCESS) {
        status = SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 changed, nullptr);
    }
    LocalFree(changed);
    LocalFree(everyone);
    LocalFree(descriptor);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return withError(line, "SetSecurityInfo", status);
    line.flag("denied", true).print();
    return kOk;
}

}  // namespace probe
