#include "image_writer.h"

#include <algorithm>
#include <fstream>
#include <zlib.h>

#include "script_builder.h"
#include "setup/image_layout.h"

namespace kelvara::build {
namespace {

void put32(unsigned char* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

OverwriteMode overwriteMode(const std::string& name) {
    if (name == "always") return OverwriteMode::Always;
    if (name == "newer-or-same") return OverwriteMode::NewerOrSame;
    if (name == "older") return OverwriteMode::Older;
    if (name == "never") return OverwriteMode::Never;
    return OverwriteMode::Newer;
}

DecisionRule decisionRule(const std::string& name) {
    if (name == "date") return DecisionRule::Date;
    if (name == "version") return DecisionRule::Version;
    return DecisionRule::VersionAndDate;
}

Compression compression(const std::string& name) {
    if (name == "stored") return Compression::Stored;
    if (name == "compressed") return Compression::Compressed;
    return Compression::Auto;
}

}  // namespace

std::vector<unsigned char> compressScript(const std::vector<unsigned char>& script) {
    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_COMPRESSION) != Z_OK) return {};
    std::vector<unsigned char> out(deflateBound(&stream, script.size()) + 16);
    stream.next_in = const_cast<unsigned char*>(script.data());
    stream.avail_in = static_cast<uInt>(script.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    // A sync flush and no Z_FINISH: the stream ends with the empty stored block 00 00 FF FF.
    int result = deflate(&stream, Z_SYNC_FLUSH);
    out.resize(out.size() - stream.avail_out);
    deflateEnd(&stream);
    if (result != Z_OK || stream.avail_in != 0) return {};
    return out;
}

std::vector<unsigned char> assembleImage(const std::vector<unsigned char>& stub,
                                         const std::vector<unsigned char>& fileGroups,
                                         std::uint32_t requiredSpace,
                                         const std::vector<unsigned char>& script,
                                         Diagnostics& diagnostics, ImageSummary* summary) {
    if (stub.size() < static_cast<std::size_t>(kStubHeaderSize) || stub[0] != 'M' ||
        stub[1] != 'Z') {
        diagnostics.error(0, "the stub is not a Windows executable");
        return {};
    }
    StubHeader existing = decodeStubHeader(stub.data());
    if (existing.packageOffset != 0) {
        diagnostics.error(0, "the stub already carries a package; give the engine itself");
        return {};
    }
    std::vector<unsigned char> compressed = compressScript(script);
    if (compressed.empty()) {
        diagnostics.error(0, "the setup script could not be compressed");
        return {};
    }
    const std::uint64_t scriptOffset = kPackageHeaderSize + std::uint64_t(fileGroups.size());
    const std::uint64_t total = stub.size() + scriptOffset + 4 + compressed.size();
    if (total > 0xFFFFFFFFu || script.size() > 0xFFFFFFFFu) {
        diagnostics.error(0, "the setup image would be larger than 4 GiB");
        return {};
    }
    std::vector<unsigned char> image;
    image.reserve(total);
    image.insert(image.end(), stub.begin(), stub.end());
    const auto packageOffset = static_cast<std::uint32_t>(stub.size());
    unsigned char header[kPackageHeaderSize];
    encodePackageHeader(
        header, {kPackageHeaderSize, static_cast<std::uint32_t>(scriptOffset), requiredSpace});
    image.insert(image.end(), header, header + kPackageHeaderSize);
    image.insert(image.end(), fileGroups.begin(), fileGroups.end());
    unsigned char inflatedSize[4];
    put32(inflatedSize, static_cast<std::uint32_t>(script.size()));
    image.insert(image.end(), inflatedSize, inflatedSize + 4);
    image.insert(image.end(), compressed.begin(), compressed.end());

    encodePackageOffset(image.data(), packageOffset);
    put32(image.data() + kScriptBytesField, static_cast<std::uint32_t>(compressed.size()));
    uLong sum = adler32(0L, Z_NULL, 0);
    const unsigned char* from = image.data() + kChecksumStart;
    std::size_t left = image.size() - kChecksumStart;
    while (left > 0) {  // adler32 takes at most uInt bytes at a time
        auto chunk = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
        sum = adler32(sum, from, chunk);
        from += chunk;
        left -= chunk;
    }
    put32(image.data() + kChecksumField, static_cast<std::uint32_t>(sum));
    if (summary) {
        summary->packageOffset = packageOffset;
        summary->requiredSpace = requiredSpace;
        summary->scriptSize = script.size();
        summary->scriptCompressed = compressed.size();
        summary->imageSize = image.size();
    }
    return image;
}

std::vector<FileGroupSpec> fileGroupSpecs(const Project& project) {
    std::vector<FileGroupSpec> specs;
    for (const FileGroup& group : project.fileGroups) {
        FileGroupSpec spec;
        spec.line = group.line;
        spec.targetFolder = group.targetFolder;
        spec.overwrite = overwriteMode(group.overwrite);
        spec.rule = decisionRule(group.decide);
        spec.shared = group.shared;
        spec.sourceDir = group.sourceDir;
        spec.include = group.include;
        spec.exclude = group.exclude;
        spec.compression = compression(group.compression);
        specs.push_back(std::move(spec));
    }
    return specs;
}

std::vector<unsigned char> buildImage(const Project& project,
                                      const std::vector<unsigned char>& stub,
                                      const PackageOptions& options, Diagnostics& diagnostics,
                                      ImageSummary* summary) {
    std::vector<unsigned char> script = buildScript(project, diagnostics);
    if (diagnostics.failed()) return {};
    BuiltFileGroups groups =
        buildFileGroups(fileGroupSpecs(project), kPackageHeaderSize, options, diagnostics);
    if (diagnostics.failed()) return {};
    std::vector<unsigned char> image =
        assembleImage(stub, groups.bytes, groups.requiredSpace, script, diagnostics, summary);
    if (summary) {
        summary->fileCount = groups.fileCount;
        summary->folderCount = groups.folderCount;
    }
    return image;
}

std::optional<std::vector<unsigned char>> readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeFileBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::filesystem::path temporary = path;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (!error) return true;
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace kelvara::build
