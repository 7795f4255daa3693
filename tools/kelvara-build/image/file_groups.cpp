#include "kelvara-build/image/file_groups.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "formats/package_format.h"
#include "kelvara-build/image/block_compression.h"
#include "kelvara-build/image/file_compression.h"
#include "kelvara-build/image/group_writer.h"
#include "kelvara-build/image/source_files.h"

namespace kelvara::build {
namespace {

// Gathers the groups in memory.
class VectorGroupOutput final : public GroupOutput {
  public:
    explicit VectorGroupOutput(std::vector<unsigned char>& bytes) : bytes_(bytes) {}
    void append(const unsigned char* data, std::size_t size,
                std::optional<std::uint32_t>) override {
        bytes_.insert(bytes_.end(), data, data + size);
    }
    std::size_t reserve(std::size_t size) override {
        bytes_.resize(bytes_.size() + size);
        return bytes_.size() - size;
    }
    void fill(std::size_t handle, const unsigned char* data, std::size_t size) override {
        std::copy(data, data + size, bytes_.begin() + static_cast<std::ptrdiff_t>(handle));
    }

  private:
    std::vector<unsigned char>& bytes_;
};

bool checkGroupSpec(const FileGroupSpec& groupSpec, Diagnostics& diagnostics) {
    if (groupSpec.targetFolder.empty()) {
        diagnostics.error(groupSpec.line, "a file group needs a target folder");
        return false;
    }
    if (groupSpec.targetFolder.find('\0') != std::string::npos) {
        diagnostics.error(groupSpec.line, "the target folder holds a NUL character");
        return false;
    }
    auto mode = static_cast<int>(groupSpec.overwrite);
    auto rule = static_cast<int>(groupSpec.rule);
    if (mode < 0 || mode > static_cast<int>(kOverwriteNever) || rule < 0 ||
        rule > static_cast<int>(kDecideByVersionAndDate)) {
        diagnostics.error(groupSpec.line, "overwrite mode or decision rule out of range");
        return false;
    }
    if (groupSpec.compression == Compression::Lzma2 && !lzma2Available()) {
        diagnostics.error(groupSpec.line,
                          "this build of kelvara-build has no LZMA2 encoder: use compression = "
                          "\"zlib\", or the builder for Linux");
        return false;
    }
    return true;
}

}  // namespace

CollectedFiles collectFileGroups(const std::vector<FileGroupSpec>& groups,
                                 const PackageOptions& options, Diagnostics& diagnostics) {
    CollectedFiles collected;
    collected.usable.assign(groups.size(), false);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        bool ok = checkGroupSpec(groups[g], diagnostics);
        if (!ok) continue;
        if (groups[g].sourceDir.empty()) {
            collected.usable[g] = true;
            continue;
        }
        std::vector<SourceFile> found = collectGroup(groups[g], g, options, diagnostics, ok);
        collected.usable[g] = ok;
        if (!ok) continue;
        for (SourceFile& file : found) {
            collected.bytes += file.size;
            collected.files.push_back(std::move(file));
        }
    }
    return collected;
}

BuiltFileGroups buildFileGroups(const std::vector<FileGroupSpec>& groups,
                                std::uint32_t firstEntryOffset, const PackageOptions& options,
                                Diagnostics& diagnostics) {
    std::vector<unsigned char> bytes;
    VectorGroupOutput output(bytes);
    BuiltFileGroups built = buildFileGroups(groups, firstEntryOffset, options, diagnostics, output);
    built.bytes = std::move(bytes);
    return built;
}

BuiltFileGroups buildFileGroups(const std::vector<FileGroupSpec>& groups,
                                std::uint32_t firstEntryOffset, const PackageOptions& options,
                                Diagnostics& diagnostics, GroupOutput& output) {
    const CollectedFiles collected = collectFileGroups(groups, options, diagnostics);
    return buildFileGroups(groups, collected, firstEntryOffset, options, diagnostics, output);
}

BuiltFileGroups buildFileGroups(const std::vector<FileGroupSpec>& groups,
                                const CollectedFiles& collected, std::uint32_t firstEntryOffset,
                                const PackageOptions& options, Diagnostics& diagnostics,
                                GroupOutput& output) {
    BuiltFileGroups built;
    const std::vector<SourceFile>& files = collected.files;
    const std::uint64_t bytesTotal = collected.bytes;
    if (collected.usable.size() != groups.size())
        throw std::logic_error("file groups: the files were collected for other groups");
    if (diagnostics.failed()) return built;
    const std::vector<bool>& usable = collected.usable;

    unsigned threads = options.threads ? options.threads : std::thread::hardware_concurrency();
    threads = static_cast<unsigned>(
        std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(files.size(), 1)));
    CompressionPool pool(files, groups, threads);

    GroupWriter writer(output, firstEntryOffset, threads);
    std::uint64_t required = 0;
    std::uint64_t bytesDone = 0;
    std::size_t next = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (!usable[g]) continue;
        writer.openGroup(groups[g]);
        for (; next < files.size() && files[next].group == g; ++next) {
            const SourceFile& file = files[next];
            Prepared prepared = pool.take(next);
            if (!prepared.error.empty()) {
                diagnostics.error(groups[g].line, prepared.error);
                continue;
            }
            std::vector<std::string> dirs = splitPath(file.relative);
            std::string name = std::move(dirs.back());
            dirs.pop_back();
            built.folderCount += writer.enterFolders(dirs);

            FileEntryInfo info;
            info.attributes = file.attributes;
            info.creationTime = info.lastAccessTime = info.lastWriteTime = file.time;
            info.sizeLow = prepared.size;
            info.versionMs = prepared.version.ms;
            info.versionLs = prepared.version.ls;
            if (prepared.inBlock) {
                writer.addInBlockFile(name, info, prepared.data, prepared.x86Code);
            } else {
                info.storedLength = static_cast<std::uint32_t>(prepared.data.size());
                writer.addFile(name, info, prepared.compressed, prepared.data, prepared.adler);
            }
            if (!output.ok()) return built;  // the output's owner reports why
            if (!writer.error().empty()) {
                diagnostics.error(groups[g].line, writer.error());
                return built;
            }
            if (!writer.fits()) {
                diagnostics.error(groups[g].line,
                                  "the package grows past 4 GiB at '" + file.relative + "'");
                return built;
            }
            ++built.fileCount;
            if (groups[g].conditionComponents == 0) required += prepared.size;
            bytesDone += file.size;
            if (options.progress) options.progress(next + 1, files.size(), bytesDone, bytesTotal);
        }
        writer.closeGroup();
        if (!output.ok()) return built;
        if (!writer.error().empty()) {
            diagnostics.error(groups[g].line, writer.error());
            return built;
        }
        if (!writer.fits()) {
            diagnostics.error(groups[g].line, "the package grows past 4 GiB");
            return built;
        }
    }
    built.blockCount = writer.blockCount();
    if (required > 0xFFFFFFFFu) {
        diagnostics.warning(0, "the files need " + std::to_string(required) +
                                   " bytes; the package records 4 GiB, the most it can hold");
        required = 0xFFFFFFFFu;
    }
    built.requiredSpace = static_cast<std::uint32_t>(required);
    return built;
}

}  // namespace kelvara::build
