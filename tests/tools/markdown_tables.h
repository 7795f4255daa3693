// Reading the tables of the project's Markdown documents, for the tests that keep them true.
#pragma once

#include <string>
#include <vector>

// The text without its leading and trailing blanks, tabs and carriage returns.
inline std::string trim(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return "";
    std::size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

// The cells of a table row, split at the bars that are not escaped ("\|").
inline std::vector<std::string> cellsOf(const std::string& row) {
    std::string inner = trim(row).substr(1);
    if (!inner.empty() && inner.back() == '|' &&
        (inner.size() < 2 || inner[inner.size() - 2] != '\\'))
        inner.pop_back();
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size() && inner[i + 1] == '|') {
            cell += '|';
            ++i;
        } else if (inner[i] == '|') {
            cells.push_back(trim(cell));
            cell.clear();
        } else {
            cell += inner[i];
        }
    }
    cells.push_back(trim(cell));
    return cells;
}
