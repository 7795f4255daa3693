// kelvara-build: turns a project file into a setup image, or (--dump) shows what an image holds.
#ifdef _WIN32
#include <windows.h>
#endif
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>

#include "kelvara-build/cli/dump.h"
#include "kelvara-build/cli/package_manifests.h"
#include "kelvara-build/common/file_bytes.h"
#include "kelvara-build/image/image_writer.h"
#include "kelvara-build/image/signing.h"
#include "kelvara-build/image/stub_edition.h"
#include "kelvara-build/project/project.h"

namespace {

using namespace kelvara::build;

// Exit codes, numbered once.
constexpr int kExitSuccess = 0;
constexpr int kExitBadArguments = 1;
constexpr int kExitBuildFailed = 2;

// The running builder's own file, so that the stub beside it is found from any folder.
std::filesystem::path ownPath(const char* argv0) {
#ifdef _WIN32
    wchar_t buffer[32768];
    DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    if (length > 0 && length < 32768) return std::filesystem::path(buffer);
#else
    std::error_code error;
    std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", error);
    if (!error) return self;
#endif
    return std::filesystem::absolute(argv0);
}

// The engine `name` (an edition's file name) beside the builder (a build folder, or the Windows
// layout, where both lie in one folder), else where an installation on a Unix-like system puts
// it: PREFIX/share/kelvara next to PREFIX/bin. The first that exists; the first when none does
// (the error names it).
std::filesystem::path defaultStub(const char* argv0, const char* name) {
    const std::filesystem::path folder = ownPath(argv0).parent_path();
    const std::filesystem::path candidates[] = {folder / name,
                                                folder.parent_path() / "share" / "kelvara" / name};
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    }
    return candidates[0];
}

// Prints the build's messages; true when the build may go on.
bool report(const Diagnostics& diagnostics, bool warningsAsErrors) {
    for (const std::string& warning : diagnostics.warnings()) {
        std::cerr << warning << (warningsAsErrors ? " (warning treated as error)" : " (warning)")
                  << '\n';
    }
    for (const std::string& error : diagnostics.errors()) std::cerr << error << '\n';
    return !diagnostics.failed() && !(warningsAsErrors && !diagnostics.warnings().empty());
}

// Compression progress in steps of a tenth of the bytes, so a long build shows it is alive.
auto progressPrinter() {
    return [lastStep = -1](std::uint64_t filesDone, std::uint64_t filesTotal,
                           std::uint64_t bytesDone, std::uint64_t bytesTotal) mutable {
        int step = bytesTotal ? static_cast<int>(bytesDone * 10 / bytesTotal) : 10;
        if (step == lastStep && filesDone != filesTotal) return;
        lastStep = step;
        std::cerr << "packing: " << filesDone << "/" << filesTotal << " files, " << bytesDone / 1024
                  << "/" << bytesTotal / 1024 << " KiB\n";
    };
}

std::optional<std::int64_t> sourceDateEpoch() {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (!value || !*value) return std::nullopt;
    char* end = nullptr;
    long long seconds = std::strtoll(value, &end, 10);
    if (*end != '\0' || seconds < 0) return std::nullopt;
    return seconds;
}

// Signs the stub, which then becomes both the image's first part and, copied out of the image at
// install time, the uninstaller with its own signature. False with the message printed.
bool signStub(const std::string& command, const std::filesystem::path& output,
              std::vector<unsigned char>& stub) {
    std::filesystem::path file = output;
    file += ".stub.exe";
    std::string error;
    std::optional<std::vector<unsigned char>> signedStub;
    if (!writeFileBytes(file, stub)) {
        error = "cannot write " + file.string();
    } else if (signFile(command, file, error)) {
        signedStub = readFileBytes(file);
        if (!signedStub) error = "cannot read the signed stub " + file.string();
    }
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (!signedStub) {
        std::cerr << "kelvara-build: signing the uninstaller: " << error << '\n';
        return false;
    }
    stub = std::move(*signedStub);
    return true;
}

// Signs the built image and moves it to `output`. False with the message printed; the unsigned
// image is removed and `output` left as it was.
bool signImage(const std::string& command, const std::filesystem::path& built,
               const std::filesystem::path& output) {
    std::string error;
    std::error_code moved;
    if (signFile(command, built, error)) {
        std::filesystem::rename(built, output, moved);
        if (!moved) return true;
        error = "cannot write '" + output.string() + "': " + moved.message();
    }
    std::error_code ignored;
    std::filesystem::remove(built, ignored);
    std::cerr << "kelvara-build: signing the image: " << error << '\n';
    return false;
}

// What a package manager needs of the built image: winget's manifests in `wingetFolder`, Intune's
// detection rule and commands in `intuneFile` (each when given). False with the message printed.
bool writePackageManifests(const Project& project, const std::filesystem::path& image,
                           const PackageManifestOptions& options) {
    if (options.wingetFolder.empty() && options.intuneFile.empty()) return true;
    ReleaseFacts facts;
    std::string error;
    bool written = releaseFactsOf(project, image, facts, error);
    facts.installerUrl = options.installerUrl;
    facts.packageIdentifier = options.packageIdentifier;
    if (written && !options.wingetFolder.empty()) {
        written = writeWingetManifests(facts, options.wingetFolder, error);
    }
    if (written && !options.intuneFile.empty()) {
        written = writeIntuneRule(facts, options.intuneFile, error);
    }
    if (!written) std::cerr << "kelvara-build: " << error << '\n';
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"kelvara-build: makes a setup image from a project file"};
    app.set_version_flag("--version", std::string("kelvara-build ") + KELVARA_VERSION);
    std::filesystem::path projectFile, output, stub, dumpTarget;
    std::string signCommand;
    std::vector<std::string> defines;
    bool quiet = false, verbose = false, warningsAsErrors = false;
    unsigned threads = 0;
    app.add_option("project", projectFile, "the project file (TOML)");
    app.add_option("-o,--output", output,
                   "the setup image to write (default: setup.exe next to "
                   "the project file)");
    app.add_option("-D,--define", defines, "define a variable or replace its value: NAME=VALUE");
    app.add_option("--stub", stub,
                   "the engine executable (default: kelvara.exe, or for a project with "
                   "encoding = \"utf-8\" the Unicode edition kelvara-unicode.exe, next to this "
                   "program, else in ../share/kelvara)");
    auto* quietFlag = app.add_flag("-q,--quiet", quiet, "print only warnings and errors");
    app.add_flag("-v,--verbose", verbose, "print what the image holds")->excludes(quietFlag);
    app.add_flag("--warnings-as-errors", warningsAsErrors, "fail the build on any warning");
    app.add_option("--threads", threads, "compression threads (default: all cores)")
        ->check(CLI::Range(1u, 256u));
    app.add_option("--sign", signCommand,
                   "sign the uninstaller and the image with COMMAND: {in} is the file to sign, "
                   "{out} where the signed file goes (without {out}, {in} is signed in place)");
    PackageManifestOptions manifests;
    auto* wingetOption = app.add_option(
        "--winget", manifests.wingetFolder,
        "write winget's version, installer and locale manifests of the image into DIR");
    app.add_option("--intune", manifests.intuneFile,
                   "write Intune's detection rule and install and uninstall commands to FILE");
    app.add_option("--installer-url", manifests.installerUrl,
                   "the address the image is published at, for the winget manifest")
        ->needs(wingetOption);
    app.add_option("--package-id", manifests.packageIdentifier,
                   "winget's package identifier (default: Publisher.Product of their letters)")
        ->needs(wingetOption);
    app.add_option("--dump", dumpTarget, "print the header, file groups and records of an image")
        ->excludes("project");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        int code = app.exit(error);
        return code == 0 ? kExitSuccess : kExitBadArguments;
    }

    if (!dumpTarget.empty()) return dumpImage(dumpTarget, std::cout, std::cerr);
    if (projectFile.empty()) {
        std::cerr << "kelvara-build: give a project file (or --dump IMAGE); see --help\n";
        return kExitBadArguments;
    }
    Definitions definitions;
    for (const std::string& define : defines) {
        std::size_t equals = define.find('=');
        if (equals == std::string::npos || equals == 0) {
            std::cerr << "kelvara-build: -D " << define << ": write NAME=VALUE\n";
            return kExitBadArguments;
        }
        definitions.emplace_back(define.substr(0, equals), define.substr(equals + 1));
    }
    if (output.empty()) output = std::filesystem::absolute(projectFile).parent_path() / "setup.exe";

    Diagnostics diagnostics(projectFile.filename().string());
    Project project = readProject(projectFile, definitions, diagnostics);
    if (!report(diagnostics, warningsAsErrors)) return kExitBuildFailed;
    // The project's encoding names the edition of the engine it needs.
    if (stub.empty()) stub = defaultStub(argv[0], stubFileName(project.encoding));
    std::optional<std::vector<unsigned char>> stubBytes = readFileBytes(stub);
    if (!stubBytes) {
        std::cerr << "kelvara-build: cannot read the stub '" << stub.string()
                  << "' (give it with --stub)\n";
        return kExitBuildFailed;
    }
    const std::string mismatch = editionMismatch(
        project.encoding, stubEncoding(stubBytes->data(), stubBytes->size()), stub.string());
    if (!mismatch.empty()) {
        std::cerr << "kelvara-build: " << mismatch << '\n';
        return kExitBuildFailed;
    }
    if (!signCommand.empty() && !signStub(signCommand, output, *stubBytes)) return kExitBuildFailed;
    PackageOptions options;
    options.threads = threads;
    options.sourceDateEpoch = sourceDateEpoch();
    if (!quiet) options.progress = progressPrinter();
    Diagnostics buildDiagnostics(projectFile.filename().string());
    ImageSummary summary;
    // Written as it is built; a failed build (or, with --warnings-as-errors, a warning) leaves
    // whatever `output` was untouched.
    // A signed image is built and signed beside the output, which it replaces only when signed.
    std::filesystem::path built = output;
    if (!signCommand.empty()) built += ".unsigned";
    bool written = writeImage(project, *stubBytes, options, built, buildDiagnostics,
                              warningsAsErrors, &summary);
    if (!report(buildDiagnostics, warningsAsErrors) || !written) return kExitBuildFailed;
    if (!signCommand.empty() && !signImage(signCommand, built, output)) return kExitBuildFailed;
    if (!writePackageManifests(project, output, manifests)) return kExitBuildFailed;
    if (!quiet) {
        std::cerr << "wrote " << output.string() << ": " << summary.imageSize << " bytes, "
                  << summary.fileCount << " files in " << summary.folderCount << " folders, script "
                  << summary.scriptSize << " bytes (" << summary.scriptCompressed
                  << " compressed)\n";
    }
    if (verbose) return dumpImage(output, std::cout, std::cerr);
    return kExitSuccess;
}
