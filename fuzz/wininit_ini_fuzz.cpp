// The wininit.ini editor. The first byte picks the mode:
// - even: any old text (NUL bytes included) and any two paths. The new text must be the old one
//   with exactly the rename line (and, without a [Rename] section, the section header) put in at
//   the one place the rule names, nothing else changed.
// - odd: a well-formed file (CR LF lines, sections, entries, blank lines) built from the bytes
//   and short paths. Read line by line afterwards, it must hold every old entry in its old
//   section and the new entry as the last entry of the first [Rename] section.
// Both modes also check the long-name test and the RunOnce command.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <strings.h>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "runtime/heap_string.h"
#include "runtime/wininit_ini.h"

using namespace kelvara;

namespace {

const std::string kSection = "[Rename]";

std::string edit(const std::string& old, bool missingFile, const std::string* target,
                 const std::string& source) {
    std::size_t length = 12345;
    HeapString text(addWininitRename(missingFile ? nullptr : old.data(), old.size(),
                                     target ? target->c_str() : nullptr, source.c_str(), &length));
    FUZZ_CHECK(text);
    FUZZ_CHECK(text.get()[length] == '\0');
    return std::string(text.get(), length);
}

// Where the rename line goes, by the rule: after the first "[Rename]" (any case), before the
// next "[" or at the end, stepped back over the CR LF pairs that end right there.
std::size_t insertionPoint(const std::string& old, std::size_t section) {
    std::size_t at = old.find('[', section + kSection.size());
    if (at == std::string::npos) at = old.size();
    while (at >= section + kSection.size() + 2 && old.compare(at - 2, 2, "\r\n") == 0) at -= 2;
    return at;
}

std::size_t findSection(const std::string& old) {
    for (std::size_t at = 0; at + kSection.size() <= old.size(); ++at) {
        if (strncasecmp(old.c_str() + at, kSection.c_str(), kSection.size()) == 0 &&
            std::memchr(old.data() + at, 0, kSection.size()) == nullptr) {
            return at;
        }
    }
    return std::string::npos;
}

void checkSplice(const std::string& old, bool missingFile, const std::string* target,
                 const std::string& source) {
    const std::string text = missingFile ? "" : old;
    const std::string result = edit(old, missingFile, target, source);
    const std::string line = "\r\n" + (target ? *target : "NUL") + "=" + source;
    std::string expected;
    std::size_t section = findSection(text);
    if (section != std::string::npos) {
        std::size_t at = insertionPoint(text, section);
        expected = text.substr(0, at) + line + text.substr(at);
    } else {
        bool holdsSection = text.find('[') != std::string::npos;
        bool openLine = !text.empty() && text.back() != '\n';
        expected = text + (holdsSection || openLine ? "\r\n" : "") + kSection + line;
    }
    FUZZ_CHECK(result == expected);
}

// A line-by-line reading of an INI text: (section, line) of every line that is not blank.
std::vector<std::pair<std::string, std::string>> readLines(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> lines;
    std::string section;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 2;
        if (line.empty()) continue;
        if (line[0] == '[') {
            std::size_t close = line.find(']');
            section = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            for (char& c : section)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            continue;
        }
        lines.emplace_back(section, line);
    }
    return lines;
}

// Characters a short (8.3) path may hold, and a few that only a long one may.
std::string shortPath(FuzzedDataProvider& in) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\\:._~!#$%&'()-@^`{}";
    std::string path;
    const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, 24);
    for (std::size_t i = 0; i < length; ++i) {
        path += kChars[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kChars - 2)];
    }
    return path;
}

void checkWellFormed(FuzzedDataProvider& in) {
    static const char* const kSections[] = {"Rename",  "rename",  "RENAME", "boot",
                                            "Renamed", "Rename2", "386Enh"};
    std::string old;
    const int lines = in.ConsumeIntegralInRange(0, 24);
    for (int i = 0; i < lines; ++i) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
            case 0:
                old += "[" + std::string(kSections[in.ConsumeIntegralInRange(0, 6)]) + "]";
                break;
            case 1:
                break;  // a blank line
            default:
                old += shortPath(in) + "=" + shortPath(in);
                if (old.back() == '=' && in.ConsumeBool()) old += "value with blanks";
                break;
        }
        if (i + 1 < lines || in.ConsumeBool()) old += "\r\n";
    }
    // A file whose last line is open but holds a section is read as the rule says; an entry
    // that begins a line right after the last header stays under it.
    const bool deletion = in.ConsumeBool();
    const std::string target = shortPath(in);
    std::string source = shortPath(in);
    if (source.empty()) source = "X";
    const bool missing = old.empty() && in.ConsumeBool();
    checkSplice(old, missing, deletion ? nullptr : &target, source);

    const std::string result = edit(old, missing, deletion ? nullptr : &target, source);
    auto before = readLines(old);
    auto after = readLines(result);
    const std::pair<std::string, std::string> entry = {"RENAME",
                                                       (deletion ? "NUL" : target) + "=" + source};
    // The new entry follows the last entry of the first [Rename] section, or ends the file.
    std::size_t at = before.size();
    std::size_t first = std::string::npos;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i].first == "RENAME" && first == std::string::npos) first = i;
    }
    // The first section named Rename in the text, entries or not.
    std::size_t header = findSection(old);
    if (header != std::string::npos) {
        // Entries of the first [Rename] section: those read under it before the next header.
        std::size_t next = old.find('[', header + kSection.size());
        std::string head = old.substr(0, next == std::string::npos ? old.size() : next);
        at = readLines(head).size();
    }
    (void)first;
    before.insert(before.begin() + static_cast<std::ptrdiff_t>(at), entry);
    FUZZ_CHECK(after == before);
}

bool referenceLongName(const std::string& path) {
    std::size_t slash = path.rfind('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.find('.');
    if (dot == std::string::npos) return name.size() > 8;
    if (name.find('.', dot + 1) != std::string::npos) return true;
    return dot > 8 || name.size() - dot - 1 > 3;
}

void checkLongNameAndRunOnce(const std::string& a, const std::string& b) {
    FUZZ_CHECK(isLongFileName(a.c_str()) == referenceLongName(a));
    HeapString command(runOnceMoveCommand(a.c_str(), b.c_str()));
    FUZZ_CHECK(command && "command.com /c move \"" + a + "\" \"" + b + "\"" == command.get());
}

std::string plainText(FuzzedDataProvider& in, std::size_t most) {
    std::string raw = in.ConsumeRandomLengthString(most);
    return std::string(raw.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return -1;
    FuzzedDataProvider in(data + 1, size - 1);
    if (data[0] & 1) {
        checkWellFormed(in);
        return 0;
    }
    const bool deletion = in.ConsumeBool();
    const std::string target = plainText(in, 40);
    const std::string source = plainText(in, 40);
    const std::string old = in.ConsumeRemainingBytesAsString();
    checkSplice(old, false, deletion ? nullptr : &target, source);
    if (old.empty()) checkSplice(old, true, deletion ? nullptr : &target, source);
    checkLongNameAndRunOnce(target, source);
    return 0;
}
