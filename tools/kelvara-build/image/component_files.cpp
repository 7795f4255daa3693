#include "kelvara-build/image/component_files.h"

#include <map>
#include <set>
#include <string>
#include <utility>

#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {
namespace {

// The file's path on the machine installed to, as the engine joins it: the target folder, a
// backslash, the relative path with backslashes.
std::string targetPath(const std::string& folder, const std::string& relative) {
    std::string path = folder;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    path += '\\';
    for (char c : relative) path += c == '/' ? '\\' : c;
    return path;
}

}  // namespace

std::vector<std::uint32_t> componentBytes(const std::vector<FileGroupSpec>& groups,
                                          const CollectedFiles& collected,
                                          const std::vector<Component>& components,
                                          Diagnostics& diagnostics) {
    std::vector<std::uint64_t> sums(components.size(), 0);
    // Each target file with the first group that installs it.
    std::map<std::string, std::size_t> installedBy;
    std::set<std::pair<std::size_t, std::size_t>> reported;
    for (const SourceFile& file : collected.files) {
        const FileGroupSpec& group = groups.at(file.group);
        // In every component the group names: whichever of them is selected, the space it
        // needs is counted (several selected count it more than once, on the safe side).
        for (std::size_t c = 0; c < sums.size() && c < 32; ++c) {
            if (group.conditionComponents & (std::uint32_t{1} << c)) sums[c] += file.size;
        }
        const std::string path = targetPath(group.targetFolder, file.relative);
        const auto [found, first] =
            installedBy.emplace(foldedName(path, group.encoding), file.group);
        if (first) continue;
        const FileGroupSpec& earlier = groups.at(found->second);
        // Selecting one set and not the other would install the file, or remove it, for parts
        // that do not own it.
        if (earlier.conditionComponents == group.conditionComponents ||
            !reported.emplace(found->second, file.group).second) {
            continue;
        }
        diagnostics.error(group.line, "'" + path +
                                          "' is installed by the [[files]] group at line " +
                                          std::to_string(earlier.line) +
                                          " too, for other components: a file belongs to one "
                                          "set of components");
    }
    std::vector<std::uint32_t> bytes;
    for (std::size_t i = 0; i < sums.size(); ++i) {
        if (sums[i] > 0xFFFFFFFFu) {
            diagnostics.warning(components[i].line,
                                "the files of component '" + components[i].id + "' need " +
                                    std::to_string(sums[i]) +
                                    " bytes; its record holds 4 GiB, the most it can");
            sums[i] = 0xFFFFFFFFu;
        }
        bytes.push_back(static_cast<std::uint32_t>(sums[i]));
    }
    return bytes;
}

}  // namespace kelvara::build
