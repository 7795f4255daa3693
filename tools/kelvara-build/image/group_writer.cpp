#include "kelvara-build/image/group_writer.h"

#include "formats/package_format.h"

namespace kelvara::build {

void GroupWriter::openGroup(const FileGroupSpec& groupSpec) {
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

std::uint64_t GroupWriter::enterFolders(const std::vector<std::string>& dirs) {
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

void GroupWriter::addFile(const std::string& name, const FileEntryInfo& info, bool compressed,
                          const std::vector<unsigned char>& data, std::uint32_t adler) {
    scratch_.assign(fileEntryHeaderSize(name.size()), 0);
    writeFileEntryHeader(scratch_.data(), name.c_str(), static_cast<std::uint32_t>(folders_.size()),
                         compressed, info);
    put(scratch_.data(), scratch_.size());
    if (!data.empty()) {
        output_.append(data.data(), data.size(), adler);
        written_ += data.size();
    }
}

void GroupWriter::closeGroup() {
    if (!open_) return;
    patchGroupEndOffset(groupHeader_.data(), offset());
    output_.fill(groupHandle_, groupHeader_.data(), groupHeader_.size());
    open_ = false;
}

void GroupWriter::put(const unsigned char* bytes, std::size_t size) {
    output_.append(bytes, size);
    written_ += size;
}

}  // namespace kelvara::build
