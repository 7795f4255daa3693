// SHA-256 and the manifests written for package managers: the winget manifests read back by a
// reader of the YAML they use and held to the schema's rules (1.6.0), the Intune rule read back
// as JSON, and the facts the builder takes from a project.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "kelvara-build/cli/package_manifests.h"
#include "kelvara-build/common/sha256.h"

using namespace kelvara::build;
namespace fs = std::filesystem;

namespace {

std::span<const unsigned char> bytesOf(const std::string& text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Folder {
  public:
    explicit Folder(const std::string& name)
        : dir_(fs::path(::testing::TempDir()) / ("kelvara-manifests-" + name)) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    const fs::path& path() const { return dir_; }

  private:
    fs::path dir_;
};

// ---- YAML, the block style the manifests use ----

struct Yaml {
    enum Kind { kScalar, kMap, kList } kind = kScalar;
    std::string text;
    bool plain = false;  // written without quotes: a YAML reader may type it
    std::vector<std::pair<std::string, Yaml>> entries;
    std::vector<Yaml> items;

    const Yaml* get(const std::string& key) const {
        for (const auto& entry : entries) {
            if (entry.first == key) return &entry.second;
        }
        return nullptr;
    }
    std::set<std::string> keys() const {
        std::set<std::string> names;
        for (const auto& entry : entries) names.insert(entry.first);
        return names;
    }
};

// A scalar as YAML reads it back; malformed quoting fails the test.
Yaml scalarOf(const std::string& written) {
    Yaml node;
    if (written.empty()) {
        ADD_FAILURE() << "empty scalar";
        return node;
    }
    if (written.front() == '\'') {
        std::size_t i = 1;
        for (; i < written.size(); ++i) {
            if (written[i] != '\'') {
                node.text += written[i];
            } else if (i + 1 < written.size() && written[i + 1] == '\'') {
                node.text += '\'';
                ++i;
            } else {
                break;
            }
        }
        EXPECT_EQ(i + 1, written.size())
            << "single-quoted scalar not closed at its end: " << written;
        return node;
    }
    if (written.front() == '"') {
        std::size_t i = 1;
        for (; i < written.size() && written[i] != '"'; ++i) {
            if (written[i] != '\\') {
                node.text += written[i];
                continue;
            }
            const char e = written[++i];
            if (e == 'n')
                node.text += '\n';
            else if (e == 't')
                node.text += '\t';
            else if (e == 'r')
                node.text += '\r';
            else if (e == '\\' || e == '"')
                node.text += e;
            else if (e == 'x') {
                node.text += static_cast<char>(std::stoi(written.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else if (e == 'u') {
                // A code point below U+10000, in UTF-8.
                const auto code =
                    static_cast<unsigned>(std::stoi(written.substr(i + 1, 4), nullptr, 16));
                if (code < 0x80) {
                    node.text += static_cast<char>(code);
                } else if (code < 0x800) {
                    node.text += static_cast<char>(0xC0 | (code >> 6));
                    node.text += static_cast<char>(0x80 | (code & 0x3F));
                } else {
                    node.text += static_cast<char>(0xE0 | (code >> 12));
                    node.text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                    node.text += static_cast<char>(0x80 | (code & 0x3F));
                }
                i += 4;
            } else {
                ADD_FAILURE() << "unknown escape in " << written;
            }
        }
        EXPECT_EQ(i + 1, written.size())
            << "double-quoted scalar not closed at its end: " << written;
        return node;
    }
    // A plain scalar ends before " #"; ": " would make it a mapping.
    EXPECT_EQ(written.find(" #"), std::string::npos) << written;
    EXPECT_EQ(written.find(": "), std::string::npos) << written;
    EXPECT_NE(written.back(), ':') << written;
    node.text = written;
    node.plain = true;
    return node;
}

struct Line {
    int indent;
    std::string text;
};

bool isItem(const std::string& text) {
    return text == "-" || text.rfind("- ", 0) == 0;
}

// "Key: rest" or "Key:", keys being plain words; false for anything else.
bool splitKey(const std::string& text, std::string& key, std::string& rest) {
    static const std::regex keyLine("^([A-Za-z][A-Za-z0-9]*):(?: (.*))?$");
    std::smatch m;
    if (!std::regex_match(text, m, keyLine)) return false;
    key = m[1];
    rest = m[2];
    return true;
}

Yaml parseNode(std::vector<Line>& lines, std::size_t& i, int indent) {
    Yaml node;
    if (isItem(lines[i].text)) {
        node.kind = Yaml::kList;
        while (i < lines.size() && lines[i].indent == indent && isItem(lines[i].text)) {
            // The item's content starts two columns further: parse it as a block there.
            lines[i].text = lines[i].text.size() > 2 ? lines[i].text.substr(2) : "";
            lines[i].indent = indent + 2;
            node.items.push_back(parseNode(lines, i, indent + 2));
        }
        return node;
    }
    std::string key, rest;
    if (!splitKey(lines[i].text, key, rest)) {
        Yaml scalar = scalarOf(lines[i].text);
        ++i;
        return scalar;
    }
    node.kind = Yaml::kMap;
    while (i < lines.size() && lines[i].indent == indent && !isItem(lines[i].text)) {
        if (!splitKey(lines[i].text, key, rest)) {
            ADD_FAILURE() << "not a key: " << lines[i].text;
            ++i;
            continue;
        }
        EXPECT_EQ(node.get(key), nullptr) << "key twice: " << key;
        ++i;
        if (!rest.empty()) {
            node.entries.emplace_back(key, scalarOf(rest));
        } else if (i < lines.size() && (lines[i].indent > indent ||
                                        (lines[i].indent == indent && isItem(lines[i].text)))) {
            node.entries.emplace_back(key, parseNode(lines, i, lines[i].indent));
        } else {
            ADD_FAILURE() << "key without a value: " << key;
        }
    }
    if (i < lines.size() && lines[i].indent > indent) {
        ADD_FAILURE() << "line indented past its block: " << lines[i].text;
    }
    return node;
}

// A manifest file: its first line, then the document.
struct Manifest {
    std::string firstLine;
    Yaml doc;
};

Manifest readManifest(const fs::path& file) {
    Manifest manifest;
    std::istringstream in(readText(file));
    std::vector<Line> lines;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        EXPECT_EQ(line.find('\r'), std::string::npos);
        EXPECT_EQ(line.find('\t'), std::string::npos) << "YAML indents with blanks";
        if (first) manifest.firstLine = line;
        first = false;
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line[start] == '#') continue;
        lines.push_back({static_cast<int>(start), line.substr(start)});
    }
    EXPECT_FALSE(lines.empty()) << file;
    if (lines.empty()) return manifest;
    EXPECT_EQ(lines[0].indent, 0);
    std::size_t i = 0;
    manifest.doc = parseNode(lines, i, 0);
    EXPECT_EQ(i, lines.size()) << "lines after the document in " << file;
    return manifest;
}

// True when a plain scalar would be read as something else than a text by a YAML 1.1 or 1.2
// reader: a boolean, null or a number.
bool yamlTypesIt(const std::string& plain) {
    static const std::regex typed(
        "(?:y|Y|yes|Yes|YES|n|N|no|No|NO|true|True|TRUE|false|False|FALSE|on|On|ON|off|Off|OFF|"
        "~|null|Null|NULL|"
        "[-+]?(?:\\.[0-9]+|[0-9][0-9_]*(?:\\.[0-9_]*)?)(?:[eE][-+]?[0-9]+)?|"
        "[-+]?0x[0-9a-fA-F_]+|0o?[0-7_]+|[-+]?\\.(?:inf|Inf|INF)|\\.(?:nan|NaN|NAN))");
    return std::regex_match(plain, typed);
}

// The value of a text field: present, a scalar, and read as a text.
std::string text(const Yaml& map, const std::string& key) {
    const Yaml* node = map.get(key);
    if (!node) {
        ADD_FAILURE() << "missing " << key;
        return "";
    }
    EXPECT_EQ(node->kind, Yaml::kScalar) << key;
    if (node->plain) {
        EXPECT_FALSE(yamlTypesIt(node->text)) << key << " is not read as a text";
    }
    return node->text;
}

// The value of an integer field: a plain number.
long long integer(const Yaml& node) {
    EXPECT_EQ(node.kind, Yaml::kScalar);
    EXPECT_TRUE(node.plain && std::regex_match(node.text, std::regex("-?[0-9]+"))) << node.text;
    return std::stoll(node.text);
}

const Yaml& list(const Yaml& map, const std::string& key) {
    static const Yaml empty;
    const Yaml* node = map.get(key);
    EXPECT_TRUE(node && node->kind == Yaml::kList) << key << " is no list";
    return node && node->kind == Yaml::kList ? *node : empty;
}

bool matches(const std::string& text, const char* pattern) {
    return std::regex_match(text, std::regex(pattern));
}

bool oneOf(const std::string& text, std::initializer_list<const char*> words) {
    for (const char* word : words) {
        if (text == word) return true;
    }
    return false;
}

// ---- the schema's rules (winget manifest schema 1.6.0) ----

constexpr const char* kIdentifierPattern =
    "[^\\.\\s\\\\/:\\*\\?\"<>\\|\\x01-\\x1f]{1,32}(\\.[^\\.\\s\\\\/"
    ":\\*\\?\"<>\\|\\x01-\\x1f]{1,32})"
    "{1,7}";
constexpr const char* kVersionPattern = "[^\\\\/:\\*\\?\"<>\\|\\x01-\\x1f]+";
constexpr const char* kManifestVersionPattern =
    "(0|[1-9][0-9]{0,3}|[1-5][0-9]{4}|6[0-4][0-9]{3}|65[0-4][0-9]{2}|655[0-2][0-9]|6553[0-5])"
    "(\\.(0|[1-9][0-9]{0,3}|[1-5][0-9]{4}|6[0-4][0-9]{3}|65[0-4][0-9]{2}|655[0-2][0-9]|"
    "6553[0-5])){2}";
constexpr const char* kUrlPattern = "([Hh][Tt][Tt][Pp][Ss]?)://.+";

const std::set<std::string> kInstallerKeys = {
    "Architecture",      "InstallerType",          "Scope",
    "InstallerUrl",      "InstallerSha256",        "InstallModes",
    "InstallerSwitches", "InstallerSuccessCodes",  "ExpectedReturnCodes",
    "UpgradeBehavior",   "AppsAndFeaturesEntries", "ElevationRequirement",
    "ProductCode",       "MinimumOSVersion"};
const std::set<std::string> kSwitchKeys = {
    "Silent", "SilentWithProgress", "Interactive", "InstallLocation", "Log", "Upgrade", "Custom"};
const std::set<std::string> kLocaleKeys = {
    "PackageIdentifier", "PackageVersion",  "PackageLocale",
    "Publisher",         "PublisherUrl",    "PublisherSupportUrl",
    "PrivacyUrl",        "Author",          "PackageName",
    "PackageUrl",        "License",         "LicenseUrl",
    "Copyright",         "CopyrightUrl",    "ShortDescription",
    "Description",       "Moniker",         "Tags",
    "ReleaseNotes",      "ReleaseNotesUrl", "ManifestType",
    "ManifestVersion"};

bool subset(const std::set<std::string>& keys, const std::set<std::string>& allowed) {
    for (const std::string& key : keys) {
        if (!allowed.count(key)) {
            ADD_FAILURE() << "a key the schema does not have here: " << key;
            return false;
        }
    }
    return true;
}

// The identity and type lines every manifest has: its schema, id, version and type.
void checkCommon(const Manifest& m, const std::string& type, const ReleaseFacts& facts,
                 const std::string& id) {
    EXPECT_EQ(m.firstLine, "# yaml-language-server: $schema=https://aka.ms/winget-manifest." +
                               type + ".1.6.0.schema.json");
    const std::string identifier = text(m.doc, "PackageIdentifier");
    EXPECT_EQ(identifier, id);
    EXPECT_TRUE(matches(identifier, kIdentifierPattern) && identifier.size() <= 128) << identifier;
    const std::string version = text(m.doc, "PackageVersion");
    EXPECT_EQ(version, facts.version);
    EXPECT_TRUE(matches(version, kVersionPattern) && version.size() <= 128) << version;
    EXPECT_EQ(text(m.doc, "ManifestType"), type);
    EXPECT_TRUE(matches(text(m.doc, "ManifestVersion"), kManifestVersionPattern));
}

struct Expected {
    std::string id;
    std::string architecture;
    std::vector<std::string> scopes;   // one installer each, in order
    std::vector<std::string> customs;  // the Custom switch of each ("" for none)
    std::string url;
    std::string sha256;
};

// Reads the three files of `folder` and holds them to the schema and to the facts.
void checkWinget(const fs::path& folder, const ReleaseFacts& facts, const Expected& expected) {
    const std::string& id = expected.id;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{id + ".installer.yaml",
                                        id + ".locale." + facts.locale + ".yaml", id + ".yaml"}));

    const Manifest version = readManifest(folder / (id + ".yaml"));
    checkCommon(version, "version", facts, id);
    EXPECT_EQ(text(version.doc, "DefaultLocale"), facts.locale);
    EXPECT_EQ(version.doc.keys(),
              (std::set<std::string>{"PackageIdentifier", "PackageVersion", "DefaultLocale",
                                     "ManifestType", "ManifestVersion"}));

    const Manifest locale = readManifest(folder / (id + ".locale." + facts.locale + ".yaml"));
    checkCommon(locale, "defaultLocale", facts, id);
    subset(locale.doc.keys(), kLocaleKeys);
    EXPECT_EQ(text(locale.doc, "PackageLocale"), facts.locale);
    EXPECT_EQ(text(locale.doc, "Publisher"), facts.publisher);
    EXPECT_EQ(text(locale.doc, "PackageName"), facts.productName);
    const std::string license = text(locale.doc, "License");
    EXPECT_EQ(license, facts.license.empty() ? "Proprietary" : facts.license);
    EXPECT_GE(license.size(), 3u);
    const std::string description = text(locale.doc, "ShortDescription");
    EXPECT_GE(description.size(), 3u);
    EXPECT_LE(description.size(), 256u);
    for (const char* key : {"PackageUrl", "PublisherUrl", "PublisherSupportUrl"}) {
        if (locale.doc.get(key)) {
            EXPECT_TRUE(matches(text(locale.doc, key), kUrlPattern)) << key;
        }
    }
    if (!facts.productUrl.empty()) {
        EXPECT_EQ(text(locale.doc, "PackageUrl"), facts.productUrl);
    }
    if (!facts.helpUrl.empty()) {
        EXPECT_EQ(text(locale.doc, "PublisherSupportUrl"), facts.helpUrl);
    }

    const Manifest installer = readManifest(folder / (id + ".installer.yaml"));
    checkCommon(installer, "installer", facts, id);
    const Yaml& doc = installer.doc;
    std::set<std::string> rootKeys = kInstallerKeys;
    rootKeys.insert(
        {"PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"});
    subset(doc.keys(), rootKeys);
    EXPECT_EQ(text(doc, "InstallerType"), "exe");
    EXPECT_EQ(text(doc, "UpgradeBehavior"), "install");
    std::vector<std::string> modes;
    for (const Yaml& mode : list(doc, "InstallModes").items) {
        EXPECT_EQ(mode.kind, Yaml::kScalar);
        EXPECT_TRUE(oneOf(mode.text, {"interactive", "silent", "silentWithProgress"}));
        modes.push_back(mode.text);
    }
    EXPECT_EQ(modes, (std::vector<std::string>{"interactive", "silent", "silentWithProgress"}));
    std::set<long long> success;
    for (const Yaml& code : list(doc, "InstallerSuccessCodes").items) {
        const long long value = integer(code);
        EXPECT_NE(value, 0);
        EXPECT_TRUE(value >= -2147483648LL && value <= 4294967295LL);
        success.insert(value);
    }
    EXPECT_EQ(success, (std::set<long long>{3010, 1641}));
    std::map<long long, std::string> responses;
    for (const Yaml& entry : list(doc, "ExpectedReturnCodes").items) {
        ASSERT_EQ(entry.kind, Yaml::kMap);
        subset(entry.keys(), {"InstallerReturnCode", "ReturnResponse", "ReturnResponseUrl"});
        const Yaml* code = entry.get("InstallerReturnCode");
        ASSERT_NE(code, nullptr);
        const std::string response = text(entry, "ReturnResponse");
        EXPECT_TRUE(oneOf(
            response,
            {"packageInUse", "packageInUseByApplication", "installInProgress", "fileInUse",
             "missingDependency", "diskFull", "insufficientMemory", "invalidParameter", "noNetwork",
             "contactSupport", "rebootRequiredToFinish", "rebootRequiredForInstall",
             "rebootInitiated", "cancelledByUser", "alreadyInstalled", "downgrade",
             "blockedByPolicy", "systemNotSupported", "custom"}))
            << response;
        responses[integer(*code)] = response;
    }
    // The engine's own exit codes.
    EXPECT_EQ(responses, (std::map<long long, std::string>{{1602, "cancelledByUser"},
                                                           {1603, "contactSupport"},
                                                           {1618, "installInProgress"},
                                                           {1638, "downgrade"}}));
    for (const auto& [code, response] : responses) EXPECT_FALSE(success.count(code));

    if (facts.hasUninstaller) {
        const Yaml& entries = list(doc, "AppsAndFeaturesEntries");
        ASSERT_EQ(entries.items.size(), 1u);
        const Yaml& entry = entries.items[0];
        subset(entry.keys(), {"DisplayName", "Publisher", "DisplayVersion", "ProductCode",
                              "UpgradeCode", "InstallerType"});
        // What the engine writes into the uninstall entry, and the entry's key name.
        EXPECT_EQ(text(entry, "DisplayName"), facts.productName);
        EXPECT_EQ(text(entry, "Publisher"), facts.publisher);
        EXPECT_EQ(text(entry, "DisplayVersion"), facts.version);
        EXPECT_EQ(text(entry, "ProductCode"), facts.shortName);
    } else {
        EXPECT_EQ(doc.get("AppsAndFeaturesEntries"), nullptr);
    }

    const Yaml& installers = list(doc, "Installers");
    ASSERT_EQ(installers.items.size(), expected.scopes.size());
    for (std::size_t i = 0; i < installers.items.size(); ++i) {
        SCOPED_TRACE("installer " + std::to_string(i));
        const Yaml& item = installers.items[i];
        ASSERT_EQ(item.kind, Yaml::kMap);
        subset(item.keys(), kInstallerKeys);
        const std::string architecture = text(item, "Architecture");
        EXPECT_TRUE(oneOf(architecture, {"x86", "x64", "arm", "arm64", "neutral"}));
        EXPECT_EQ(architecture, expected.architecture);
        const std::string scope = text(item, "Scope");
        EXPECT_TRUE(oneOf(scope, {"user", "machine"}));
        EXPECT_EQ(scope, expected.scopes[i]);
        const std::string url = text(item, "InstallerUrl");
        EXPECT_TRUE(matches(url, kUrlPattern) && url.size() <= 2048) << url;
        EXPECT_EQ(url, expected.url);
        const std::string sha = text(item, "InstallerSha256");
        EXPECT_TRUE(matches(sha, "[A-Fa-f0-9]{64}")) << sha;
        EXPECT_EQ(sha, expected.sha256);
        const Yaml* switches = item.get("InstallerSwitches");
        ASSERT_TRUE(switches && switches->kind == Yaml::kMap);
        subset(switches->keys(), kSwitchKeys);
        for (const std::string& key : switches->keys()) {
            const std::string value = text(*switches, key);
            EXPECT_TRUE(value.size() >= 1 && value.size() <= 512) << key;
        }
        EXPECT_EQ(text(*switches, "Silent"), "/QUIET");
        EXPECT_EQ(text(*switches, "SilentWithProgress"), "/PASSIVE");
        EXPECT_EQ(text(*switches, "InstallLocation"), "/DIR=\"<INSTALLPATH>\"");
        EXPECT_EQ(text(*switches, "Log"), "/LOG=\"<LOGPATH>\"");
        EXPECT_EQ(text(*switches, "Upgrade"), "/CLOSEAPPLICATIONS /RESTARTAPPLICATIONS");
        if (expected.customs[i].empty()) {
            EXPECT_EQ(switches->get("Custom"), nullptr);
        } else {
            EXPECT_EQ(text(*switches, "Custom"), expected.customs[i]);
        }
        // A machine-wide quiet run does not elevate itself: winget must.
        if (scope == "machine") {
            EXPECT_EQ(text(item, "ElevationRequirement"), "elevationRequired");
        } else if (item.get("ElevationRequirement")) {
            EXPECT_TRUE(oneOf(text(item, "ElevationRequirement"),
                              {"elevationRequired", "elevationProhibited", "elevatesSelf"}));
        }
    }
}

// A released product as a release pipeline builds it, its image a file of its own.
ReleaseFacts helloWorld(const fs::path& folder) {
    ReleaseFacts facts;
    facts.productName = "Hello World";
    facts.shortName = "HelloWorld";
    facts.publisher = "Example Software: Tools & More";
    facts.version = "2.1";
    facts.productUrl = "https://example.com/hello";
    facts.helpUrl = "https://example.com/hello/help";
    facts.scope = ReleaseScope::machine;
    facts.architecture = ReleaseArchitecture::x64;
    facts.image = folder / "hello-setup-2.1.exe";
    std::string bytes = "MZ";
    for (int i = 0; i < 100000; ++i) bytes += static_cast<char>(i * 7 + i / 256);
    std::ofstream(facts.image, std::ios::binary) << bytes;
    facts.uninstallerPath = "%ProgramW6432%\\Hello World\\uninstall.exe";
    return facts;
}

// ---- a small JSON reader for the Intune rule ----

struct Json {
    enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;
    const Json& operator[](const std::string& key) const {
        static const Json missing;
        for (const auto& member : members) {
            if (member.first == key) return member.second;
        }
        ADD_FAILURE() << "missing " << key;
        return missing;
    }
};

class JsonReader {
  public:
    explicit JsonReader(const std::string& text) : s_(text) {}
    Json document() {
        Json value = parse();
        blanks();
        EXPECT_EQ(i_, s_.size()) << "text after the JSON value";
        return value;
    }

  private:
    void blanks() {
        while (i_ < s_.size() && std::strchr(" \t\r\n", s_[i_])) ++i_;
    }
    bool take(char c) {
        blanks();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    std::string string() {
        std::string out;
        if (!take('"')) {
            ADD_FAILURE() << "expected a string at " << i_;
            return out;
        }
        while (i_ < s_.size() && s_[i_] != '"') {
            const unsigned char c = static_cast<unsigned char>(s_[i_++]);
            EXPECT_GE(c, 0x20) << "control character in a JSON string";
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            const char e = s_[i_++];
            if (e == 'u') {
                out += static_cast<char>(std::stoi(s_.substr(i_, 4), nullptr, 16));
                i_ += 4;
            } else if (e == 'n') {
                out += '\n';
            } else if (e == '"' || e == '\\' || e == '/') {
                out += e;
            } else {
                ADD_FAILURE() << "escape \\" << e << " in a JSON string";
            }
        }
        EXPECT_TRUE(i_ < s_.size()) << "string not closed";
        ++i_;
        return out;
    }
    Json parse() {
        Json value;
        blanks();
        if (i_ >= s_.size()) {
            ADD_FAILURE() << "JSON cut short";
            return value;
        }
        const char c = s_[i_];
        if (c == '{') {
            ++i_;
            value.kind = Json::kObject;
            if (take('}')) return value;
            do {
                const std::string key = string();
                EXPECT_TRUE(take(':'));
                for (const auto& member : value.members) {
                    EXPECT_NE(member.first, key) << "member twice";
                }
                value.members.emplace_back(key, parse());
            } while (take(','));
            EXPECT_TRUE(take('}')) << "object not closed at " << i_;
        } else if (c == '[') {
            ++i_;
            value.kind = Json::kArray;
            if (take(']')) return value;
            do value.items.push_back(parse());
            while (take(','));
            EXPECT_TRUE(take(']')) << "array not closed at " << i_;
        } else if (c == '"') {
            value.kind = Json::kString;
            value.text = string();
        } else if (s_.compare(i_, 4, "true") == 0 || s_.compare(i_, 5, "false") == 0) {
            value.kind = Json::kBool;
            value.boolean = c == 't';
            i_ += value.boolean ? 4 : 5;
        } else if (s_.compare(i_, 4, "null") == 0) {
            i_ += 4;
        } else {
            std::size_t used = 0;
            value.kind = Json::kNumber;
            value.number = std::stod(s_.substr(i_), &used);
            i_ += used;
        }
        return value;
    }

    const std::string& s_;
    std::size_t i_ = 0;
};

Json readIntune(const fs::path& file) {
    const std::string text = readText(file);
    return JsonReader(text).document();
}

std::string string(const Json& value) {
    EXPECT_EQ(value.kind, Json::kString);
    return value.text;
}

}  // namespace

// ---- SHA-256 ----

TEST(Sha256, GivesTheFipsDigestsAlsoFedInPieces) {
    EXPECT_EQ(sha256Hex(bytesOf("abc")),
              "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    // 56 bytes: the padding needs a block of its own.
    EXPECT_EQ(sha256Hex(bytesOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
    EXPECT_EQ(sha256Hex(bytesOf("")),
              "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
    const std::string million(1000000, 'a');
    const std::string digest = "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0";
    EXPECT_EQ(sha256Hex(bytesOf(million)), digest);
    // The same bytes in pieces that end inside a block, on its edge and across several blocks.
    for (std::size_t piece : {1u, 55u, 63u, 64u, 65u, 1000u, 4099u}) {
        Sha256 hash;
        for (std::size_t at = 0; at < million.size(); at += piece) {
            hash.update(bytesOf(million.substr(at, piece)));
        }
        EXPECT_EQ(upperHex(hash.finish()), digest) << "pieces of " << piece;
        // finish() starts over.
        hash.update(bytesOf("abc"));
        EXPECT_EQ(upperHex(hash.finish()),
                  "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    }
}

TEST(Sha256, HashesAFileInPiecesAndRefusesWhatIsNone) {
    Folder folder("sha256");
    // Longer than the reader's piece of 64 KiB, and not a multiple of a block.
    std::string bytes;
    for (int i = 0; i < 200003; ++i) bytes += static_cast<char>((i * 31) ^ (i >> 8));
    const fs::path file = folder.path() / "image.exe";
    std::ofstream(file, std::ios::binary) << bytes;
    EXPECT_EQ(sha256HexOfFile(file), sha256Hex(bytesOf(bytes)));
    std::ofstream(folder.path() / "million", std::ios::binary) << std::string(1000000, 'a');
    EXPECT_EQ(sha256HexOfFile(folder.path() / "million"),
              "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
    EXPECT_EQ(sha256HexOfFile(folder.path() / "missing.exe"), std::nullopt);
    EXPECT_EQ(sha256HexOfFile(folder.path()), std::nullopt);
}

// ---- YAML texts ----

TEST(PackageManifests, YamlScalarsReadBackAsTheSameText) {
    // Each must come back the same, and where written plain must not be typed by a reader.
    const std::vector<std::string> texts = {"Hello World",
                                            "1.0",
                                            "2.1.1",
                                            "10",
                                            "yes",
                                            "No",
                                            "off",
                                            "null",
                                            "~",
                                            "true",
                                            "-1",
                                            "+5",
                                            ".5",
                                            ".inf",
                                            "0x1F",
                                            "1e3",
                                            "Example: Tools",
                                            "key:",
                                            "C#",
                                            "#1 product",
                                            " leading",
                                            "trailing ",
                                            "- item",
                                            "[x]",
                                            "{y}",
                                            "*star",
                                            "&anchor",
                                            "!tag",
                                            "|bar",
                                            ">more",
                                            "%percent",
                                            "@at",
                                            "`tick",
                                            "it's",
                                            "'quoted'",
                                            "\"double\"",
                                            "a, b",
                                            "two\nlines",
                                            "tab\there",
                                            "bell\x07",
                                            "Caf\xC3\xA9 M\xC3\xBCller",
                                            "/QUIET",
                                            "/DIR=\"<INSTALLPATH>\"",
                                            "https://example.com/a?b=c#d",
                                            "?",
                                            "",
                                            "=",
                                            "<<",
                                            "next\xC2\x85line",
                                            "line\xE2\x80\xA8separator",
                                            "para\xE2\x80\xA9graph",
                                            "c1\xC2\x9F"};
    for (const std::string& text : texts) {
        const std::string written = yamlScalar(text);
        SCOPED_TRACE("text '" + text + "' written as " + written);
        EXPECT_EQ(written.find('\n'), std::string::npos);
        // Nor what a YAML 1.1 reader takes for a line break or refuses: C1 controls, U+2028/9.
        for (const char* raw : {"\xC2\x85", "\xC2\x9F", "\xE2\x80\xA8", "\xE2\x80\xA9"})
            EXPECT_EQ(written.find(raw), std::string::npos);
        if (text.empty()) {
            EXPECT_EQ(written, "''");
            continue;
        }
        const Yaml read = scalarOf(written);
        EXPECT_EQ(read.text, text);
        if (read.plain) {
            EXPECT_FALSE(yamlTypesIt(text));
            EXPECT_EQ(text.find_first_of(":#"), std::string::npos);
            EXPECT_NE(text.front(), ' ');
            EXPECT_NE(text.back(), ' ');
        }
    }
    // Those that need nothing stay as they are, so the manifests read as people write them.
    EXPECT_EQ(yamlScalar("Hello World"), "Hello World");
    EXPECT_EQ(yamlScalar("/QUIET"), "/QUIET");
    EXPECT_EQ(yamlScalar("1.0"), "'1.0'");
    EXPECT_EQ(yamlScalar("it's: here"), "'it''s: here'");
}

// ---- winget ----

TEST(PackageManifests, WingetManifestsOfAMachineProductMeetTheSchema) {
    Folder work("machine");
    ReleaseFacts facts = helloWorld(work.path());
    const fs::path out = work.path() / "winget";
    std::string error;
    ASSERT_TRUE(writeWingetManifests(facts, out, error)) << error;
    // The hash of the file itself, and the placeholder address of its name.
    const std::optional<std::string> hash = sha256HexOfFile(facts.image);
    ASSERT_TRUE(hash);
    checkWinget(out, facts,
                {"ExampleSoftwareToolsMore.HelloWorld",
                 "x64",
                 {"machine"},
                 {""},
                 "https://example.invalid/hello-setup-2.1.exe",
                 *hash});
    // The version reads back as a text, not the number 2.1.
    EXPECT_NE(
        readText(out / "ExampleSoftwareToolsMore.HelloWorld.yaml").find("PackageVersion: '2.1'\n"),
        std::string::npos);
}

TEST(PackageManifests, ChooseScopeGivesAnInstallerPerScopeAndArm64ItsArchitecture) {
    Folder work("choose");
    ReleaseFacts facts = helloWorld(work.path());
    facts.scope = ReleaseScope::choose;
    facts.architecture = ReleaseArchitecture::x86;
    facts.packageIdentifier = "Example.Hello.World";
    facts.installerUrl = "https://downloads.example.com/hello/2.1/hello-setup.exe";
    facts.imageSha256 = "00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF";
    facts.license = "MIT";
    facts.locale = "de-DE";
    facts.productName =
        "Hallo Welt: Gr\xC3\xBC\xC3\x9F"
        "e";
    std::string error;
    ASSERT_TRUE(writeWingetManifests(facts, work.path() / "choose", error)) << error;
    checkWinget(work.path() / "choose", facts,
                {"Example.Hello.World",
                 "x86",
                 {"machine", "user"},
                 {"/ALLUSERS", "/CURRENTUSER"},
                 facts.installerUrl,
                 "00112233445566778899AABBCCDDEEFF00112233445566778899AABBCCDDEEFF"});

    ReleaseFacts arm = helloWorld(work.path());
    arm.architecture = ReleaseArchitecture::arm64;
    arm.scope = ReleaseScope::user;
    arm.hasUninstaller = false;
    arm.productUrl.clear();
    arm.shortDescription = "Says hello";
    ASSERT_TRUE(writeWingetManifests(arm, work.path() / "arm", error)) << error;
    checkWinget(work.path() / "arm", arm,
                {"ExampleSoftwareToolsMore.HelloWorld",
                 "arm64",
                 {"user"},
                 {""},
                 "https://example.invalid/hello-setup-2.1.exe",
                 *sha256HexOfFile(arm.image)});
    const Manifest locale =
        readManifest(work.path() / "arm" / "ExampleSoftwareToolsMore.HelloWorld.locale.en-US.yaml");
    EXPECT_EQ(text(locale.doc, "ShortDescription"), "Says hello");
    EXPECT_EQ(locale.doc.get("PackageUrl"), nullptr);
}

TEST(PackageManifests, PackageIdentifierAndFactsTheSchemaRefuses) {
    EXPECT_EQ(defaultPackageIdentifier("Example Software Ltd.", "Hello World 2"),
              "ExampleSoftwareLtd.HelloWorld2");
    // Each part at most 32 characters; none of punctuation alone.
    EXPECT_EQ(defaultPackageIdentifier(std::string(40, 'p'), "A-B"), std::string(32, 'p') + ".AB");
    EXPECT_EQ(defaultPackageIdentifier("---", "Hello"), "");

    Folder work("refused");
    const ReleaseFacts good = helloWorld(work.path());
    struct Case {
        const char* what;
        void (*spoil)(ReleaseFacts&);
    } cases[] = {
        {"identifier of one part", [](ReleaseFacts& f) { f.packageIdentifier = "Hello"; }},
        {"identifier with a blank",
         [](ReleaseFacts& f) { f.packageIdentifier = "Ex.Hello World"; }},
        {"identifier part too long",
         [](ReleaseFacts& f) { f.packageIdentifier = "Ex." + std::string(33, 'h'); }},
        {"no identifier to make", [](ReleaseFacts& f) { f.publisher = "&&"; }},
        {"no version", [](ReleaseFacts& f) { f.version.clear(); }},
        {"version with a slash", [](ReleaseFacts& f) { f.version = "2.1/beta"; }},
        {"version too long", [](ReleaseFacts& f) { f.version = std::string(129, '1'); }},
        {"version naming a variable", [](ReleaseFacts& f) { f.version = "%AppVersion%"; }},
        {"no publisher",
         [](ReleaseFacts& f) {
             f.publisher.clear();
             f.packageIdentifier = "Ex.Hello";
         }},
        {"url without a scheme", [](ReleaseFacts& f) { f.productUrl = "www.example.com"; }},
        {"installer url not http", [](ReleaseFacts& f) { f.installerUrl = "ftp://example.com/a"; }},
        {"locale", [](ReleaseFacts& f) { f.locale = "en_US"; }},
        {"hash", [](ReleaseFacts& f) { f.imageSha256 = "ABC"; }},
        {"image missing", [](ReleaseFacts& f) { f.image = f.image.parent_path() / "gone.exe"; }},
        {"short description", [](ReleaseFacts& f) { f.shortDescription = "Hi"; }},
        {"short name with a backslash", [](ReleaseFacts& f) { f.shortName = "Hello\\World"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReleaseFacts facts = good;
        c.spoil(facts);
        const fs::path out = work.path() / "out";
        std::string error;
        EXPECT_FALSE(writeWingetManifests(facts, out, error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(fs::exists(out)) << "a refused manifest leaves nothing";
    }
    // Without an uninstaller the short name is not used.
    ReleaseFacts noEntry = good;
    noEntry.hasUninstaller = false;
    noEntry.shortName = "Hello\\World";
    std::string error;
    EXPECT_TRUE(writeWingetManifests(noEntry, work.path() / "no-entry", error)) << error;
}

// ---- Intune ----

TEST(PackageManifests, IntuneRuleDetectsTheUninstallEntryInItsHiveAndView) {
    Folder work("intune");
    struct Case {
        ReleaseScope scope;
        ReleaseArchitecture architecture;
        const char* hive;
        bool view32;
        const char* account;
        const char* install;
        const char* architectures;  // the Windows it applies to
    } cases[] = {
        {ReleaseScope::machine, ReleaseArchitecture::x86, "HKEY_LOCAL_MACHINE", true, "system",
         "\"hello-setup-2.1.exe\" /QUIET", "x64,arm64"},
        {ReleaseScope::machine, ReleaseArchitecture::x64, "HKEY_LOCAL_MACHINE", false, "system",
         "\"hello-setup-2.1.exe\" /QUIET", "x64"},
        {ReleaseScope::user, ReleaseArchitecture::x86, "HKEY_CURRENT_USER", true, "user",
         "\"hello-setup-2.1.exe\" /QUIET", "x64,arm64"},
        {ReleaseScope::user, ReleaseArchitecture::x64, "HKEY_CURRENT_USER", false, "user",
         "\"hello-setup-2.1.exe\" /QUIET", "x64"},
        {ReleaseScope::choose, ReleaseArchitecture::arm64, "HKEY_LOCAL_MACHINE", false, "system",
         "\"hello-setup-2.1.exe\" /QUIET /ALLUSERS", "arm64"},
    };
    for (const Case& c : cases) {
        ReleaseFacts facts = helloWorld(work.path());
        facts.scope = c.scope;
        facts.architecture = c.architecture;
        facts.version = "2.1.10";
        SCOPED_TRACE(std::string(c.hive) + (c.view32 ? " 32-bit" : " native"));
        const fs::path file = work.path() / "intune.json";
        std::string error;
        ASSERT_TRUE(writeIntuneRule(facts, file, error)) << error;
        const Json rule = readIntune(file);
        EXPECT_EQ(string(rule["@odata.type"]), "#microsoft.graph.win32LobApp");
        EXPECT_EQ(string(rule["installCommandLine"]), c.install);
        EXPECT_EQ(string(rule["applicableArchitectures"]), c.architectures);
        // The entry's QuietUninstallString, with the folder of an installation without /DIR.
        EXPECT_EQ(string(rule["uninstallCommandLine"]),
                  "\"%ProgramW6432%\\Hello World\\uninstall.exe\" /S");
        EXPECT_EQ(string(rule["setupFilePath"]), "hello-setup-2.1.exe");
        EXPECT_EQ(string(rule["installExperience"]["runAsAccount"]), c.account);
        std::map<int, std::string> codes;
        for (const Json& code : rule["returnCodes"].items) {
            codes[static_cast<int>(code["returnCode"].number)] = string(code["type"]);
        }
        EXPECT_EQ(
            codes,
            (std::map<int, std::string>{
                {0, "success"}, {3010, "softReboot"}, {1641, "hardReboot"}, {1618, "retry"}}));
        ASSERT_EQ(rule["rules"].items.size(), 1u);
        const Json& detection = rule["rules"].items[0];
        EXPECT_EQ(string(detection["ruleType"]), "detection");
        EXPECT_EQ(string(detection["keyPath"]),
                  std::string(c.hive) +
                      "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HelloWorld");
        EXPECT_EQ(detection["check32BitOn64System"].kind, Json::kBool);
        EXPECT_EQ(detection["check32BitOn64System"].boolean, c.view32);
        EXPECT_EQ(string(detection["valueName"]), "DisplayVersion");
        EXPECT_EQ(string(detection["operationType"]), "version");
        EXPECT_EQ(string(detection["operator"]), "equal");
        EXPECT_EQ(string(detection["comparisonValue"]), "2.1.10");
    }
}

TEST(PackageManifests, IntuneRuleOfOtherVersionsAndWhatItCannotDetect) {
    Folder work("intune-other");
    const fs::path file = work.path() / "rule.json";
    std::string error;
    // A pre-release is no version Intune compares: the text must be equal.
    ReleaseFacts beta = helloWorld(work.path());
    beta.version = "2.2.0-beta \"two\"";
    beta.productName = "Hello \"World\" \\ Caf\xC3\xA9";
    ASSERT_TRUE(writeIntuneRule(beta, file, error)) << error;
    Json rule = readIntune(file);
    EXPECT_EQ(string(rule["displayName"]), beta.productName);
    EXPECT_EQ(string(rule["rules"].items[0]["operationType"]), "string");
    EXPECT_EQ(string(rule["rules"].items[0]["comparisonValue"]), beta.version);
    // Without a version the entry has no DisplayVersion: its key tells.
    ReleaseFacts unversioned = helloWorld(work.path());
    unversioned.version.clear();
    ASSERT_TRUE(writeIntuneRule(unversioned, file, error)) << error;
    rule = readIntune(file);
    EXPECT_EQ(string(rule["rules"].items[0]["operationType"]), "exists");
    EXPECT_EQ(rule["rules"].items[0]["valueName"].kind, Json::kNull);

    // No uninstaller, no entry; no known folder, no uninstall command: refused, nothing written.
    fs::remove(file);
    ReleaseFacts none = helloWorld(work.path());
    none.hasUninstaller = false;
    EXPECT_FALSE(writeIntuneRule(none, file, error));
    EXPECT_NE(error.find("uninstaller"), std::string::npos) << error;
    ReleaseFacts unknown = helloWorld(work.path());
    unknown.uninstallerPath.clear();
    EXPECT_FALSE(writeIntuneRule(unknown, file, error));
    EXPECT_FALSE(fs::exists(file));
}

// ---- the facts of a project ----

TEST(PackageManifests, ReleaseFactsOfAProjectFindTheUninstallerOnTheClient) {
    Folder work("project");
    const fs::path image = work.path() / "setup.exe";
    std::ofstream(image, std::ios::binary) << "MZ image";
    auto factsOf = [&](const std::string& toml) {
        Diagnostics diagnostics("project.toml");
        const Project project = parseProject(toml, work.path() / "project.toml", {}, diagnostics);
        EXPECT_FALSE(diagnostics.failed()) << toml;
        ReleaseFacts facts;
        std::string error;
        EXPECT_TRUE(releaseFactsOf(project, image, facts, error)) << error;
        return facts;
    };
    // Windows-1252 texts come out as UTF-8.
    const ReleaseFacts x86 = factsOf(
        "[product]\nname = \"Caf\xC3\xA9 World\"\nshort-name = \"CafeWorld\"\n"
        "publisher = \"Example\"\nversion = \"%V%\"\nurl = \"https://example.com\"\n"
        "[variables]\nV = \"3.0.1\"\n");
    EXPECT_EQ(x86.productName, "Caf\xC3\xA9 World");
    EXPECT_EQ(x86.shortName, "CafeWorld");
    EXPECT_EQ(x86.version, "3.0.1");
    EXPECT_EQ(x86.productUrl, "https://example.com");
    EXPECT_EQ(x86.scope, ReleaseScope::machine);
    EXPECT_EQ(x86.architecture, ReleaseArchitecture::x86);
    EXPECT_EQ(x86.imageFileName, "setup.exe");
    EXPECT_EQ(x86.imageSha256, sha256Hex(bytesOf("MZ image")));
    EXPECT_TRUE(x86.hasUninstaller);
    EXPECT_EQ(x86.uninstallerPath, "%ProgramFiles(x86)%\\Caf\xC3\xA9 World\\uninstall.exe");

    const ReleaseFacts x64 = factsOf(
        "[product]\nname = \"Hello\"\narchitecture = \"x64\"\n"
        "[variables]\nInstallPath = \"%Base%\\\\Hello\\\\\"\nBase = \"<ProgramFiles>\\\\Example\"\n"
        "UninstallerFileName = \"remove.exe\"\n");
    EXPECT_EQ(x64.architecture, ReleaseArchitecture::x64);
    EXPECT_EQ(x64.uninstallerPath, "%ProgramW6432%\\Example\\Hello\\remove.exe");

    const ReleaseFacts user = factsOf("[product]\nname = \"Hello\"\nscope = \"user\"\n");
    EXPECT_EQ(user.scope, ReleaseScope::user);
    EXPECT_EQ(user.uninstallerPath, "%LOCALAPPDATA%\\Programs\\Hello\\uninstall.exe");

    const ReleaseFacts drive = factsOf(
        "[product]\nname = \"Hello\"\narchitecture = \"arm64\"\nscope = \"choose\"\n"
        "[variables]\nInstallPath = \"D:\\\\Apps\\\\Hello\"\n");
    EXPECT_EQ(drive.scope, ReleaseScope::choose);
    EXPECT_EQ(drive.architecture, ReleaseArchitecture::arm64);
    EXPECT_EQ(drive.uninstallerPath, "D:\\Apps\\Hello\\uninstall.exe");

    // A folder the engine finds only when it runs is not guessed.
    const ReleaseFacts appData =
        factsOf("[product]\nname = \"Hello\"\n[variables]\nInstallPath = \"<AppData>\\\\Hello\"\n");
    EXPECT_EQ(appData.uninstallerPath, "");
    const ReleaseFacts noUninstaller =
        factsOf("[product]\nname = \"Hello\"\n[install]\nuninstaller = false\n");
    EXPECT_FALSE(noUninstaller.hasUninstaller);
    EXPECT_EQ(noUninstaller.uninstallerPath, "");

    Diagnostics diagnostics("project.toml");
    const Project project =
        parseProject("[product]\nname = \"Hello\"\n", work.path() / "p.toml", {}, diagnostics);
    ReleaseFacts facts;
    std::string error;
    EXPECT_FALSE(releaseFactsOf(project, work.path() / "none.exe", facts, error));
    EXPECT_NE(error.find("none.exe"), std::string::npos) << error;
}
