// The builder's messages as one text, for a failure message that shows all of them.
#pragma once

#include <string>
#include <vector>

// Each line followed by a line break.
inline std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}
