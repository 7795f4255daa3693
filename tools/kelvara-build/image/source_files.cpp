#include "kelvara-build/image/source_files.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <set>
#include <tuple>

#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kAttributeReadOnly = 0x01;  // FILE_ATTRIBUTE_READONLY
constexpr std::uint32_t kAttributeArchive = 0x20;   // FILE_ATTRIBUTE_ARCHIVE
// Longest relative path that can still fit MAX_PATH (260) below a target like "C:\X\".
constexpr std::size_t kMaxRelativePath = 255;
constexpr std::int64_t kFileTimeUnixEpoch = 116444736000000000;  // 1970-01-01 as a FILETIME
constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000;

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

// Whether `include` is the default, every file: with it a source folder that holds nothing is
// how a project makes an empty folder (the engine makes a group's target folder, files or none).
bool takesEverything(const std::vector<std::string>& include) {
    return std::all_of(include.begin(), include.end(),
                       [](const std::string& pattern) { return pattern == "**"; });
}

// Whether the group installs into the installation folder itself, which setup makes in any case:
// a group without files makes nothing there.
bool targetsInstallPath(const std::string& folder) {
    std::string text = lowerAscii(folder);
    while (!text.empty() && (text.back() == '\\' || text.back() == '/')) text.pop_back();
    return text == "%installpath%";
}

// Tells of a group that takes no file from its source folder, and of a pattern that takes none:
// the packager expected files there. Not of a source folder with nothing at all in it whose
// patterns are left at every file and whose target is not the installation folder: that group
// stands for the empty folder it makes.
void warnOfNothingTaken(const FileGroupSpec& groupSpec, const std::vector<std::string>& include,
                        const std::vector<std::uint64_t>& matches, std::uint64_t filesSeen,
                        std::uint64_t foldersSeen, bool nothingTaken, Diagnostics& diagnostics) {
    const std::string folder = "'" + groupSpec.sourceDir.string() + "'";
    const std::string nothing = ": the [[files]] group installs nothing";
    if (filesSeen == 0) {
        if (foldersSeen > 0) {
            diagnostics.warning(groupSpec.line, "the source folder " + folder +
                                                    " holds no file, only empty folders, which "
                                                    "are not installed" +
                                                    nothing);
        } else if (!takesEverything(include) || targetsInstallPath(groupSpec.targetFolder)) {
            diagnostics.warning(groupSpec.line,
                                "the source folder " + folder + " is empty" + nothing);
        }
        return;
    }
    std::vector<std::string> unmatched;
    for (std::size_t i = 0; i < include.size(); ++i)
        if (matches[i] == 0) unmatched.push_back("'" + include[i] + "'");
    if (nothingTaken && unmatched.size() == include.size()) {
        std::string list;
        for (std::size_t i = 0; i < unmatched.size(); ++i)
            list += (i == 0 ? "" : i + 1 == unmatched.size() ? " or " : ", ") + unmatched[i];
        diagnostics.warning(groupSpec.line, "no file in " + folder + " matches " + list +
                                                " (patterns are matched in case, with / between "
                                                "folders)" +
                                                nothing);
        return;
    }
    for (const std::string& pattern : unmatched)
        diagnostics.warning(groupSpec.line, "pattern " + pattern + " matches no file in " + folder);
    if (nothingTaken) {
        diagnostics.warning(
            groupSpec.line,
            "'exclude' leaves out every file the patterns take from " + folder + nothing);
    }
}

}  // namespace

std::vector<std::string> splitPath(std::string_view relative) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t slash; (slash = relative.find('/', start)) != std::string_view::npos;
         start = slash + 1)
        parts.emplace_back(relative.substr(start, slash - start));
    parts.emplace_back(relative.substr(start));
    return parts;
}

// Whether relative path a comes before b when each folder's files lie by kind: by folder (a
// folder's subfolders right after it, as in the order by path), then extension, then name.
bool beforeByKind(std::string_view a, std::string_view b) {
    const auto split = [](std::string_view relative) {
        const std::size_t slash = relative.rfind('/');
        const std::string_view folder =
            slash == std::string_view::npos ? std::string_view() : relative.substr(0, slash);
        const std::string_view name =
            slash == std::string_view::npos ? relative : relative.substr(slash + 1);
        const std::size_t dot = name.rfind('.');
        const std::string_view extension =
            dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
        return std::tuple(folder, extension, name);
    };
    const auto [folderA, extensionA, nameA] = split(a);
    const auto [folderB, extensionB, nameB] = split(b);
    // '/' before every character a name may hold: "a/b" between "a" and "a-b".
    const auto rank = [](char c) { return c == '/' ? 0 : static_cast<unsigned char>(c) + 1; };
    if (std::lexicographical_compare(folderA.begin(), folderA.end(), folderB.begin(), folderB.end(),
                                     [&](char x, char y) { return rank(x) < rank(y); }))
        return true;
    if (folderA != folderB) return false;
    return std::tie(extensionA, nameA) < std::tie(extensionB, nameB);
}

// The files of one group, sorted byte-wise by relative path (in blocks, each folder's files
// by kind).
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
    std::uint64_t filesSeen = 0, foldersSeen = 0;
    fs::recursive_directory_iterator it(groupSpec.sourceDir, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            if (it->is_directory(typeError)) ++foldersSeen;
            continue;
        }
        ++filesSeen;
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
    if (!error)
        warnOfNothingTaken(groupSpec, include, matches, filesSeen, foldersSeen, found.empty(),
                           diagnostics);

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
    // In blocks, files of a kind lie together: LZMA2 finds more repeats between two libraries
    // than between a library and a text. Each folder's files by extension, then name.
    if (groupSpec.compression == Compression::Lzma2) {
        std::sort(named.begin(), named.end(),
                  [](const auto& a, const auto& b) { return beforeByKind(a.first, b.first); });
    }
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

}  // namespace kelvara::build
