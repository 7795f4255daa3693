// winget's manifests of a release, held to the schema's rules before anything is written.
#include <cctype>
#include <system_error>
#include <vector>

#include "kelvara-build/cli/manifest_texts.h"
#include "kelvara-build/cli/package_manifests.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/project_names.h"

namespace kelvara::build {

using namespace manifests;

namespace {

constexpr const char* kManifestVersion = "1.6.0";
constexpr std::size_t kIdentifierSegmentLimit = 32;

// A segment of a package identifier: 1 to 32 characters, none of them blank, a separator or one of
// the characters Windows forbids in a file name.
bool isIdentifierSegment(const std::string& segment) {
    if (segment.empty() || characterCount(segment) > kIdentifierSegmentLimit) return false;
    for (unsigned char c : segment) {
        if (c <= 0x20 || c == 0x7F ||
            std::string("\\/:*?\"<>|.").find(static_cast<char>(c)) != std::string::npos) {
            return false;
        }
    }
    return true;
}

bool isPackageIdentifier(const std::string& id) {
    if (id.size() > 128) return false;
    std::size_t segments = 0, start = 0;
    while (true) {
        const std::size_t dot = id.find('.', start);
        if (!isIdentifierSegment(id.substr(start, dot - start))) return false;
        ++segments;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return segments >= 2 && segments <= 8;
}

bool isPackageVersion(const std::string& version) {
    return !version.empty() && characterCount(version) <= 128 && !hasControl(version) &&
           version.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

// A language tag as the schema's pattern takes it: "en", "en-US", "zh-Hant-TW", "x-private".
bool isLocale(const std::string& locale) {
    if (locale.empty() || locale.size() > 20) return false;
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (true) {
        const std::size_t dash = locale.find('-', start);
        segments.push_back(locale.substr(start, dash - start));
        if (dash == std::string::npos) break;
        start = dash + 1;
    }
    for (const std::string& segment : segments) {
        if (segment.empty()) return false;
        for (char c : segment) {
            if (!isAsciiLetter(c)) return false;
        }
    }
    const std::string first = lower(segments[0]);
    std::size_t next = 1;
    if (first == "i" || first == "x") {
        if (segments.size() < 2 || (first == "x" && segments[1].size() > 8)) return false;
        next = 2;
    } else if (first.size() < 2 || first.size() > 3) {
        return false;
    }
    for (; next < segments.size(); ++next) {
        if (segments[next].size() > 8) return false;
    }
    return true;
}

bool isWebAddress(const std::string& url) {
    const std::string head = lower(url.substr(0, 8));
    const std::size_t scheme = head.rfind("https://", 0) == 0  ? 8
                               : head.rfind("http://", 0) == 0 ? 7
                                                               : 0;
    return scheme > 0 && url.size() > scheme && url.size() <= 2048 && !hasControl(url);
}

// A text the schema takes with `minimum` to `maximum` characters on one line.
bool fits(const std::string& text, std::size_t minimum, std::size_t maximum) {
    const std::size_t count = characterCount(text);
    return count >= minimum && count <= maximum && !hasLineBreak(text);
}

bool yamlReservedWord(const std::string& text) {
    // YAML 1.1's booleans and both versions' null, in any case.
    // "<<" is YAML 1.1's merge key.
    static const char* const kWords[] = {"true", "false", "yes",  "no", "on", "off",
                                         "y",    "n",     "null", "~",  "=",  "<<"};
    const std::string folded = lower(text);
    for (const char* word : kWords) {
        if (folded == word) return true;
    }
    return false;
}

bool yamlPlainIsSafe(const std::string& text) {
    if (text.empty() || yamlReservedWord(text)) return false;
    const char first = text.front();
    // Indicators that start something else than a plain text, and the starts of numbers
    // (1.0, -1, +1, .5, .inf, 0x1F): quoted, they stay texts.
    if (std::string("-?:,[]{}#&*!|>'\"%@` \t+.").find(first) != std::string::npos) return false;
    if (first >= '0' && first <= '9') return false;
    if (text.back() == ' ' || text.back() == '\t') return false;
    // A colon may start a mapping and '#' a comment: simpler to quote any.
    return text.find_first_of(":#") == std::string::npos;
}

// The length of a UTF-8 sequence at `at` that a YAML reader takes for a line break or refuses as
// unprintable: a C1 control (U+0080 to U+009F, the next line U+0085 among them) or the line and
// paragraph separators U+2028 and U+2029; 0 for anything else. Its code point goes to `code`.
std::size_t unprintableSequence(const std::string& text, std::size_t at, unsigned& code) {
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    if (byte(at) == 0xC2 && byte(at + 1) >= 0x80 && byte(at + 1) <= 0x9F) {
        code = byte(at + 1);
        return 2;
    }
    if (byte(at) == 0xE2 && byte(at + 1) == 0x80 &&
        (byte(at + 2) == 0xA8 || byte(at + 2) == 0xA9)) {
        code = 0x2000 | (byte(at + 2) & 0x3F);
        return 3;
    }
    return 0;
}

bool needsDoubleQuotes(const std::string& text) {
    unsigned code = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (unprintableSequence(text, at, code)) return true;
    }
    return hasControl(text);
}

std::string yamlDoubleQuoted(const std::string& text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        unsigned code = 0;
        if (const std::size_t length = unprintableSequence(text, at, code)) {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(code >> shift) & 0x0F];
            at += length - 1;
            continue;
        }
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += "\\x";
                    out += kDigits[c >> 4];
                    out += kDigits[c & 0x0F];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// The YAML of one manifest, key by key; lists and maps nest by two columns.
class YamlWriter {
  public:
    explicit YamlWriter(const std::string& type) {
        text_ = std::string("# yaml-language-server: $schema=https://aka.ms/winget-manifest.") +
                type + "." + kManifestVersion + ".schema.json\n\n";
    }
    void value(int depth, const std::string& key, const std::string& scalar) {
        text_ += indent(depth) + key + ": " + yamlScalar(scalar) + "\n";
    }
    // A value the schema types as a number or a word of its own (an enumeration).
    void raw(int depth, const std::string& key, const std::string& word) {
        text_ += indent(depth) + key + ": " + word + "\n";
    }
    void open(int depth, const std::string& key) { text_ += indent(depth) + key + ":\n"; }
    // "- " before the first key of a list's item (or before a scalar item).
    void item(int depth, const std::string& rest) { text_ += indent(depth) + "- " + rest + "\n"; }
    void end(const std::string& type) {
        raw(0, "ManifestType", type);
        value(0, "ManifestVersion", kManifestVersion);
    }
    const std::string& text() const { return text_; }

  private:
    static std::string indent(int depth) { return std::string(2 * depth, ' '); }
    std::string text_;
};

struct Resolved : ReleaseImage {
    std::string id, url, license, description;
};

const char* architectureWord(ReleaseArchitecture architecture) {
    switch (architecture) {
        case ReleaseArchitecture::x64:
            return "x64";
        case ReleaseArchitecture::arm64:
            return "arm64";
        case ReleaseArchitecture::x86:
            break;
    }
    return "x86";
}

// Everything winget needs, checked against the schema's rules, so that a manifest that a
// validation would refuse is never written.
bool resolveWinget(const ReleaseFacts& facts, Resolved& out, std::string& error) {
    if (!resolveImage(facts, out, error)) return false;
    out.id = facts.packageIdentifier.empty()
                 ? defaultPackageIdentifier(facts.publisher, facts.productName)
                 : facts.packageIdentifier;
    out.url =
        facts.installerUrl.empty() ? "https://example.invalid/" + out.fileName : facts.installerUrl;
    out.license = facts.license.empty() ? "Proprietary" : facts.license;
    out.description = facts.shortDescription.empty() ? facts.productName : facts.shortDescription;
    const struct {
        bool good;
        std::string message;
    } checks[] = {
        {!out.id.empty(),
         "no package identifier can be made of the publisher's and product's "
         "letters and digits: give one"},
        {out.id.empty() || isPackageIdentifier(out.id),
         "the package identifier '" + out.id +
             "' is not 2 to 8 segments of at most 32 characters joined by dots, without blanks or "
             "\\ / : * ? \" < > |"},
        // A variable nothing defined stays as written, which no release means to publish.
        {facts.version.find('%') == facts.version.rfind('%'),
         "the version '" + facts.version +
             "' still names a variable: give it with -D or define it in [variables]"},
        {isPackageVersion(facts.version),
         facts.version.empty() ? std::string("the product has no version ([product] version)")
                               : "the version '" + facts.version +
                                     "' is longer than 128 characters or holds one of "
                                     "\\ / : * ? \" < > |"},
        {fits(facts.publisher, 2, 256),
         "the publisher ([product] publisher) must have 2 to 256 characters"},
        {fits(facts.productName, 2, 256), "the product name must have 2 to 256 characters"},
        {fits(out.description, 3, 256), "the short description must have 3 to 256 characters"},
        {fits(out.license, 3, 512), "the licence's name must have 3 to 512 characters"},
        {isLocale(facts.locale), "the locale '" + facts.locale + "' is no language tag"},
        {isWebAddress(out.url), "the installer's URL '" + out.url + "' is no http(s) address"},
        {facts.productUrl.empty() || isWebAddress(facts.productUrl),
         "the product's URL '" + facts.productUrl + "' ([product] url) is no http(s) address"},
        {facts.helpUrl.empty() || isWebAddress(facts.helpUrl),
         "the help URL '" + facts.helpUrl + "' ([product] help-url) is no http(s) address"},
        {facts.publisherUrl.empty() || isWebAddress(facts.publisherUrl),
         "the publisher's URL '" + facts.publisherUrl + "' is no http(s) address"},
        {!facts.hasUninstaller || validShortName(facts.shortName),
         "the short name '" + facts.shortName + "' names no uninstall entry"},
    };
    for (const auto& check : checks) {
        if (!check.good) {
            error = "winget manifest: " + check.message;
            return false;
        }
    }
    return true;
}

std::string versionManifest(const ReleaseFacts& facts, const Resolved& r) {
    YamlWriter y("version");
    y.value(0, "PackageIdentifier", r.id);
    y.value(0, "PackageVersion", facts.version);
    y.value(0, "DefaultLocale", facts.locale);
    y.end("version");
    return y.text();
}

std::string installerManifest(const ReleaseFacts& facts, const Resolved& r) {
    YamlWriter y("installer");
    y.value(0, "PackageIdentifier", r.id);
    y.value(0, "PackageVersion", facts.version);
    y.raw(0, "InstallerType", "exe");
    y.open(0, "InstallModes");
    for (const char* mode : {"interactive", "silent", "silentWithProgress"}) y.item(1, mode);
    // The same image upgrades in place, with the switches of an installation.
    y.raw(0, "UpgradeBehavior", "install");
    y.open(0, "InstallerSuccessCodes");
    for (const char* code : {"3010", "1641"}) y.item(1, code);
    // 1603 stands for every failure that is not the user's nor another run's: a damaged image,
    // requirements not met, a refused /DIR=, a rolled-back failure; the run log tells which.
    y.open(0, "ExpectedReturnCodes");
    const struct {
        const char* code;
        const char* response;
    } codes[] = {{"1602", "cancelledByUser"},
                 {"1603", "contactSupport"},
                 {"1618", "installInProgress"},
                 {"1638", "downgrade"}};
    for (const auto& code : codes) {
        y.item(1, std::string("InstallerReturnCode: ") + code.code);
        y.raw(2, "ReturnResponse", code.response);
    }
    if (facts.hasUninstaller) {
        // How winget finds the installed product in the list of programs.
        y.open(0, "AppsAndFeaturesEntries");
        y.item(1, "DisplayName: " + yamlScalar(facts.productName));
        y.value(2, "Publisher", facts.publisher);
        y.value(2, "DisplayVersion", facts.version);
        y.value(2, "ProductCode", facts.shortName);
    }
    y.open(0, "Installers");
    struct Variant {
        const char* scope;   // null: the product's scope is not fixed
        const char* custom;  // the command line's choice of scope, or null
    };
    std::vector<Variant> variants;
    switch (facts.scope) {
        case ReleaseScope::machine:
            variants = {{"machine", nullptr}};
            break;
        case ReleaseScope::user:
            variants = {{"user", nullptr}};
            break;
        case ReleaseScope::choose:
            variants = {{"machine", "/ALLUSERS"}, {"user", "/CURRENTUSER"}};
            break;
    }
    for (const Variant& variant : variants) {
        y.item(1, std::string("Architecture: ") + architectureWord(facts.architecture));
        y.raw(2, "Scope", variant.scope);
        y.value(2, "InstallerUrl", r.url);
        y.value(2, "InstallerSha256", r.sha256);
        y.open(2, "InstallerSwitches");
        y.value(3, "Silent", "/QUIET");
        y.value(3, "SilentWithProgress", "/PASSIVE");
        y.value(3, "InstallLocation", "/DIR=\"<INSTALLPATH>\"");
        y.value(3, "Log", "/LOG=\"<LOGPATH>\"");
        // An upgrade replaces the files of a program that may be running: closing it and starting
        // it again afterwards spares the restart a quiet run would otherwise leave them to.
        y.value(3, "Upgrade", "/CLOSEAPPLICATIONS /RESTARTAPPLICATIONS");
        if (variant.custom) y.value(3, "Custom", variant.custom);
        // A machine-wide run without administrator rights starts itself again elevated only
        // when it may ask; under /QUIET it exits with 1603. winget must elevate it.
        if (std::string(variant.scope) == "machine") {
            y.raw(2, "ElevationRequirement", "elevationRequired");
        }
    }
    y.end("installer");
    return y.text();
}

std::string localeManifest(const ReleaseFacts& facts, const Resolved& r) {
    YamlWriter y("defaultLocale");
    y.value(0, "PackageIdentifier", r.id);
    y.value(0, "PackageVersion", facts.version);
    y.value(0, "PackageLocale", facts.locale);
    y.value(0, "Publisher", facts.publisher);
    if (!facts.publisherUrl.empty()) y.value(0, "PublisherUrl", facts.publisherUrl);
    if (!facts.helpUrl.empty()) y.value(0, "PublisherSupportUrl", facts.helpUrl);
    y.value(0, "PackageName", facts.productName);
    if (!facts.productUrl.empty()) y.value(0, "PackageUrl", facts.productUrl);
    y.value(0, "License", r.license);
    y.value(0, "ShortDescription", r.description);
    y.end("defaultLocale");
    return y.text();
}

}  // namespace

std::string yamlScalar(const std::string& text) {
    if (needsDoubleQuotes(text)) return yamlDoubleQuoted(text);
    if (yamlPlainIsSafe(text)) return text;
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

std::string defaultPackageIdentifier(const std::string& publisher, const std::string& product) {
    auto part = [](const std::string& text) {
        std::string letters;
        for (char c : text) {
            if (isAsciiAlnum(c) && letters.size() < kIdentifierSegmentLimit) letters += c;
        }
        return letters;
    };
    const std::string first = part(publisher), second = part(product);
    if (first.empty() || second.empty()) return "";
    return first + "." + second;
}

bool writeWingetManifests(const ReleaseFacts& facts, const std::filesystem::path& folder,
                          std::string& error) {
    Resolved r;
    if (!resolveWinget(facts, r, error)) return false;
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) {
        error = "cannot make the folder '" + utf8Path(folder) + "': " + made.message();
        return false;
    }
    const std::pair<std::filesystem::path, std::string> files[] = {
        {folder / utf8Name(r.id + ".yaml"), versionManifest(facts, r)},
        {folder / utf8Name(r.id + ".installer.yaml"), installerManifest(facts, r)},
        {folder / utf8Name(r.id + ".locale." + facts.locale + ".yaml"), localeManifest(facts, r)},
    };
    for (std::size_t i = 0; i < std::size(files); ++i) {
        if (writeText(files[i].first, files[i].second)) continue;
        error = "cannot write '" + utf8Path(files[i].first) + "'";
        // Three files make one manifest: no part of one is left behind.
        for (std::size_t j = 0; j < i; ++j) {
            std::error_code ignored;
            std::filesystem::remove(files[j].first, ignored);
        }
        return false;
    }
    return true;
}

}  // namespace kelvara::build
