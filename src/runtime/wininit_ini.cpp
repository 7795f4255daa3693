#include "runtime/wininit_ini.h"

#include <cstring>

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

constexpr char kSection[] = "[Rename]";
constexpr std::size_t kSectionLength = sizeof kSection - 1;
constexpr char kLineBreak[] = "\r\n";

// Offset of the first "[Rename]" in text, ignoring case, or `length` when there is none.
std::size_t findSection(const char* text, std::size_t length) {
    for (std::size_t at = 0; at + kSectionLength <= length; ++at) {
        std::size_t i = 0;
        while (i < kSectionLength && charUpper(text[at + i]) == charUpper(kSection[i])) ++i;
        if (i == kSectionLength) return at;
    }
    return length;
}

// Appends n bytes at *at.
void put(char* out, std::size_t* at, const char* bytes, std::size_t n) {
    if (!n) return;
    std::memcpy(out + *at, bytes, n);
    *at += n;
}

}  // namespace

bool isLongFileName(const char* path) {
    const char* name = fileNamePart(path ? path : "");
    const char* dot = std::strchr(name, '.');
    if (!dot) return std::strlen(name) > 8;
    if (std::strchr(dot + 1, '.')) return true;
    return static_cast<std::size_t>(dot - name) > 8 || std::strlen(dot + 1) > 3;
}

char* addWininitRename(const char* oldText, std::size_t oldLength, const char* target,
                       const char* source, std::size_t* newLength) {
    if (newLength) *newLength = 0;
    if (!oldText) oldLength = 0;
    HeapString line(strConcat5(kLineBreak, target ? target : "NUL", "=", source));
    if (!line) return nullptr;
    std::size_t lineLength = std::strlen(line.get());
    // Room for the worst case: old text, CR LF, section header and the line.
    auto* out = static_cast<char*>(heapAlloc(oldLength + 2 + kSectionLength + lineLength + 1));
    if (!out) return nullptr;
    std::size_t at = 0;
    std::size_t section = findSection(oldText, oldLength);
    if (section < oldLength) {
        std::size_t insert = oldLength;
        for (std::size_t i = section + kSectionLength; i < oldLength; ++i) {
            if (oldText[i] == '[') {
                insert = i;
                break;
            }
        }
        while (insert >= section + kSectionLength + 2 && oldText[insert - 2] == '\r' &&
               oldText[insert - 1] == '\n') {
            insert -= 2;
        }
        put(out, &at, oldText, insert);
        put(out, &at, line.get(), lineLength);
        put(out, &at, oldText + insert, oldLength - insert);
    } else {
        put(out, &at, oldText, oldLength);
        bool holdsSection = oldLength && std::memchr(oldText, '[', oldLength);
        bool openLine = oldLength && oldText[oldLength - 1] != '\n';
        if (holdsSection || openLine) put(out, &at, kLineBreak, 2);
        put(out, &at, kSection, kSectionLength);
        put(out, &at, line.get(), lineLength);
    }
    out[at] = '\0';
    if (newLength) *newLength = at;
    return out;
}

char* runOnceMoveCommand(const char* source, const char* target) {
    HeapString head(strConcat5("command.com /c move \"", source, "\" \""));
    if (!head) return nullptr;
    return strConcat5(head.get(), target, "\"");
}

}  // namespace kelvara
