// The install log, from both ends. The first byte picks the mode:
// - even: the rest is a log file as the uninstaller finds it. Its header and entry lines are
//   read, every line is parsed and handed to the uninstaller's rules on text (protected folders,
//   root names, the previous value's data, the shared-file question, the logged actions), and
//   the folders left over are reduced to the outermost ones, as the removal dialog shows them.
// - odd: the rest drives an installation's log: lines of every kind are added, and the log's
//   text must read back, line for line and field for field, as what was added.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "formats/deployment_options.h"
#include "formats/install_log.h"
#include "formats/journal.h"
#include "fuzz_support.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/registry_roots.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"
#include "uninstall/protected_folders.h"
#include "uninstall/uninstall_rules.h"
#include "wizard/leftover_folders.h"
#include "worker/action_records.h"

using namespace kelvara;

namespace {

const char* const kSystemFolders[] = {"C:\\WINDOWS",
                                      "C:\\WINDOWS\\system32",
                                      "C:\\Program Files",
                                      "C:\\Users\\Smith, John\\",
                                      "\\\\server\\share\\Profiles",
                                      ""};

void fillSystemFolders(StringList& list) {
    list.create(8);
    for (const char* folder : kSystemFolders) list.append(folder);
    list.append(nullptr);  // a token the machine does not have
}

std::string field(const LogEntry& entry, int i) {
    const char* text = entry.fields.get(i);
    FUZZ_CHECK(text);
    return text;
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// The folder as the protection rule compares it: upper case, one kind of separator, no
// trailing separators.
std::string comparable(const std::string& path) {
    std::string out;
    for (char c : path)
        out +=
            isSeparator(c) ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

bool hasDotPart(const std::string& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || isSeparator(path[i])) {
            std::string part = path.substr(start, i - start);
            if (part == "." || part == "..") return true;
            start = i + 1;
        }
    }
    return false;
}

bool protectedFolder(const std::string& folder, const StringList& system) {
    return isProtectedFolder(folder.c_str(), system);
}

// What the rule promises: case and trailing separators do not matter; a folder it lets go is a
// full path without "." or ".." parts that holds no system folder; system folders and every
// folder above them are kept.
void checkProtection(const std::string& folder, const StringList& system) {
    const bool kept = protectedFolder(folder, system);
    FUZZ_CHECK(protectedFolder(folder + "\\", system) == kept);
    FUZZ_CHECK(protectedFolder(folder + "\\/", system) == kept);
    std::string upper = folder;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    FUZZ_CHECK(protectedFolder(upper, system) == kept);
    if (kept) return;
    const std::string mine = comparable(folder);
    const bool drive = mine.size() >= 3 && std::isalpha(static_cast<unsigned char>(mine[0])) &&
                       mine[1] == ':' && mine[2] == '\\';
    const bool network = mine.size() >= 2 && mine[0] == '\\' && mine[1] == '\\';
    FUZZ_CHECK(drive || network);
    FUZZ_CHECK(!hasDotPart(folder));
    for (int i = 0; i < system.count(); ++i) {
        if (!system.get(i)) continue;
        const std::string theirs = comparable(system.get(i));
        if (theirs.empty()) continue;
        FUZZ_CHECK(theirs != mine && theirs.rfind(mine + "\\", 0) != 0);
    }
}

void checkSystemFoldersKept(const StringList& system) {
    for (const char* folder : kSystemFolders) {
        std::string path = folder;
        while (!comparable(path).empty()) {
            FUZZ_CHECK(protectedFolder(path, system));
            std::size_t cut = comparable(path).find_last_of('\\');
            if (cut == std::string::npos) break;
            path.resize(cut);
        }
    }
}

std::size_t folderLength(const std::string& f) {
    std::size_t n = f.size();
    while (n && f[n - 1] == '\\') --n;
    return n;
}

bool sameFolder(const std::string& a, const std::string& b) {
    std::size_t n = folderLength(a);
    return n == folderLength(b) && strncasecmp(a.c_str(), b.c_str(), n) == 0;
}

// The removal dialog's folders: taken from the list, none inside another or twice, sorted, and
// every folder of the list reachable through one of them.
void checkOutermost(const std::vector<std::string>& folders) {
    StringList list;
    list.create(8);
    for (const std::string& f : folders) list.append(f.c_str());
    keepOutermostFolders(list);
    std::vector<std::string> kept;
    for (int i = 0; i < list.count(); ++i) {
        FUZZ_CHECK(list.get(i));
        kept.emplace_back(list.get(i));
        FUZZ_CHECK(std::find(folders.begin(), folders.end(), kept.back()) != folders.end());
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i + 1 < kept.size()) FUZZ_CHECK(strcasecmp(kept[i].c_str(), kept[i + 1].c_str()) <= 0);
        for (std::size_t j = 0; j < kept.size(); ++j) {
            if (i == j) continue;
            FUZZ_CHECK(!isInsideFolder(kept[i].c_str(), kept[j].c_str()));
            FUZZ_CHECK(!sameFolder(kept[i], kept[j]));
        }
    }
    for (const std::string& f : folders) {
        FUZZ_CHECK(std::any_of(kept.begin(), kept.end(), [&](const std::string& k) {
            return sameFolder(f, k) || isInsideFolder(f.c_str(), k.c_str());
        }));
    }
}

std::string referenceUnescape(const std::string& text) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 &&
            hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out.c_str();  // "%00" ends the field, as it ends a terminated text
}

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ',') {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return pieces;
}

// A parsed line holds what its kind's rule takes from the line's text.
void checkParsedLine(const std::string& line, const LogEntry& entry) {
    FUZZ_CHECK(entry.fields.count() == kFieldCount);
    std::string text = line.c_str();  // an embedded NUL ends the line
    // "p,", a part's ids and a line that is not a part's: read as that line. As for every kind,
    // the reader takes what follows the kind from the third character on.
    if (text.size() > 2 && text[0] == kLogPart) {
        const std::size_t comma = text.find(',', 2);
        if (comma != std::string::npos && comma + 1 < text.size() && text[comma + 1] != kLogPart)
            text = text.substr(comma + 1);
    }
    // "v,64," or "v,32," and a line of another kind (not a part's): read as that line, with its
    // view.
    const bool viewed = text.size() > 5 && text[0] == kLogView && text[5] != kLogView &&
                        text[5] != kLogPart &&
                        (text.compare(2, 3, "64,") == 0 || text.compare(2, 3, "32,") == 0);
    FUZZ_CHECK(entry.view == (viewed ? (text[2] == '6' ? 64 : 32) : 0));
    if (viewed) text = text.substr(5);
    FUZZ_CHECK(entry.kind == (text.empty() ? 0 : text[0]));
    const std::string rest = text.size() >= 2 ? text.substr(2) : "";
    std::vector<std::string> pieces = splitAtCommas(rest);
    switch (entry.kind) {
        case kLogFolder:
        case kLogFile:
        case kLogSharedFile:
        case kLogShortcut:
            FUZZ_CHECK(field(entry, 0) == rest && field(entry, 1).empty());
            break;
        case kLogRegistryValue:
            if (pieces.size() >= 3) {
                FUZZ_CHECK(field(entry, 0) + "," + field(entry, 1) + "," + field(entry, 2) == rest);
                FUZZ_CHECK(field(entry, 2) == pieces.back() && field(entry, 0) == pieces[0]);
            } else {
                FUZZ_CHECK(field(entry, 0) == pieces[0]);
                FUZZ_CHECK(field(entry, 1) == (pieces.size() == 2 ? pieces[1] : ""));
            }
            break;
        case kLogRegistryKey: {
            FUZZ_CHECK(field(entry, 0) == pieces[0]);
            const std::string flag = field(entry, 2);
            FUZZ_CHECK(flag.empty() || flag == "0" || flag == "1");
            std::string joined = field(entry, 0);
            if (pieces.size() >= 2) joined += "," + field(entry, 1);
            if (!flag.empty()) joined += "," + flag;
            FUZZ_CHECK(joined == rest);
            break;
        }
        case kLogPreviousValue:
        case kLogPreviousIniEntry:
        case kLogReplacedFile:
        case kLogExistingShared:
        case kLogRunInfo:
        case kLogRemovalFolder:
        case kLogText:
            for (int i = 0; i < kFieldCount; ++i) {
                std::string piece = i < static_cast<int>(pieces.size()) ? pieces[i] : "";
                FUZZ_CHECK(field(entry, i) == referenceUnescape(piece));
            }
            break;
        default:
            for (int i = 0; i < kFieldCount; ++i) {
                FUZZ_CHECK(field(entry, i) ==
                           (i < static_cast<int>(pieces.size()) ? pieces[i] : ""));
            }
            break;
    }
}

// The uninstall thread's steps on text for one parsed line.
void undoOnText(const LogEntry& entry, const StringList& system, std::vector<std::string>& left) {
    const std::string path = field(entry, 0);
    switch (entry.kind) {
        case kLogFolder:
            checkProtection(path, system);
            if (!path.empty() && !protectedFolder(path, system)) left.push_back(path);
            break;
        case kLogRegistryValue:
        case kLogRegistryKey: {
            const char* name = rootKeyName(parseNumber(path.c_str()) & 0x7FFFFFFF);
            FUZZ_CHECK(name && std::strlen(name) <= 4);
            break;
        }
        case kLogPreviousValue: {
            const std::string hex = field(entry, 2);
            std::vector<unsigned char> bytes(hex.size() / 2 + 1);
            long size = hexToBytes(hex.c_str(), bytes.data(), hex.size() / 2);
            if (size < 0) break;
            FUZZ_CHECK(static_cast<std::size_t>(size) * 2 == hex.size());
            HeapString again(registryDataHex(bytes.data(), static_cast<std::size_t>(size)));
            FUZZ_CHECK(again && strcasecmp(again.get(), hex.c_str()) == 0);
            break;
        }
        case kLogSharedFile: {
            HeapString question(sharedFileQuestion(path.c_str()));
            FUZZ_CHECK(question && std::strstr(question.get(), fileNamePart(path.c_str())));
            break;
        }
        case kLogUninstallProgram: {
            ProgramRecord program = readLoggedProgram(entry.fields);
            FUZZ_CHECK(!program.runOnce && program.window == WindowMode::normal);
            break;
        }
        case kLogUninstallDllCall: {
            DllCallRecord call = readLoggedDllCall(entry.fields);
            FUZZ_CHECK(!call.runOnce && call.argumentCount >= 0 && call.argumentCount <= 2);
            break;
        }
        default:
            break;
    }
}

void checkLogChoice(const std::string& commandLine) {
    bool second = true;
    HeapString chosen(
        chooseUninstallLog(commandLine.c_str(), "C:\\App", "C:\\App\\remove.exe", &second));
    FUZZ_CHECK(chosen);
    const std::string path = chosen.get();
    if (!second) {
        FUZZ_CHECK(path == "C:\\App\\remove.log");
        return;
    }
    FUZZ_CHECK(path.size() >= 5 && strcasecmp(path.c_str() + path.size() - 4, ".log") == 0);
    // Options may stand anywhere and are taken out first (/LOG=run.log names no install log), so
    // the path is a piece of the line as it reads without them: one standing inside the path
    // ("a /x b.log") joins what was around it.
    HeapString withoutOptions(strDupExtra(commandLine.c_str(), 0));
    FUZZ_CHECK(withoutOptions);
    removeDeploymentOptions(withoutOptions.get());
    FUZZ_CHECK(std::string(withoutOptions.get()).find(path) != std::string::npos);
    FUZZ_CHECK(path.front() != ' ' && path.front() != '\t' && path.back() != ' ');
}

// Field by field: the record has padding after its last flag, which a byte compare would read.
bool sameSettings(const LogSettings& a, const LogSettings& b) {
    return a.dialogSetOffset == b.dialogSetOffset && a.accentColor == b.accentColor &&
           a.headerColor == b.headerColor && a.pageColor == b.pageColor &&
           a.frameColor == b.frameColor && a.titleColor == b.titleColor &&
           a.textColor == b.textColor && a.forUser == b.forUser &&
           std::strcmp(a.titleFontFace, b.titleFontFace) == 0 &&
           std::strcmp(a.normalFontFace, b.normalFontFace) == 0;
}

void readLogFile(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    StringList system;
    fillSystemFolders(system);
    static const bool systemFoldersChecked = (checkSystemFoldersKept(system), true);
    (void)systemFoldersChecked;

    LogHeader header;
    std::string entries;
    if (readLogHeader(bytes, size, header)) {
        FUZZ_CHECK(header.entryOffset <= size && header.productName && header.productShortName);
        FUZZ_CHECK(std::memchr(header.settings.titleFontFace, 0, kLogFontFaceSize) &&
                   std::memchr(header.settings.normalFontFace, 0, kLogFontFaceSize));
        FUZZ_CHECK(header.settings.dialogSetOffset == 0 || header.settings.dialogSetOffset == 20);
        // Settings read back are a fixed point of writing and reading.
        char line[2 * kLogFontFaceSize + 128];
        std::size_t length = formatSettingsLine(line, sizeof line, header.settings);
        FUZZ_CHECK(length == std::strlen(line));
        LogSettings again;
        parseSettingsLine(line, again);
        FUZZ_CHECK(sameSettings(again, header.settings));
        entries.assign(bytes + header.entryOffset, size - header.entryOffset);
    } else {
        entries.assign(bytes, size);
    }
    entries = entries.c_str();  // the uninstaller holds the log as terminated text

    LogLinesBackward lines(entries.data(), entries.size());
    FUZZ_CHECK(lines.count() == std::count(entries.begin(), entries.end(), '\n'));
    std::vector<std::string> seen;
    const char* line = nullptr;
    std::size_t length = 0;
    LogEntry entry;
    std::vector<std::string> leftovers;
    while (lines.next(&line, &length)) {
        FUZZ_CHECK(line >= entries.data() && line + length < entries.data() + entries.size());
        FUZZ_CHECK(line[length] == '\n' && !std::memchr(line, '\n', length));
        seen.emplace_back(line, length);
        bool parsed = parseLogLine(line, length, entry);
        FUZZ_CHECK(parsed == (length != 0));
        checkParsedLine(seen.back(), entry);
        undoOnText(entry, system, leftovers);
    }
    FUZZ_CHECK(static_cast<int>(seen.size()) == lines.count());
    std::string forward;
    for (auto it = seen.rbegin(); it != seen.rend(); ++it) forward += *it + "\n";
    FUZZ_CHECK(forward == entries.substr(0, forward.size()) &&
               entries.find('\n', forward.size()) == std::string::npos);

    checkOutermost(leftovers);
    checkLogChoice(seen.empty() ? entries : seen.back());
    if (seen.size() >= 2) {
        const char* folder = seen.size() >= 3 ? seen[2].c_str() : nullptr;
        HeapString script(selfRemovalScriptText(seen[0].c_str(), seen[1].c_str(), folder));
        FUZZ_CHECK(script && std::strstr(script.get(), ("del \"" + seen[1] + "\"").c_str()));
        if (folder) {
            const std::string removal = " & rmdir \"" + seen[2] + "\" 2>nul";
            FUZZ_CHECK(std::strstr(script.get(), removal.c_str()));
        }
    }
}

// --- writing a log and reading it back ---

// A text that never holds NUL; line breaks only where `lineBreaks` allows them.
std::string text(FuzzedDataProvider& in, std::size_t most, bool lineBreaks = true) {
    std::string raw = in.ConsumeRandomLengthString(most);
    std::string out;
    for (char c : raw) {
        if (c == '\0' || (!lineBreaks && c == '\n')) continue;
        out += c;
    }
    return out;
}

struct ExpectedLine {
    std::string line;                 // with its LF
    std::vector<std::string> fields;  // the parsed fields 0.. (the rest empty)
    std::vector<unsigned char> data;  // an 'r' line's value data
    bool rollback = false;
    bool fieldsKnown = true;  // false for a line of any kind text, whose rule the text picks
};

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '%' || c == ',' || c == '\r' || c == '\n') {
            const char* digits = "0123456789ABCDEF";
            out += '%';
            out += digits[(static_cast<unsigned char>(c) >> 4) & 0xF];
            out += digits[static_cast<unsigned char>(c) & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string joined(const std::vector<std::string>& pieces, bool escape) {
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        out += (i ? "," : "") + (escape ? escaped(pieces[i]) : pieces[i]);
    }
    return out;
}

class CapturingSink : public LogSink {
  public:
    void write(const char* text, std::size_t length) override { bytes.append(text, length); }
    std::string bytes;
};

// The model of the log: the lines added so far, and what add() must answer for another one.
class LogModel {
  public:
    explicit LogModel(const StringList& system) : system_(system) {}

    void header(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            lines_.push_back({line, {}, {}, true});
            sink += line;
        }
    }

    // Checks add()'s answer for `kind,text` (text null: "kind" alone) and keeps what was added.
    void expect(LogAddResult result, const std::string& kind, const std::string* text,
                unsigned flags, bool refused, ExpectedLine added) {
        const std::string line = kind + (text ? "," + *text : "") + "\n";
        if (refused || kind.find('\n') != std::string::npos ||
            (text && text->find('\n') != std::string::npos)) {
            FUZZ_CHECK(result == LogAddResult::refused);
            return;
        }
        if (flags & kLogRollbackOnly) {
            FUZZ_CHECK(result == LogAddResult::added);
            sink += line;
            return;
        }
        bool excluded = false;
        for (int i = 0; text && (flags & kLogExcludeSystemFolder) && i < system_.count(); ++i) {
            if (system_.get(i) && strcasecmp(system_.get(i), text->c_str()) == 0) excluded = true;
        }
        if (excluded) {
            FUZZ_CHECK(result == LogAddResult::excluded);
            return;
        }
        const bool duplicate = std::any_of(
            lines_.begin(), lines_.end(),
            [&](const ExpectedLine& e) { return strcasecmp(e.line.c_str(), line.c_str()) == 0; });
        FUZZ_CHECK(result == (duplicate ? LogAddResult::duplicate : LogAddResult::added));
        if (duplicate) return;
        added.line = line;
        added.rollback = (flags & kLogToRollback) != 0;
        if (added.rollback) sink += line;
        lines_.push_back(std::move(added));
    }

    const std::vector<ExpectedLine>& lines() const { return lines_; }
    std::string sink;

  private:
    const StringList& system_;
    std::vector<ExpectedLine> lines_;
};

unsigned flagsFrom(FuzzedDataProvider& in) {
    return in.ConsumeIntegralInRange<unsigned>(0, 7);
}

void addOne(FuzzedDataProvider& in, InstallLog& log, LogModel& model) {
    const unsigned flags = flagsFrom(in);
    switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0: {
            const char kinds[] = {kLogFolder, kLogFile, kLogSharedFile, kLogShortcut, 'z'};
            const char kind = kinds[in.ConsumeIntegralInRange(0, 4)];
            const std::string path = text(in, 60);
            const bool pathKind = kind != 'z';
            model.expect(log.addPath(kind, path.c_str(), flags), std::string(1, kind), &path, flags,
                         !pathKind, {"", {path}, {}, false});
            break;
        }
        case 1: {
            const std::string root = text(in, 4), key = text(in, 40), name = text(in, 20);
            const std::string line = root + "," + key + "," + name;
            const bool refused =
                root.find(',') != std::string::npos || name.find(',') != std::string::npos;
            model.expect(log.addRegistryValue(root.c_str(), key.c_str(), name.c_str(), flags), "c",
                         &line, flags, refused, {"", {root, key, name}, {}, false});
            break;
        }
        case 2: {
            const unsigned root = in.ConsumeIntegral<unsigned>();
            const std::string key = text(in, 40);
            const bool below = in.ConsumeBool();
            const std::string flag = below ? "1" : key.find(',') != std::string::npos ? "0" : "";
            const std::string number = std::to_string(root);
            const std::string line = number + "," + key + (flag.empty() ? "" : "," + flag);
            model.expect(log.addRegistryKey(root, key.c_str(), below, flags), "e", &line, flags,
                         false, {"", {number, key, flag}, {}, false});
            break;
        }
        case 3: {
            const unsigned root = in.ConsumeIntegral<unsigned>();
            const std::uint32_t type = in.ConsumeIntegral<std::uint32_t>();
            std::vector<unsigned char> value =
                in.ConsumeBytes<unsigned char>(in.ConsumeIntegralInRange(0, 24));
            const std::string key = text(in, 40), name = text(in, 20);
            HeapString hex(registryDataHex(value.data(), value.size()));
            FUZZ_CHECK(hex && std::strlen(hex.get()) == 2 * value.size());
            std::vector<std::string> fields = {std::to_string(root), std::to_string(type),
                                               hex.get(), key, name};
            const std::string line = joined(fields, true);
            model.expect(log.addPreviousValue(root, key.c_str(), name.c_str(), type, value.data(),
                                              value.size(), flags),
                         "r", &line, flags, false, {"", fields, value, false});
            break;
        }
        case 4: {
            const std::string file = text(in, 30), section = text(in, 20), key = text(in, 20);
            const bool had = in.ConsumeBool();
            const std::string previous = text(in, 30);
            std::vector<std::string> fields = {had ? "1" : "0", file, section, key,
                                               had ? previous : ""};
            const std::string line = joined(fields, true);
            model.expect(log.addPreviousIniEntry(file.c_str(), section.c_str(), key.c_str(),
                                                 had ? previous.c_str() : nullptr, flags),
                         "j", &line, flags, false, {"", fields, {}, false});
            break;
        }
        case 5: {
            const char kinds[] = {kLogReplacedFile, kLogExistingShared, kLogPreviousValue,
                                  kLogPreviousIniEntry, kLogFile};
            const char kind = kinds[in.ConsumeIntegralInRange(0, 4)];
            const std::string first = text(in, 40);
            const bool two = in.ConsumeBool();
            const std::string second = text(in, 40);
            std::vector<std::string> fields = {first};
            if (two) fields.push_back(second);
            const std::string line = joined(fields, true);
            model.expect(log.addEscaped(kind, first.c_str(), two ? second.c_str() : nullptr, flags),
                         std::string(1, kind), &line, flags, kind == kLogFile,
                         {"", fields, {}, false});
            break;
        }
        default: {
            // Any kind text, as the action lists log their records ('d', 'f').
            const std::string kind = text(in, 3);
            const bool withText = in.ConsumeBool();
            const std::string body = text(in, 60);
            model.expect(log.add(kind.c_str(), withText ? body.c_str() : nullptr, flags), kind,
                         withText ? &body : nullptr, flags, false, {"", {}, {}, false, false});
            break;
        }
    }
}

std::string face(FuzzedDataProvider& in) {
    std::string out;
    for (char c : text(in, 40, false)) {
        if (c != ',' && out.size() < kLogFontFaceSize - 1) out += c;
    }
    return out;
}

// The fields an added line of a typed kind must read back as.
void checkReadBack(const ExpectedLine& expected, const LogEntry& entry) {
    for (int i = 0; i < kFieldCount; ++i) {
        const std::string want =
            i < static_cast<int>(expected.fields.size()) ? expected.fields[i] : "";
        FUZZ_CHECK(field(entry, i) == want);
    }
    if (entry.kind == kLogPreviousValue) {
        const std::string hex = field(entry, 2);
        std::vector<unsigned char> bytes(hex.size() / 2 + 1);
        long size = hexToBytes(hex.c_str(), bytes.data(), hex.size() / 2);
        FUZZ_CHECK(size == static_cast<long>(expected.data.size()) &&
                   std::equal(expected.data.begin(), expected.data.end(), bytes.begin()));
    }
}

void writeAndReadBack(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    StringList system;
    fillSystemFolders(system);
    const std::string name = text(in, 30, false), shortName = text(in, 20, false);
    LogSettings settings;
    settings.dialogSetOffset = in.ConsumeBool() ? 20 : in.ConsumeIntegral<int>();
    settings.accentColor = in.ConsumeIntegral<std::uint32_t>();
    settings.headerColor = in.ConsumeIntegral<std::uint32_t>();
    settings.pageColor = in.ConsumeIntegral<std::uint32_t>();
    settings.frameColor = in.ConsumeIntegral<std::uint32_t>();
    settings.titleColor = in.ConsumeIntegral<std::uint32_t>();
    settings.textColor = in.ConsumeIntegral<std::uint32_t>();
    std::string title = face(in), normal = face(in);
    std::memcpy(settings.titleFontFace, title.c_str(), title.size() + 1);
    std::memcpy(settings.normalFontFace, normal.c_str(), normal.size() + 1);
    settings.forUser = in.ConsumeBool();
    char settingsLine[2 * kLogFontFaceSize + 128];
    formatSettingsLine(settingsLine, sizeof settingsLine, settings);

    CapturingSink sink;
    InstallLog log;
    FUZZ_CHECK(log.start(name.c_str(), shortName.c_str(), settings, &system, &sink));
    const std::vector<std::string> header = {std::string(kLogHeader) + "\n", name + "\n",
                                             shortName + "\n", std::string(settingsLine) + "\n"};
    LogModel model(system);
    model.header(header);
    const int operations = in.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < operations && in.remaining_bytes(); ++i) addOne(in, log, model);

    const std::vector<ExpectedLine>& lines = model.lines();
    FUZZ_CHECK(log.lineCount() == static_cast<int>(lines.size()));
    std::string install, rollback;
    for (int i = 0; i < log.lineCount(); ++i) {
        FUZZ_CHECK(lines[i].line == log.line(i));
        FUZZ_CHECK(log.lineGoesToRollback(i) == lines[i].rollback);
        install += lines[i].line;
        if (lines[i].rollback) rollback += lines[i].line;
    }
    std::size_t length = 0;
    HeapString installText(log.installLogText(&length));
    FUZZ_CHECK(installText && std::string(installText.get(), length) == install);
    HeapString rollbackText(log.rollbackLogText(&length));
    FUZZ_CHECK(rollbackText && std::string(rollbackText.get(), length) == rollback);
    FUZZ_CHECK(sink.bytes == model.sink);

    // The uninstaller's reading of the text.
    LogHeader read;
    FUZZ_CHECK(readLogHeader(install.data(), install.size(), read));
    FUZZ_CHECK(name == read.productName.get() && shortName == read.productShortName.get());
    LogSettings expected = settings;
    expected.dialogSetOffset = settings.dialogSetOffset == 20 ? 20 : 0;
    FUZZ_CHECK(sameSettings(expected, read.settings));
    const std::string entries = install.substr(read.entryOffset);
    LogLinesBackward backward(entries.data(), entries.size());
    FUZZ_CHECK(backward.count() == static_cast<int>(lines.size()) - kLogHeaderLines);
    const char* line = nullptr;
    LogEntry entry;
    for (std::size_t i = lines.size(); i > static_cast<std::size_t>(kLogHeaderLines); --i) {
        FUZZ_CHECK(backward.next(&line, &length));
        const ExpectedLine& want = lines[i - 1];
        FUZZ_CHECK(std::string(line, length) + "\n" == want.line);
        parseLogLine(line, length, entry);
        checkParsedLine(std::string(line, length), entry);
        if (want.fieldsKnown) checkReadBack(want, entry);
    }
    FUZZ_CHECK(!backward.next(&line, &length));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return -1;
    if (data[0] & 1) {
        writeAndReadBack(data + 1, size - 1);
    } else {
        readLogFile(data + 1, size - 1);
    }
    return 0;
}
