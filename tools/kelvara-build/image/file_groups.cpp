#include "kelvara-build/image/file_groups.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <limits>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "formats/package_format.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/image/checksum.h"
#include "kelvara-build/image/pe_version.h"
#include "kelvara-build/project/project.h"

namespace kelvara::build {
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kAttributeReadOnly = 0x01;   // FILE_ATTRIBUTE_READONLY
constexpr std::uint32_t kAttributeArchive = 0x20;    // FILE_ATTRIBUTE_ARCHIVE
constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFu;  // the entry's stored length is 32 bits
// Longest relative path that can still fit MAX_PATH (260) below a target like "C:\X\".
constexpr std::size_t kMaxRelativePath = 255;
constexpr std::int64_t kFileTimeUnixEpoch = 116444736000000000;  // 1970-01-01 as a FILETIME
constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000;
// Files compressed ahead of the one being written, per thread: bounds the memory in flight.
constexpr std::size_t kFilesAheadPerThread = 4;

// ---- Collecting -------------------------------------------------------------------------------

struct SourceFile {
    std::size_t group = 0;
    fs::path path;
    std::string relative;  // / separators
    std::uint64_t size = 0;
    std::uint64_t time = 0;  // FILETIME
    std::uint32_t attributes = 0;
};

std::vector<std::string> splitPath(std::string_view relative) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t slash; (slash = relative.find('/', start)) != std::string_view::npos;
         start = slash + 1)
        parts.emplace_back(relative.substr(start, slash - start));
    parts.emplace_back(relative.substr(start));
    return parts;
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool nameIsValid(const FileGroupSpec& groupSpec, const std::string& relative,
                 Diagnostics& diagnostics) {
    if (relative.size() > kMaxRelativePath) {
        // The engine's path buffers count bytes, which in Windows-1252 are characters.
        const char* units =
            groupSpec.encoding == TextEncoding::Utf8 ? " bytes in UTF-8)" : " characters)";
        diagnostics.error(groupSpec.line, "'" + relative + "': path too long for Windows (over " +
                                              std::to_string(kMaxRelativePath) + units);
        return false;
    }
    for (const std::string& part : splitPath(relative)) {
        std::string problem = nameProblem(part);
        if (!problem.empty()) {
            diagnostics.error(groupSpec.line, "'" + relative + "': " + problem);
            return false;
        }
    }
    return true;
}

SourceFile describe(const FileGroupSpec& groupSpec, std::size_t group, const fs::path& path,
                    std::string relative, const PackageOptions& options, Diagnostics& diagnostics,
                    bool& ok) {
    SourceFile file;
    file.group = group;
    file.path = path;
    file.relative = std::move(relative);
    std::error_code error;
    file.size = fs::file_size(path, error);
    auto time = error ? fs::file_time_type{} : fs::last_write_time(path, error);
    auto status = error ? fs::file_status{} : fs::status(path, error);
    if (error) {
        diagnostics.error(groupSpec.line,
                          "cannot read '" + path.string() + "': " + error.message());
        ok = false;
        return file;
    }
    if (file.size > kMaxFileSize) {
        diagnostics.error(groupSpec.line, "'" + file.relative + "' is larger than 4 GiB");
        ok = false;
    }
    file.time = toFileTime(time, options.sourceDateEpoch);
    bool writable = (status.permissions() & fs::perms::owner_write) != fs::perms::none;
    file.attributes = writable ? kAttributeArchive : kAttributeReadOnly;
    return file;
}

// The files of one group, sorted byte-wise by relative path.
std::vector<SourceFile> collectGroup(const FileGroupSpec& groupSpec, std::size_t group,
                                     const PackageOptions& options, Diagnostics& diagnostics,
                                     bool& ok) {
    std::vector<SourceFile> files;
    std::error_code error;
    if (!fs::is_directory(groupSpec.sourceDir, error)) {
        diagnostics.error(groupSpec.line,
                          "source folder '" + groupSpec.sourceDir.string() + "' does not exist");
        ok = false;
        return files;
    }
    const std::vector<std::string> all{"**"};
    const std::vector<std::string>& include = groupSpec.include.empty() ? all : groupSpec.include;
    std::vector<std::uint64_t> matches(include.size(), 0);

    std::vector<std::pair<std::string, fs::path>> found;
    fs::recursive_directory_iterator it(groupSpec.sourceDir, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::u8string utf8 = it->path().lexically_relative(groupSpec.sourceDir).generic_u8string();
        std::string relative(utf8.begin(), utf8.end());
        bool included = false;
        for (std::size_t i = 0; i < include.size(); ++i) {
            if (matchesGlob(include[i], relative)) {
                ++matches[i];
                included = true;
            }
        }
        if (!included) continue;
        bool excluded = std::any_of(groupSpec.exclude.begin(), groupSpec.exclude.end(),
                                    [&](const std::string& p) { return matchesGlob(p, relative); });
        if (!excluded) found.emplace_back(std::move(relative), it->path());
    }
    if (error) {
        diagnostics.error(groupSpec.line,
                          "cannot list '" + groupSpec.sourceDir.string() + "': " + error.message());
        ok = false;
    }
    for (std::size_t i = 0; i < include.size(); ++i)
        if (matches[i] == 0)
            diagnostics.warning(groupSpec.line, "pattern '" + include[i] +
                                                    "' matches no file in '" +
                                                    groupSpec.sourceDir.string() + "'");

    // Names go into the package as the engine's ANSI text; sorted as those bytes.
    std::vector<std::pair<std::string, fs::path>> named;
    for (auto& [relative, path] : found) {
        std::optional<std::string> engineName = toEngineText(relative, groupSpec.encoding);
        if (!engineName) {
            diagnostics.error(groupSpec.line,
                              "'" + relative + "' " +
                                  (groupSpec.encoding == TextEncoding::Utf8
                                       ? "is not a valid UTF-8 name"
                                       : "holds a character that Windows-1252 cannot write"));
            ok = false;
            continue;
        }
        named.emplace_back(std::move(*engineName), std::move(path));
    }
    std::sort(named.begin(), named.end());
    std::set<std::string> folded;
    for (auto& [relative, path] : named) {
        if (!nameIsValid(groupSpec, relative, diagnostics)) {
            ok = false;
            continue;
        }
        if (!folded.insert(foldedName(relative, groupSpec.encoding)).second)
            diagnostics.warning(groupSpec.line, "'" + relative +
                                                    "' differs from another file only in case; on "
                                                    "Windows the later one replaces the earlier");
        files.push_back(
            describe(groupSpec, group, path, std::move(relative), options, diagnostics, ok));
    }
    return files;
}

// ---- Compressing ------------------------------------------------------------------------------

struct Prepared {
    std::vector<unsigned char> data;  // as stored in the package
    bool compressed = false;
    std::uint32_t size = 0;   // the file's size
    std::uint32_t adler = 1;  // Adler-32 of data, so the image checksum needs no second pass
    FileVersion version;
    std::string error;
};

// `expected`: the size the file had when collected; read straight into place, then whatever a
// file that has grown since holds more.
bool readWholeFile(const fs::path& path, std::uint64_t expected, std::vector<unsigned char>& data,
                   std::string& error) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.string().c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        error = "cannot open '" + path.string() + "'";
        return false;
    }
    data.resize(static_cast<std::size_t>(std::min(expected, kMaxFileSize)));
    std::size_t got = data.empty() ? 0 : std::fread(data.data(), 1, data.size(), file.get());
    data.resize(got);
    std::array<unsigned char, 1 << 16> chunk;
    std::size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        if (data.size() + n > kMaxFileSize) {
            error = "'" + path.string() + "' is larger than 4 GiB";
            return false;
        }
        data.insert(data.end(), chunk.data(), chunk.data() + n);
    }
    if (std::ferror(file.get())) {
        error = "cannot read '" + path.string() + "'";
        return false;
    }
    return true;
}

// A zlib stream (level 9) ended by a sync flush, without final block or Adler-32 trailer.
// With `limit`, gives up (returns false) once the stream would reach that many bytes.
bool deflateSyncFlushed(const std::vector<unsigned char>& input, std::optional<std::size_t> limit,
                        std::vector<unsigned char>& output) {
    z_stream stream{};
    if (deflateInit(&stream, 9) != Z_OK) throw std::runtime_error("zlib: deflateInit failed");
    std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, &deflateEnd);
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    std::size_t capacity = limit
                               ? *limit
                               : std::min<std::size_t>(deflateBound(&stream, stream.avail_in) + 16,
                                                       std::numeric_limits<uInt>::max());
    output.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        stream.next_out = output.data() + used;
        stream.avail_out = static_cast<uInt>(
            std::min<std::size_t>(output.size() - used, std::numeric_limits<uInt>::max()));
        uInt offered = stream.avail_out;
        int result = deflate(&stream, Z_SYNC_FLUSH);
        if (result != Z_OK && result != Z_BUF_ERROR)
            throw std::runtime_error("zlib: deflate failed");
        used += offered - stream.avail_out;
        if (stream.avail_in == 0 && stream.avail_out > 0) break;  // all flushed
        if (limit) return false;                                  // not smaller
        output.resize(output.size() + output.size() / 2 + 64);
    }
    output.resize(used);
    return true;
}

Prepared prepare(const SourceFile& file, Compression compression) {
    Prepared out;
    std::vector<unsigned char> data;
    if (!readWholeFile(file.path, file.size, data, out.error)) return out;
    out.size = static_cast<std::uint32_t>(data.size());
    if (auto version = readPeFileVersion(data.data(), data.size())) out.version = *version;
    if (compression == Compression::Stored || (compression == Compression::Auto && data.empty())) {
        out.data = std::move(data);
        out.adler = adler32Of(out.data.data(), out.data.size());
        return out;
    }
    std::vector<unsigned char> packed;
    std::optional<std::size_t> limit;
    if (compression == Compression::Auto) limit = data.size();
    if (deflateSyncFlushed(data, limit, packed)) {
        if (packed.size() > kMaxFileSize) {
            out.error = "'" + file.relative + "' compresses to more than 4 GiB";
            return out;
        }
        out.data = std::move(packed);
        out.compressed = true;
    } else {
        out.data = std::move(data);
    }
    out.adler = adler32Of(out.data.data(), out.data.size());
    return out;
}

// Workers take files in order, at most `window` ahead of the one the writer waits for.
class CompressionPool {
  public:
    CompressionPool(const std::vector<SourceFile>& files, const std::vector<FileGroupSpec>& groups,
                    unsigned threads)
        : files_(files), groups_(groups), results_(files.size()), ready_(files.size(), false) {
        window_ = std::max<std::size_t>(1, threads * kFilesAheadPerThread);
        for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
    }
    ~CompressionPool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }

    // Waits for file i and hands its result over; files must be taken in order.
    Prepared take(std::size_t i) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return ready_[i]; });
        Prepared result = std::move(results_[i]);
        results_[i] = Prepared{};
        taken_ = i + 1;
        lock.unlock();
        changed_.notify_all();
        return result;
    }

  private:
    void work() {
        for (;;) {
            std::size_t i;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] {
                    return stopping_ || next_ >= files_.size() || next_ < taken_ + window_;
                });
                if (stopping_ || next_ >= files_.size()) return;
                i = next_++;
            }
            Prepared result;
            try {
                result = prepare(files_[i], groups_[files_[i].group].compression);
            } catch (const std::exception& e) {
                result = Prepared{};
                result.error = "'" + files_[i].path.string() + "': " + e.what();
            }
            {
                std::lock_guard lock(mutex_);
                results_[i] = std::move(result);
                ready_[i] = true;
            }
            changed_.notify_all();
        }
    }

    const std::vector<SourceFile>& files_;
    const std::vector<FileGroupSpec>& groups_;
    std::vector<Prepared> results_;
    std::vector<bool> ready_;
    std::size_t next_ = 0;
    std::size_t taken_ = 0;
    std::size_t window_ = 1;
    bool stopping_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::thread> workers_;  // last: started once everything above exists
};

// ---- Encoding ---------------------------------------------------------------------------------

class GroupWriter {
  public:
    GroupWriter(GroupOutput& output, std::uint32_t firstEntryOffset)
        : output_(output), base_(firstEntryOffset) {}

    void openGroup(const FileGroupSpec& groupSpec) {
        closeGroup();
        FileGroupHeader header;
        header.overwriteMode = static_cast<std::uint32_t>(groupSpec.overwrite);
        header.decisionRule = static_cast<std::uint32_t>(groupSpec.rule);
        header.shared = groupSpec.shared ? 1 : 0;
        header.targetFolder = groupSpec.targetFolder.c_str();
        groupHeader_.assign(groupHeaderSize(groupSpec.targetFolder.size()), 0);
        writeGroupHeader(groupHeader_.data(), header);
        groupHandle_ = output_.reserve(groupHeader_.size());
        written_ += groupHeader_.size();
        folders_.clear();
        open_ = true;
    }

    // Folder entries for the folders of `dirs` not already on the stack; returns how many.
    std::uint64_t enterFolders(const std::vector<std::string>& dirs) {
        std::size_t common = 0;
        while (common < dirs.size() && common < folders_.size() && dirs[common] == folders_[common])
            ++common;
        folders_.resize(common);
        for (std::size_t depth = common; depth < dirs.size(); ++depth) {
            const std::string& name = dirs[depth];
            scratch_.assign(folderEntrySize(name.size()), 0);
            writeFolderEntry(scratch_.data(), name.c_str(), static_cast<std::uint32_t>(depth));
            put(scratch_.data(), scratch_.size());
            folders_.push_back(name);
        }
        return dirs.size() - common;
    }

    void addFile(const std::string& name, const FileEntryInfo& info, bool compressed,
                 const std::vector<unsigned char>& data, std::uint32_t adler) {
        scratch_.assign(fileEntryHeaderSize(name.size()), 0);
        writeFileEntryHeader(scratch_.data(), name.c_str(),
                             static_cast<std::uint32_t>(folders_.size()), compressed, info);
        put(scratch_.data(), scratch_.size());
        if (!data.empty()) {
            output_.append(data.data(), data.size(), adler);
            written_ += data.size();
        }
    }

    void closeGroup() {
        if (!open_) return;
        patchGroupEndOffset(groupHeader_.data(), offset());
        output_.fill(groupHandle_, groupHeader_.data(), groupHeader_.size());
        open_ = false;
    }

    // False once the package offsets no longer fit 32 bits.
    bool fits() const { return base_ + written_ <= 0xFFFFFFFFu; }

  private:
    std::uint32_t offset() const { return static_cast<std::uint32_t>(base_ + written_); }
    void put(const unsigned char* bytes, std::size_t size) {
        output_.append(bytes, size);
        written_ += size;
    }

    GroupOutput& output_;
    std::uint64_t base_;
    std::uint64_t written_ = 0;               // bytes given to the output so far
    std::vector<unsigned char> groupHeader_;  // the open group's header, until its end is known
    std::size_t groupHandle_ = 0;
    std::vector<unsigned char> scratch_;
    std::vector<std::string> folders_;  // the folder stack below the target folder
    bool open_ = false;
};

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
    return true;
}

}  // namespace

// ---- Names, patterns, times -------------------------------------------------------------------

bool matchesGlob(std::string_view pattern, std::string_view path) {
    // memo[p][s]: 0 unknown, 1 no, 2 yes; bounds the work to |pattern| x |path| steps.
    const std::size_t columns = path.size() + 1;
    std::vector<unsigned char> memo((pattern.size() + 1) * columns, 0);
    std::function<bool(std::size_t, std::size_t)> match = [&](std::size_t p,
                                                              std::size_t s) -> bool {
        unsigned char& known = memo[p * columns + s];
        if (known) return known == 2;
        bool result;
        if (p == pattern.size()) {
            result = s == path.size();
        } else if (pattern.compare(p, 3, "**/") == 0) {
            // Zero or more whole folders.
            result = match(p + 3, s);
            for (std::size_t i = s; !result && i < path.size(); ++i)
                if (path[i] == '/') result = match(p + 3, i + 1);
        } else if (pattern.compare(p, 2, "**") == 0) {
            result = false;
            for (std::size_t i = s; !result && i <= path.size(); ++i) result = match(p + 2, i);
        } else if (pattern[p] == '*') {
            result = match(p + 1, s);
            for (std::size_t i = s; !result && i < path.size() && path[i] != '/'; ++i)
                result = match(p + 1, i + 1);
        } else if (s == path.size()) {
            result = false;
        } else if (pattern[p] == '?') {
            result = path[s] != '/' && match(p + 1, s + 1);
        } else {
            result = pattern[p] == path[s] && match(p + 1, s + 1);
        }
        known = result ? 2 : 1;
        return result;
    };
    return match(0, 0);
}

std::string nameProblem(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return "not a file or folder name";
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) return "control character in the name";
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return std::string("Windows does not allow '") + c + "' in names";
        if (c == ',') return "',' in a name would split the install log's fields";
    }
    if (name.back() == '.' || name.back() == ' ')
        return "Windows drops a trailing dot or blank from names";
    std::string stem = lowerAscii(std::string(name.substr(0, name.find('.'))));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    static const std::set<std::string> devices{
        "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
        "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    if (devices.count(stem)) return "'" + std::string(name) + "' names a device on Windows";
    return {};
}

std::uint64_t toFileTime(fs::file_time_type time, std::optional<std::int64_t> sourceDateEpoch) {
    using namespace std::chrono;
    // In 100 ns units throughout: nanoseconds since 1970 run out in 2262, and the file clock's
    // own epoch differs between standard libraries.
    using Units = duration<std::int64_t, std::ratio<1, kFileTimeUnitsPerSecond>>;
    auto fileEpoch = file_clock::to_sys(fs::file_time_type{}).time_since_epoch();
    std::int64_t units =
        floor<Units>(time.time_since_epoch()).count() + floor<Units>(fileEpoch).count();
    constexpr std::int64_t maxSeconds =
        (std::numeric_limits<std::int64_t>::max() - kFileTimeUnixEpoch) / kFileTimeUnitsPerSecond;
    if (sourceDateEpoch) {
        std::int64_t epoch = std::clamp<std::int64_t>(*sourceDateEpoch, -maxSeconds, maxSeconds);
        units = std::min(units, epoch * kFileTimeUnitsPerSecond);
    }
    if (units < -kFileTimeUnixEpoch) return 0;
    return static_cast<std::uint64_t>(units + kFileTimeUnixEpoch);
}

// ---- The build --------------------------------------------------------------------------------

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
    BuiltFileGroups built;
    std::vector<SourceFile> files;
    std::vector<bool> usable(groups.size(), false);
    std::uint64_t bytesTotal = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        bool ok = checkGroupSpec(groups[g], diagnostics);
        if (!ok) continue;
        std::vector<SourceFile> found = collectGroup(groups[g], g, options, diagnostics, ok);
        usable[g] = ok;
        if (!ok) continue;
        for (SourceFile& file : found) {
            bytesTotal += file.size;
            files.push_back(std::move(file));
        }
    }
    if (diagnostics.failed()) return built;

    unsigned threads = options.threads ? options.threads : std::thread::hardware_concurrency();
    threads = static_cast<unsigned>(
        std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(files.size(), 1)));
    CompressionPool pool(files, groups, threads);

    GroupWriter writer(output, firstEntryOffset);
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
            info.storedLength = static_cast<std::uint32_t>(prepared.data.size());
            writer.addFile(name, info, prepared.compressed, prepared.data, prepared.adler);
            if (!output.ok()) return built;  // the output's owner reports why
            if (!writer.fits()) {
                diagnostics.error(groups[g].line,
                                  "the package grows past 4 GiB at '" + file.relative + "'");
                return built;
            }
            ++built.fileCount;
            required += prepared.size;
            bytesDone += file.size;
            if (options.progress) options.progress(next + 1, files.size(), bytesDone, bytesTotal);
        }
        writer.closeGroup();
    }
    if (required > 0xFFFFFFFFu) {
        diagnostics.warning(0, "the files need " + std::to_string(required) +
                                   " bytes; the package records 4 GiB, the most it can hold");
        required = 0xFFFFFFFFu;
    }
    built.requiredSpace = static_cast<std::uint32_t>(required);
    return built;
}

}  // namespace kelvara::build
