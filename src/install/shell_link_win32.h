// Writing a shell shortcut (.lnk) through the system's link object.
#pragma once
#include <cstdint>

namespace kelvara {

// Room of the link path in UTF-16, terminator included; a longer path cannot be saved.
constexpr int kLinkPathWideLimit = 1024;

// What one shortcut holds. Texts are 8-bit ANSI; none may be null.
struct ShellLinkFields {
    const char* linkPath = "";
    const char* target = "";
    const char* arguments = "";
    const char* workingFolder = "";
    const char* iconFile = "";  // empty: no icon location is set
    int iconIndex = 0;
    int showCommand = 0;       // 0: the link keeps its own default
    std::uint16_t hotKey = 0;  // 0: no hot key
};

// Creates the link file at fields.linkPath (replacing a file of that name), on a thread that
// has initialised COM. True when the file was saved. False when the link object cannot be
// created, the path does not fit kLinkPathWideLimit, or saving fails (its folder is missing,
// the name is invalid, the path is a folder, the disk refuses); nothing is reported here.
bool createShellLink(const ShellLinkFields& fields);

}  // namespace kelvara
