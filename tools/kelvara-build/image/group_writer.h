// The bytes of the file groups, in the layout of formats/package_format.h: a group header for
// each group (its end offset filled in when the group ends), folder entries as the files' paths
// enter folders, and file entries with their data, all given to a GroupOutput in order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/package_format.h"
#include "kelvara-build/image/file_groups.h"

namespace kelvara::build {

class GroupWriter {
  public:
    GroupWriter(GroupOutput& output, std::uint32_t firstEntryOffset)
        : output_(output), base_(firstEntryOffset) {}

    // Ends the open group, if any, and starts one: its header's room is reserved.
    void openGroup(const FileGroupSpec& groupSpec);

    // Folder entries for the folders of `dirs` not already on the stack; returns how many.
    std::uint64_t enterFolders(const std::vector<std::string>& dirs);

    // A file entry in the innermost folder entered, followed by its stored data.
    void addFile(const std::string& name, const FileEntryInfo& info, bool compressed,
                 const std::vector<unsigned char>& data, std::uint32_t adler);

    // Fills in the open group's header with its end offset.
    void closeGroup();

    // False once the package offsets no longer fit 32 bits.
    bool fits() const { return base_ + written_ <= 0xFFFFFFFFu; }

  private:
    std::uint32_t offset() const { return static_cast<std::uint32_t>(base_ + written_); }
    void put(const unsigned char* bytes, std::size_t size);

    GroupOutput& output_;
    std::uint64_t base_;
    std::uint64_t written_ = 0;               // bytes given to the output so far
    std::vector<unsigned char> groupHeader_;  // the open group's header, until its end is known
    std::size_t groupHandle_ = 0;
    std::vector<unsigned char> scratch_;
    std::vector<std::string> folders_;  // the folder stack below the target folder
    bool open_ = false;
};

}  // namespace kelvara::build
