#include "formats/command_line.h"

namespace kelvara {

int splitCommandLine(char* line, char** args, int capacity) {
    int count = 0;
    char* p = line;
    while (p && *p) {
        while (*p == ' ') ++p;
        char delimiter = ' ';
        if (*p == '"') {
            delimiter = '"';
            ++p;
        }
        char* start = p;
        while (*p && *p != delimiter) ++p;
        if (count < capacity) args[count] = start;
        ++count;
        if (*p) *p++ = '\0';
    }
    return count < capacity ? count : capacity;
}

bool isSilentRequest(char* const* args, int count) {
    return count > 1 && args[1][0] == 'S';
}

}  // namespace kelvara
