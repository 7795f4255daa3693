// What the UI driver was asked to do: its options and the program's command line.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace ui_driver {

struct Options {
    DWORD timeoutMs = 60000;
    std::vector<std::string> presses;
    bool follow = false;
    bool interactive = false;
    bool verbatim = false;    // the arguments go into the command line as written
    bool asWritten = false;   // and the program's path too
    bool restricted = false;  // the program runs without the Administrators group
    std::string commandLine;
};

}  // namespace ui_driver
