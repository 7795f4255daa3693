#include "kelvara-build/image/component_files.h"

#include <map>
#include <set>
#include <string>
#include <utility>

#include "kelvara-build/common/text_conversion.h"

namespace kelvara::build {
namespace {

// The file's path on the machine installed to, as the engine joins it: the target folder, a
// backslash, the relative path with backslashes. Its folder tokens and variables stay as
// written; a slash is a backslash there, and a doubled separator one (but not the two that
// begin a network path).
std::string targetPath(const std::string& folder, const std::string& relative) {
    std::string path;
    for (char c : folder + '\\' + relative) {
        if (c == '/') c = '\\';
        if (c == '\\' && path.size() > 1 && path.back() == '\\') continue;
        path += c;
    }
    return path;
}

// Where two groups install the same file: the first such path and how many there are.
struct SharedTargets {
    std::string firstPath;
    std::size_t count = 0;
};

}  // namespace

std::vector<std::uint32_t> componentBytes(const std::vector<FileGroupSpec>& groups,
                                          const CollectedFiles& collected,
                                          const std::vector<Component>& components,
                                          Diagnostics& diagnostics) {
    std::vector<std::uint64_t> sums(components.size(), 0);
    // Each target file with the first group that installs it.
    std::map<std::string, std::size_t> installedBy;
    std::set<std::pair<std::size_t, std::size_t>> reported;
    // Pairs of groups (earlier, later) for the same components and tasks that share a file.
    std::map<std::pair<std::size_t, std::size_t>, SharedTargets> replaced;
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
        // Within a group only names that differ in case meet: the group's walk tells of those.
        if (found->second == file.group) continue;
        const FileGroupSpec& earlier = groups.at(found->second);
        if (earlier.conditionComponents == group.conditionComponents) {
            // The later copy replaces the earlier. Not told for groups of different tasks: a
            // task that installs its own variant of a file is a choice the project offers.
            if (earlier.conditionTasks == group.conditionTasks) {
                SharedTargets& shared = replaced[{found->second, file.group}];
                if (shared.count++ == 0) shared.firstPath = fromEngineText(path, group.encoding);
            }
            continue;
        }
        // Selecting one set and not the other would install the file, or remove it, for parts
        // that do not own it.
        if (!reported.emplace(found->second, file.group).second) continue;
        diagnostics.error(group.line, "'" + fromEngineText(path, group.encoding) +
                                          "' is installed by the [[files]] group at line " +
                                          std::to_string(earlier.line) +
                                          " too, for other components: a file belongs to one "
                                          "set of components");
    }
    for (const auto& [pair, shared] : replaced) {
        const std::size_t others = shared.count - 1;
        const std::string more = others == 0 ? ""
                                             : " (and " + std::to_string(others) +
                                                   (others == 1 ? " more file)" : " more files)");
        diagnostics.warning(groups.at(pair.second).line,
                            "'" + shared.firstPath + "'" + more +
                                " is installed by the [[files]] groups at lines " +
                                std::to_string(groups.at(pair.first).line) + " and " +
                                std::to_string(groups.at(pair.second).line) +
                                ": the later copy replaces the earlier (target folders and names "
                                "are compared ignoring case, as Windows does)");
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
