#include "kelvara-build/image/image_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <zlib.h>

#include "formats/image_layout.h"
#include "formats/image_signature.h"
#include "kelvara-build/image/checksum.h"
#include "kelvara-build/image/component_files.h"
#include "kelvara-build/image/script_builder.h"
#include "kelvara-build/image/source_files.h"
#include "runtime/byte_order.h"

namespace kelvara::build {
namespace {

// The number of a name the project reader has checked.
template <std::size_t N>
std::uint32_t numberOf(const char* const (&names)[N], const std::string& name) {
    return static_cast<std::uint32_t>(std::find(std::begin(names), std::end(names), name) -
                                      std::begin(names));
}

OverwriteMode overwriteMode(const std::string& name) {
    return static_cast<OverwriteMode>(numberOf(kOverwriteModeNames, name));
}

DecisionRule decisionRule(const std::string& name) {
    return static_cast<DecisionRule>(numberOf(kDecisionRuleNames, name));
}

// A group's compression: its own, or the product's method where it says auto or compressed.
Compression compression(const std::string& name, const std::string& productMethod) {
    if (name == "stored") return Compression::Stored;
    if (name == "lzma2") return Compression::Lzma2;
    if (name == "zlib") return Compression::Auto;
    if (productMethod == "lzma2") return Compression::Lzma2;
    if (name == "compressed") return Compression::Compressed;
    return Compression::Auto;
}

BlockFilter blockFilter(const std::string& name) {
    if (name == "x86") return BlockFilter::X86;
    if (name == "none") return BlockFilter::None;
    return BlockFilter::Auto;
}

}  // namespace

std::uint32_t combineAdler32(std::uint32_t first, std::uint32_t second,
                             std::uint64_t secondLength) {
    // Adler-32 sums are kept modulo 65521, and the joined sum depends on the second stretch's
    // length only modulo 65521 as well.
    constexpr std::uint64_t kAdlerModulus = 65521;
    return static_cast<std::uint32_t>(
        adler32_combine(first, second, static_cast<z_off_t>(secondLength % kAdlerModulus)));
}

namespace {

bool stubIsUsable(const std::vector<unsigned char>& stub, Diagnostics& diagnostics) {
    if (stub.size() < static_cast<std::size_t>(kStubHeaderSize) || stub[0] != 'M' ||
        stub[1] != 'Z') {
        diagnostics.error(0, "the stub is not a Windows executable");
        return false;
    }
    StubHeader existing = decodeStubHeader(stub.data());
    if (existing.packageOffset != 0) {
        diagnostics.error(0, "the stub already carries a package; give the engine itself");
        return false;
    }
    return true;
}

// Where an image's bytes go: appended in order, a few stretches rewritten afterwards.
class ImageTarget {
  public:
    virtual ~ImageTarget() = default;
    virtual void append(const unsigned char* data, std::size_t size) = 0;
    virtual void writeAt(std::uint64_t offset, const unsigned char* data, std::size_t size) = 0;
    virtual bool ok() const = 0;
};

class MemoryTarget final : public ImageTarget {
  public:
    void append(const unsigned char* data, std::size_t size) override {
        bytes.insert(bytes.end(), data, data + size);
    }
    void writeAt(std::uint64_t offset, const unsigned char* data, std::size_t size) override {
        std::copy(data, data + size, bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    bool ok() const override { return true; }

    std::vector<unsigned char> bytes;
};

// A new file; the first failure sticks, with its reason.
class FileTarget final : public ImageTarget {
  public:
    explicit FileTarget(const std::filesystem::path& path)
        : file_(std::fopen(path.string().c_str(), "wb")) {
        if (!file_) {
            fail();
            return;
        }
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);  // entry headers are small
    }
    ~FileTarget() override { close(); }
    FileTarget(const FileTarget&) = delete;
    FileTarget& operator=(const FileTarget&) = delete;

    void append(const unsigned char* data, std::size_t size) override {
        if (ok() && std::fwrite(data, 1, size, file_) != size) fail();
    }
    void writeAt(std::uint64_t offset, const unsigned char* data, std::size_t size) override {
        if (!ok()) return;
        if (std::fflush(file_) != 0 || fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0 ||
            std::fwrite(data, 1, size, file_) != size || fseeko(file_, 0, SEEK_END) != 0)
            fail();
    }
    bool ok() const override { return error_.empty(); }
    // Closes the file; false when any write failed.
    bool close() {
        if (file_ && std::fclose(file_) != 0 && ok()) fail();
        file_ = nullptr;
        return ok();
    }
    const std::string& error() const { return error_; }

  private:
    void fail() {
        if (error_.empty()) error_ = errno ? std::strerror(errno) : "write failed";
    }

    std::FILE* file_;
    std::string error_;
};

// Writes an image piece by piece: the stub, room for the package header, the file groups (as a
// GroupOutput), the script block; then the package header and the stub header's fields. The
// Adler-32 from kChecksumStart is kept as a list of pieces in file order, each with its length,
// joined with adler32_combine: consecutive known pieces merge at once, so the list holds only a
// few pieces per reserved stretch (a group header, the package header) whatever the image size.
class ImageStream final : public GroupOutput {
  public:
    explicit ImageStream(ImageTarget& target) : target_(target) {}

    // Checks the stub, compresses the script, writes the stub and the package header's room.
    bool start(const std::vector<unsigned char>& stub, const std::vector<unsigned char>& script,
               Diagnostics& diagnostics) {
        if (!stubIsUsable(stub, diagnostics)) return false;
        compressed_ = compressScript(script);
        if (compressed_.empty()) {
            diagnostics.error(0, "the setup script could not be compressed");
            return false;
        }
        scriptSize_ = script.size();
        std::vector<unsigned char> image = stub;
        if (!clearSignatureFields(image, diagnostics)) return false;
        stubHeader_.assign(image.begin(), image.begin() + kChecksumStart);
        target_.append(image.data(), image.size());
        size_ = image.size();
        addKnown(adler32Of(image.data() + kChecksumStart, image.size() - kChecksumStart),
                 image.size() - kChecksumStart);
        packageOffset_ = image.size();
        packageHeader_ = reserve(firstEntryOffset());
        return true;
    }

    // Where the first file entry goes: after the package header, and after the stub's
    // signature record when the stub is signed.
    std::uint32_t firstEntryOffset() const {
        return kPackageHeaderSize +
               (stubSignature_ ? static_cast<std::uint32_t>(kStubSignatureSize) : 0u);
    }

    void append(const unsigned char* data, std::size_t size,
                std::optional<std::uint32_t> adler) override {
        if (size == 0) return;
        target_.append(data, size);
        size_ += size;
        addKnown(adler ? *adler : adler32Of(data, size), size);
    }
    std::size_t reserve(std::size_t size) override {
        const std::vector<unsigned char> room(size, 0);
        target_.append(room.data(), size);
        pieces_.push_back({1, size, size_, false});
        size_ += size;
        return pieces_.size() - 1;
    }
    void fill(std::size_t handle, const unsigned char* data, std::size_t size) override {
        Piece& piece = pieces_.at(handle);
        if (piece.known || piece.length != size)
            throw std::logic_error("image: a reserved stretch filled twice or with a wrong size");
        target_.writeAt(piece.offset, data, size);
        piece.adler = adler32Of(data, size);
        piece.known = true;
    }
    bool ok() const override { return target_.ok(); }

    // Appends the script block and fills in the package header and the stub header's fields.
    bool finish(std::uint32_t requiredSpace, Diagnostics& diagnostics, ImageSummary* summary) {
        const std::uint64_t scriptOffset = size_ - packageOffset_;
        const std::uint64_t total = size_ + 4 + compressed_.size() + kCertificateTableAlignment;
        if (total > 0xFFFFFFFFu || scriptSize_ > 0xFFFFFFFFu) {
            diagnostics.error(0, "the setup image would be larger than 4 GiB");
            return false;
        }
        unsigned char inflatedSize[4];
        writeLe32(inflatedSize, static_cast<std::uint32_t>(scriptSize_));
        append(inflatedSize, 4, std::nullopt);
        append(compressed_.data(), compressed_.size(), std::nullopt);
        // Zeros to a multiple of the certificate table's alignment: signing the image then
        // appends its table right here and pads nothing inside the checksummed range.
        const std::vector<unsigned char> padding(
            (kCertificateTableAlignment - size_ % kCertificateTableAlignment) %
            kCertificateTableAlignment);
        append(padding.data(), padding.size(), std::nullopt);

        std::vector<unsigned char> header(firstEntryOffset());
        encodePackageHeader(
            header.data(),
            {firstEntryOffset(), static_cast<std::uint32_t>(scriptOffset), requiredSpace});
        if (stubSignature_)
            encodeStubSignature(header.data() + kPackageHeaderSize, *stubSignature_);
        fill(packageHeader_, header.data(), header.size());

        uLong sum = adler32(0L, Z_NULL, 0);
        for (const Piece& piece : pieces_) {
            if (!piece.known) throw std::logic_error("image: a reserved stretch never filled");
            sum = combineAdler32(static_cast<std::uint32_t>(sum),
                                 static_cast<std::uint32_t>(piece.adler), piece.length);
        }
        const auto packageOffset = static_cast<std::uint32_t>(packageOffset_);
        encodePackageOffset(stubHeader_.data(), packageOffset);
        writeLe32(stubHeader_.data() + kScriptBytesField,
                  static_cast<std::uint32_t>(compressed_.size()));
        writeLe32(stubHeader_.data() + kChecksumField, static_cast<std::uint32_t>(sum));
        target_.writeAt(0, stubHeader_.data(), stubHeader_.size());
        if (summary) {
            summary->packageOffset = packageOffset;
            summary->requiredSpace = requiredSpace;
            summary->scriptSize = scriptSize_;
            summary->scriptCompressed = compressed_.size();
            summary->imageSize = static_cast<std::size_t>(size_);
        }
        return true;
    }

  private:
    struct Piece {
        uLong adler;
        std::uint64_t length;
        std::uint64_t offset;  // in the image, for reserved stretches
        bool known;
    };

    // The image is written with a zero CheckSum and no security entry, whatever the stub had:
    // a checksum of the stub alone is wrong once the package is appended, and a signature of
    // the image is made afterwards, over these zeros (which the engine's check reads as zero).
    // A signed stub's fields are kept for the uninstaller copy, which is that stub again.
    bool clearSignatureFields(std::vector<unsigned char>& image, Diagnostics& diagnostics) {
        SignatureFields fields;
        const std::size_t head =
            image.size() < kSignatureHeadSize ? image.size() : kSignatureHeadSize;
        if (!readSignatureFields(image.data(), head, fields)) return true;
        if (isSigned(fields)) {
            if (checksummedEnd(fields, image.size()) != fields.tableOffset ||
                !certificateTableIsSound(image.data() + fields.tableOffset, fields)) {
                diagnostics.error(0, "the stub's signature is damaged or does not end the file");
                return false;
            }
            stubSignature_ = StubSignature{readLe32(image.data() + fields.checksumField),
                                           fields.tableOffset, fields.tableSize};
        }
        blankSignatureFields(image.data(), 0, image.size(), fields);
        return true;
    }

    void addKnown(std::uint32_t adler, std::uint64_t length) {
        if (!pieces_.empty() && pieces_.back().known) {
            Piece& last = pieces_.back();
            last.adler = combineAdler32(static_cast<std::uint32_t>(last.adler), adler, length);
            last.length += length;
        } else {
            pieces_.push_back({adler, length, size_ - length, true});
        }
    }

    ImageTarget& target_;
    std::vector<unsigned char> stubHeader_;  // the stub's first kChecksumStart bytes
    std::vector<unsigned char> compressed_;  // the compressed script
    std::size_t scriptSize_ = 0;
    std::uint64_t size_ = 0;  // bytes written so far
    std::uint64_t packageOffset_ = 0;
    std::size_t packageHeader_ = 0;               // the package header's reserved stretch
    std::optional<StubSignature> stubSignature_;  // the fields of a signed stub
    std::vector<Piece> pieces_;
};

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
    MemoryTarget target;
    ImageStream stream(target);
    if (!stream.start(stub, script, diagnostics)) return {};
    if (stream.firstEntryOffset() != kPackageHeaderSize) {
        diagnostics.error(0, "the file groups were laid out for a stub without a signature");
        return {};
    }
    stream.append(fileGroups.data(), fileGroups.size(), std::nullopt);
    if (!stream.finish(requiredSpace, diagnostics, summary)) return {};
    return std::move(target.bytes);
}

std::vector<FileGroupSpec> fileGroupSpecs(const Project& project) {
    std::vector<FileGroupSpec> specs;
    for (const FileGroup& group : project.fileGroups) {
        FileGroupSpec groupSpec;
        groupSpec.line = group.line;
        groupSpec.targetFolder = group.targetFolder;
        groupSpec.overwrite = overwriteMode(group.overwrite);
        groupSpec.rule = decisionRule(group.decide);
        groupSpec.shared = group.shared;
        groupSpec.sourceDir = group.sourceDir;
        groupSpec.include = group.include;
        groupSpec.exclude = group.exclude;
        groupSpec.compression = compression(group.compression, project.compression);
        groupSpec.blockSize = project.blockSizeMiB << 20;
        groupSpec.blockFilter = blockFilter(project.compressionFilter);
        groupSpec.encoding = project.encoding;
        groupSpec.conditioned = project.hasChoices();
        groupSpec.conditionComponents = group.condition.components;
        groupSpec.conditionTasks = group.condition.tasks;
        specs.push_back(std::move(groupSpec));
    }
    // An image with choices has a condition entry in a group even without files: an older
    // engine, which would install every part, refuses it as damage there.
    if (project.hasChoices() && specs.empty()) {
        FileGroupSpec empty;
        empty.targetFolder = "%InstallPath%";
        empty.encoding = project.encoding;
        empty.conditioned = true;
        specs.push_back(std::move(empty));
    }
    return specs;
}

namespace {

// What an image is made of before its first byte is written: the groups, their files as found,
// and the script, which holds what the components' files need.
struct ImageParts {
    std::vector<FileGroupSpec> groups;
    CollectedFiles files;
    std::vector<unsigned char> script;
};

ImageParts prepareImage(const Project& project, const PackageOptions& options,
                        Diagnostics& diagnostics) {
    ImageParts parts;
    parts.groups = fileGroupSpecs(project);
    parts.files = collectFileGroups(parts.groups, options, diagnostics);
    const std::vector<std::uint32_t> bytes =
        componentBytes(parts.groups, parts.files, project.components, diagnostics);
    parts.script = buildScript(project, diagnostics, bytes);
    return parts;
}

}  // namespace

std::vector<unsigned char> buildImage(const Project& project,
                                      const std::vector<unsigned char>& stub,
                                      const PackageOptions& options, Diagnostics& diagnostics,
                                      ImageSummary* summary) {
    const ImageParts parts = prepareImage(project, options, diagnostics);
    if (diagnostics.failed()) return {};
    MemoryTarget target;
    ImageStream stream(target);
    if (!stream.start(stub, parts.script, diagnostics)) return {};
    BuiltFileGroups groups = buildFileGroups(parts.groups, parts.files, stream.firstEntryOffset(),
                                             options, diagnostics, stream);
    if (diagnostics.failed() || !stream.finish(groups.requiredSpace, diagnostics, summary))
        return {};
    if (summary) {
        summary->fileCount = groups.fileCount;
        summary->folderCount = groups.folderCount;
    }
    return std::move(target.bytes);
}

bool writeImage(const Project& project, const std::vector<unsigned char>& stub,
                const PackageOptions& options, const std::filesystem::path& path,
                Diagnostics& diagnostics, bool warningsAsErrors, ImageSummary* summary) {
    const ImageParts parts = prepareImage(project, options, diagnostics);
    if (diagnostics.failed() || !stubIsUsable(stub, diagnostics)) return false;
    std::filesystem::path temporary = path;
    temporary += ".partial";
    bool built = false;
    std::string writeError;
    {
        FileTarget target(temporary);
        ImageStream stream(target);
        if (target.ok() && stream.start(stub, parts.script, diagnostics)) {
            BuiltFileGroups groups = buildFileGroups(
                parts.groups, parts.files, stream.firstEntryOffset(), options, diagnostics, stream);
            built = !diagnostics.failed() && target.ok() &&
                    stream.finish(groups.requiredSpace, diagnostics, summary);
            if (built && summary) {
                summary->fileCount = groups.fileCount;
                summary->folderCount = groups.folderCount;
            }
        }
        if (!target.close()) {
            built = false;
            writeError = target.error();
        }
    }
    std::error_code error;
    if (!writeError.empty()) {
        diagnostics.error(0, "cannot write '" + path.string() + "': " + writeError);
    } else if (built && (!warningsAsErrors || diagnostics.warnings().empty())) {
        std::filesystem::rename(temporary, path, error);
        if (!error) return true;
        diagnostics.error(0, "cannot write '" + path.string() + "': " + error.message());
    }
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace kelvara::build
