// What package managers need to know of a built (and signed) image, written for them: winget
// cannot read an engine it does not know, and Intune's tooling fills its detection rule only for
// the installers it knows.
//
// winget: the three files of a multi-file manifest, schema 1.6.0 (version, installer and
// default locale), in one folder. The installer's URL is a placeholder until the caller gives
// the address the image is published at.
//
// Intune: a JSON file for a Win32 app, its fields named as Microsoft Graph names those of a
// win32LobApp; a script that posts it adds what only the upload knows (the packaged content's
// file name, the lowest Windows release to offer it to):
//   {
//     "@odata.type": "#microsoft.graph.win32LobApp",
//     "displayName", "publisher", "displayVersion", "setupFilePath",
//     "installCommandLine":   "\"<image file name>\" /QUIET" (and /ALLUSERS for a choose
//                             product, which Intune installs for the whole machine),
//     "uninstallCommandLine": the uninstall entry's QuietUninstallString, "\"<uninstaller>\" /S",
//                             with the installation folder of a run without /DIR,
//     "applicableArchitectures": the product's; "x64,arm64" for a 32-bit one, whose commands
//                             name its folders as a 64-bit Windows has them,
//     "installExperience":    { "runAsAccount": "system" | "user",
//                               "deviceRestartBehavior": "basedOnReturnCode" },
//     "returnCodes":          [ { "returnCode", "type" }, ... ] (the engine's exit codes),
//     "rules":                [ one win32LobAppRegistryRule: the uninstall entry's
//                               DisplayVersion equal to this version ]
//   }
// The engine writes the uninstall entry (src/install/uninstall_entry_win32.cpp) under the key
// Software\Microsoft\Windows\CurrentVersion\Uninstall\<short name> of HKLM (HKCU for a user's
// installation); a 32-bit product's (x86) on a 64-bit Windows in the registry's 32-bit view, a
// 64-bit product's in the native view.
#pragma once
#include <filesystem>
#include <string>

#include "kelvara-build/project/project.h"

namespace kelvara::build {

enum class ReleaseScope { machine, user, choose };
enum class ReleaseArchitecture { x86, x64, arm64 };

// What the manifests say of a release. Texts in UTF-8.
struct ReleaseFacts {
    std::string productName;  // the uninstall entry's DisplayName
    std::string shortName;    // the uninstall entry's key name
    std::string publisher;
    std::string version;  // the uninstall entry's DisplayVersion; winget needs one
    std::string productUrl, helpUrl, publisherUrl;  // empty: not known
    ReleaseScope scope = ReleaseScope::machine;
    ReleaseArchitecture architecture = ReleaseArchitecture::x86;
    std::filesystem::path image;  // the built image
    std::string imageSha256;      // upper-case hex; empty: computed from `image`
    std::string imageFileName;    // empty: the file name of `image`
    // winget's package identifier; empty: defaultPackageIdentifier(publisher, productName).
    std::string packageIdentifier;
    // Where the image is published; empty: "https://example.invalid/<file name>", a placeholder
    // to be replaced before the manifests are submitted.
    std::string installerUrl;
    std::string locale = "en-US";
    std::string license;           // the licence's name; empty: "Proprietary"
    std::string shortDescription;  // empty: the product name
    // Without an uninstaller the engine writes no uninstall entry, which the Apps & Features
    // entry and the detection rule are about.
    bool hasUninstaller = true;
    // The installed uninstaller as a deployment tool's command names it (environment variables
    // allowed): where a quiet run without /DIR puts it. Empty: not known.
    std::string uninstallerPath;
};

// What the command line asks for: each file or folder empty when not asked for.
struct PackageManifestOptions {
    std::filesystem::path wingetFolder;
    std::filesystem::path intuneFile;
    std::string installerUrl;       // ReleaseFacts::installerUrl
    std::string packageIdentifier;  // ReleaseFacts::packageIdentifier
};

// The facts of an image built from `project`: its texts in UTF-8, the image's hash and name, and
// the uninstaller's place on a client where %InstallPath% starts with a Program Files token or a
// drive (left empty otherwise). False with `error` when the image cannot be read.
bool releaseFactsOf(const Project& project, const std::filesystem::path& image, ReleaseFacts& facts,
                    std::string& error);

// "Publisher.Product" of the ASCII letters and digits of each, each at most 32 of them; empty
// when either has none.
std::string defaultPackageIdentifier(const std::string& publisher, const std::string& product);

// A text as a YAML scalar that every YAML reader reads back as the same string: plain where
// that is safe, else single-quoted, or double-quoted with escapes for control characters.
std::string yamlScalar(const std::string& text);

// Writes <Id>.yaml, <Id>.installer.yaml and <Id>.locale.<locale>.yaml into `folder` (made when
// missing). False with `error` when a fact does not meet the schema's rules (nothing is written
// then) or a file cannot be written.
bool writeWingetManifests(const ReleaseFacts& facts, const std::filesystem::path& folder,
                          std::string& error);

// Writes the Intune JSON described above. False with `error` when the product has no uninstall
// entry to detect, the uninstaller's place is not known, or the file cannot be written.
bool writeIntuneRule(const ReleaseFacts& facts, const std::filesystem::path& file,
                     std::string& error);

}  // namespace kelvara::build
