// The facts of a release as a project and its built image give them.
#include <optional>

#include "formats/script_format.h"
#include "kelvara-build/cli/manifest_texts.h"
#include "kelvara-build/cli/package_manifests.h"
#include "kelvara-build/common/sha256.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/project/project_names.h"

namespace kelvara::build {

using namespace manifests;

namespace {

// A text with the project's variables replaced, its values first expanded themselves; nullopt
// when a variable is not defined or names itself (through others too), or a percent sign opens
// no name.
std::optional<std::string> expandedVariables(const std::string& text, const Project& project,
                                             int depth = 0) {
    if (depth > 16) return std::nullopt;
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        if (open == std::string::npos) {
            out += text.substr(i);
            break;
        }
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string::npos) return std::nullopt;
        const Variable* found =
            findVariable(project.variables, text.substr(open, close - open + 1));
        if (!found) return std::nullopt;
        std::optional<std::string> value =
            expandedVariables(fromEngineText(found->value, project.encoding), project, depth + 1);
        if (!value) return std::nullopt;
        out += text.substr(i, open - i) + *value;
        i = close + 1;
    }
    return out;
}

// The folder a Program Files token stands for on a client, in the environment variables a
// deployment tool's command expands. A 64-bit Windows gives a 32-bit process (as a deployment
// agent may be) the 32-bit folder as %ProgramFiles%, so each side is named by the variable that
// means it in either kind of process. Empty for a token not known here.
std::string clientFolder(const std::string& token, ReleaseScope scope,
                         ReleaseArchitecture architecture) {
    const bool native = architecture != ReleaseArchitecture::x86;
    if (scope == ReleaseScope::user) {
        // A user's installation puts both in the user's own programs folder.
        if (token == "<programfiles>") return "%LOCALAPPDATA%\\Programs";
        if (token == "<commonfiles>") return "%LOCALAPPDATA%\\Programs\\Common";
        return "";
    }
    if (token == "<programfiles>") return native ? "%ProgramW6432%" : "%ProgramFiles(x86)%";
    if (token == "<commonfiles>") {
        return native ? "%CommonProgramW6432%" : "%CommonProgramFiles(x86)%";
    }
    if (token == "<programfiles32>") return "%ProgramFiles(x86)%";
    if (token == "<programfiles64>") return "%ProgramW6432%";
    return "";
}

// Where a quiet installation without /DIR puts the uninstaller (a choose product is taken as
// installed for every user); empty when its folder is not known before the run.
std::string clientUninstallerPath(const Project& project, ReleaseScope scope,
                                  ReleaseArchitecture architecture) {
    std::optional<std::string> installPath = expandedVariables("%InstallPath%", project);
    std::optional<std::string> fileName = expandedVariables("%UninstallerFileName%", project);
    if (!installPath || !fileName || fileName->empty()) return "";
    std::string rest = *installPath;
    while (!rest.empty() && rest.back() == '\\') rest.pop_back();
    if (rest.empty()) return "";
    rest += "\\" + *fileName;
    std::string folder;
    if (rest.front() == '<') {
        const std::size_t close = rest.find('>');
        if (close == std::string::npos) return "";
        folder = clientFolder(lower(rest.substr(0, close + 1)), scope, architecture);
        if (folder.empty()) return "";
        rest = rest.substr(close + 1);  // the engine joins them as written
    } else if (!(rest.size() >= 3 && isAsciiLetter(rest[0]) && rest[1] == ':' && rest[2] == '\\') &&
               rest.rfind("\\\\", 0) != 0) {
        return "";  // neither a drive nor a share: relative to something the run decides
    }
    // Another token further on is resolved by the engine alone; a quote would end the command's
    // quoted path.
    if (rest.find_first_of("<>\"") != std::string::npos || hasControl(rest)) return "";
    return folder + rest;
}

}  // namespace

bool releaseFactsOf(const Project& project, const std::filesystem::path& image, ReleaseFacts& facts,
                    std::string& error) {
    auto utf8 = [&](const std::string& text) { return fromEngineText(text, project.encoding); };
    facts.productName = utf8(project.name);
    facts.shortName = utf8(project.shortName);
    facts.publisher = utf8(project.publisher);
    facts.version = utf8(project.version);
    facts.productUrl = utf8(project.aboutUrl);
    facts.helpUrl = utf8(project.helpUrl);
    facts.scope = project.scope == kScopeUser     ? ReleaseScope::user
                  : project.scope == kScopeChoose ? ReleaseScope::choose
                                                  : ReleaseScope::machine;
    facts.architecture = project.architecture == kArchitectureX64     ? ReleaseArchitecture::x64
                         : project.architecture == kArchitectureArm64 ? ReleaseArchitecture::arm64
                                                                      : ReleaseArchitecture::x86;
    facts.image = image;
    facts.imageFileName = utf8Path(image.filename());
    std::optional<std::string> hash = sha256HexOfFile(image);
    if (!hash) {
        error = "cannot read the image '" + utf8Path(image) + "' to hash it";
        return false;
    }
    facts.imageSha256 = *hash;
    facts.hasUninstaller = project.uninstaller;
    facts.uninstallerPath =
        project.uninstaller ? clientUninstallerPath(project, facts.scope, facts.architecture) : "";
    return true;
}

}  // namespace kelvara::build
