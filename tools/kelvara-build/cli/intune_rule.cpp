// Intune's facts of a Win32 app: its commands, return codes and the rule that detects it.
#include "kelvara-build/cli/manifest_texts.h"
#include "kelvara-build/cli/package_manifests.h"

namespace kelvara::build {

using namespace manifests;

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string jsonString(const std::string& text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            out += "\\u00";
            out += kDigits[c >> 4];
            out += kDigits[c & 0x0F];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

bool writeIntuneRule(const ReleaseFacts& facts, const std::filesystem::path& file,
                     std::string& error) {
    ReleaseImage r;
    if (!resolveImage(facts, r, error)) return false;
    if (!facts.hasUninstaller || !validShortName(facts.shortName)) {
        error = facts.hasUninstaller
                    ? "Intune rule: the short name '" + facts.shortName +
                          "' names no uninstall entry to detect"
                    : "Intune rule: the product has no uninstaller ([install] uninstaller), so no "
                      "uninstall entry to detect it by";
        return false;
    }
    if (facts.uninstallerPath.empty() || facts.uninstallerPath.find('"') != std::string::npos ||
        hasControl(facts.uninstallerPath)) {
        error =
            "Intune rule: where the uninstaller is installed is not known before the run: "
            "%InstallPath% must expand, through the project's own variables, to a path that starts "
            "with <ProgramFiles>, <CommonFiles>, <ProgramFiles32> or <ProgramFiles64> (the first "
            "two alone for a user's installation), a drive or a share, and holds no other folder "
            "token";
        return false;
    }
    const bool user = facts.scope == ReleaseScope::user;
    std::string install = "\"" + r.fileName + "\" /QUIET";
    // Intune installs a choose product as the system, for every user.
    if (facts.scope == ReleaseScope::choose) install += " /ALLUSERS";
    // What the engine writes as the entry's QuietUninstallString.
    const std::string uninstall = "\"" + facts.uninstallerPath + "\" /S";
    const std::string key = std::string(user ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") +
                            kUninstallKey + facts.shortName;
    // The engine, a 32-bit program, writes an x86 product's entry in the 32-bit view (it is
    // redirected below WOW6432Node of HKLM) and a 64-bit product's in the native one.
    const bool view32 = facts.architecture == ReleaseArchitecture::x86;
    // Intune compares dotted numbers as versions; any other text only as it is.
    bool numeric = !facts.version.empty() && facts.version.size() <= 64;
    int dots = 0;
    for (std::size_t i = 0; numeric && i < facts.version.size(); ++i) {
        const char c = facts.version[i];
        if (c == '.') {
            numeric = i > 0 && i + 1 < facts.version.size() && facts.version[i + 1] != '.';
            ++dots;
        } else {
            numeric = c >= '0' && c <= '9';
        }
    }
    numeric = numeric && dots <= 3;

    std::string json = "{\n";
    json += "  \"@odata.type\": \"#microsoft.graph.win32LobApp\",\n";
    json += "  \"displayName\": " + jsonString(facts.productName) + ",\n";
    json += "  \"publisher\": " + jsonString(facts.publisher) + ",\n";
    json += "  \"displayVersion\": " + jsonString(facts.version) + ",\n";
    json += "  \"setupFilePath\": " + jsonString(r.fileName) + ",\n";
    json += "  \"installCommandLine\": " + jsonString(install) + ",\n";
    json += "  \"uninstallCommandLine\": " + jsonString(uninstall) + ",\n";
    // The commands name a 32-bit product's folders as a 64-bit Windows has them.
    json += std::string("  \"applicableArchitectures\": \"") +
            (facts.architecture == ReleaseArchitecture::x64     ? "x64"
             : facts.architecture == ReleaseArchitecture::arm64 ? "arm64"
                                                                : "x64,arm64") +
            "\",\n";
    json += "  \"installExperience\": {\n";
    json += std::string("    \"runAsAccount\": \"") + (user ? "user" : "system") + "\",\n";
    json += "    \"deviceRestartBehavior\": \"basedOnReturnCode\"\n";
    json += "  },\n";
    json += "  \"returnCodes\": [\n";
    json += "    { \"returnCode\": 0, \"type\": \"success\" },\n";
    json += "    { \"returnCode\": 3010, \"type\": \"softReboot\" },\n";
    json += "    { \"returnCode\": 1641, \"type\": \"hardReboot\" },\n";
    json += "    { \"returnCode\": 1618, \"type\": \"retry\" }\n";
    json += "  ],\n";
    json += "  \"rules\": [\n";
    json += "    {\n";
    json += "      \"@odata.type\": \"#microsoft.graph.win32LobAppRegistryRule\",\n";
    json += "      \"ruleType\": \"detection\",\n";
    json += std::string("      \"check32BitOn64System\": ") + (view32 ? "true" : "false") + ",\n";
    json += "      \"keyPath\": " + jsonString(key) + ",\n";
    if (facts.version.empty()) {
        // No version, no DisplayVersion: the entry's key alone tells.
        json += "      \"valueName\": null,\n";
        json += "      \"operationType\": \"exists\",\n";
        json += "      \"operator\": \"notConfigured\",\n";
        json += "      \"comparisonValue\": null\n";
    } else {
        json += "      \"valueName\": \"DisplayVersion\",\n";
        json +=
            std::string("      \"operationType\": \"") + (numeric ? "version" : "string") + "\",\n";
        json += "      \"operator\": \"equal\",\n";
        json += "      \"comparisonValue\": " + jsonString(facts.version) + "\n";
    }
    json += "    }\n";
    json += "  ]\n";
    json += "}\n";
    if (!writeText(file, json)) {
        error = "cannot write '" + utf8Path(file) + "'";
        return false;
    }
    return true;
}

}  // namespace kelvara::build
