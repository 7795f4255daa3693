// The install log's lines. Duplicates are found through a hash of the upper-cased line, and an
// equal hash is confirmed with the system's case-insensitive comparison; the rare pair of texts
// that the comparison calls equal although their upper-cased bytes differ is kept as two lines,
// which the uninstaller undoes twice, harmlessly.
#include "formats/install_log.h"

#include "formats/journal.h"

#include <cstring>
#include <initializer_list>
#include <utility>

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_case.h"
#include "runtime/text_encoding.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

constexpr int kLineGrowth = 64;
// What each line's mark says: the install log only, the rollback log too, or carried over from
// an earlier run's log (the install log only, until this run adds it for the rollback).
constexpr unsigned char kInstallLogLine = 0;
constexpr unsigned char kRollbackLine = 1;
constexpr unsigned char kCarriedOverLine = 2;
constexpr std::size_t kNumberRoom = 12;  // "0x" and 8 hex digits, or 10 decimal digits

// Bounded text builder: never writes past its buffer, always keeps it terminated.
class TextBuilder {
  public:
    TextBuilder(char* buffer, std::size_t size) : buffer_(buffer), size_(size) {
        if (size_) buffer_[0] = '\0';
    }
    void text(const char* t) {
        for (; t && *t; ++t) put(*t);
    }
    void unsignedDecimal(std::uint32_t value) {
        char digits[kNumberRoom];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value);
        while (n) put(digits[--n]);
    }
    void hex(std::uint32_t value) {
        static const char kDigits[] = "0123456789ABCDEF";
        text("0x");
        char digits[kNumberRoom];
        int n = 0;
        do {
            digits[n++] = kDigits[value & 0xF];
            value >>= 4;
        } while (value);
        while (n) put(digits[--n]);
    }
    std::size_t length() const { return length_; }

  private:
    void put(char c) {
        if (length_ + 1 >= size_) return;
        buffer_[length_++] = c;
        buffer_[length_] = '\0';
    }
    char* buffer_;
    std::size_t size_;
    std::size_t length_ = 0;
};

// Lines that the comparison ignoring case finds equal hash alike. In UTF-8 that comparison folds
// letters past ASCII too, which no single byte tells: those bytes are left out of the hash.
std::uint32_t lineHash(const char* text) {
    const bool utf8 = textIsUtf8();
    std::uint32_t hash = 2166136261u;
    for (; *text; ++text) {
        if (utf8 && static_cast<unsigned char>(*text) >= 0x80) continue;
        hash ^= static_cast<unsigned char>(charUpper(*text));
        hash *= 16777619u;
    }
    return hash;
}

void copyBounded(char* target, std::size_t size, const char* source) {
    std::size_t n = 0;
    for (; source && source[n] && n + 1 < size; ++n) target[n] = source[n];
    target[n] = '\0';
}

bool isPathKind(char kind) {
    return kind == kLogFolder || kind == kLogFile || kind == kLogSharedFile || kind == kLogShortcut;
}

bool isEscapedKind(char kind) {
    return kind == kLogPreviousValue || kind == kLogPreviousIniEntry || kind == kLogReplacedFile ||
           kind == kLogExistingShared || kind == kLogRunInfo || kind == kLogRemovalFolder ||
           kind == kLogText;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

// New heap string of the pieces, each escaped, joined with commas (null pieces are empty).
char* joinEscaped(const char* const* pieces, int count) {
    HeapString joined(strDupExtra("", 0));
    for (int i = 0; joined && i < count; ++i) {
        HeapString escaped(escapeLogField(pieces[i] ? pieces[i] : ""));
        if (!escaped) return nullptr;
        joined.reset(strConcat5(joined.get(), i ? "," : "", escaped.get()));
    }
    return joined.release();
}

bool hasChar(const char* text, char c) {
    return text && std::strchr(text, c);
}

// New heap string "a,b,c" from up to three pieces (null pieces and their commas left out).
char* joinFields(const char* a, const char* b, const char* c) {
    return strConcat5(a, b ? "," : nullptr, b, c ? "," : nullptr, c);
}

}  // namespace

// --- settings line ---

std::size_t formatSettingsLine(char* buffer, std::size_t size, const LogSettings& s) {
    TextBuilder out(buffer, size);
    out.unsignedDecimal(s.dialogSetOffset == 20 ? 1 : 0);
    const std::uint32_t colors[] = {s.accentColor, s.headerColor, s.pageColor, s.frameColor};
    for (std::uint32_t color : colors) {
        out.text(",");
        out.hex(color);
    }
    out.text(",");
    out.text(s.titleFontFace);
    out.text(",");
    out.hex(s.titleColor);
    out.text(",");
    out.text(s.normalFontFace);
    out.text(",");
    out.hex(s.textColor);
    if (s.forUser) out.text(",1");
    return out.length();
}

void parseSettingsLine(const char* line, LogSettings& s) {
    StringList fields;
    splitFields(line, false, fields);
    auto number = [&fields](int i) {
        return static_cast<std::uint32_t>(parseNumber(fields.get(i)));
    };
    const char* layout = fields.get(0);
    s.dialogSetOffset = (layout && std::strcmp(layout, "0") == 0) ? 0 : 20;
    s.accentColor = number(1);
    s.headerColor = number(2);
    s.pageColor = number(3);
    s.frameColor = number(4);
    copyBounded(s.titleFontFace, sizeof s.titleFontFace, fields.get(5));
    s.titleColor = number(6);
    copyBounded(s.normalFontFace, sizeof s.normalFontFace, fields.get(7));
    s.textColor = number(8);
    s.forUser = number(9) == 1;
}

// --- InstallLog ---

InstallLog::~InstallLog() {
    heapFree(rollbackFlags_);
    heapFree(hashes_);
    heapFree(index_);
}

bool InstallLog::start(const char* productName, const char* productShortName,
                       const LogSettings& settings, const StringList* systemFolders,
                       LogSink* rollback) {
    if (!lines_.isCreated() && !lines_.create(kLineGrowth)) return false;
    systemFolders_ = systemFolders;
    rollback_ = rollback;
    if (add(kLogHeader, nullptr, kLogToRollback) == LogAddResult::outOfMemory) return false;
    // The product names are not subject to the duplicate test: a name equal to the short name
    // appears twice, keeping the header four lines long.
    for (const char* name : {productName, productShortName}) {
        HeapString text(strConcat5(name, "\n"));
        if (!text || !append(text.get(), kRollbackLine)) return false;
    }
    char buffer[2 * kLogFontFaceSize + 9 * kNumberRoom + 16];
    formatSettingsLine(buffer, sizeof buffer, settings);
    return add(buffer, nullptr, kLogToRollback) != LogAddResult::outOfMemory;
}

LogAddResult InstallLog::add(const char* kind, const char* text, unsigned flags) {
    if (!lines_.isCreated()) return LogAddResult::outOfMemory;
    if (!kind || hasChar(kind, '\n') || hasChar(text, '\n')) return LogAddResult::refused;
    const bool entryLine = kind[0] && !kind[1] && kind[0] != kLogView && kind[0] != kLogPart;
    char viewed[8];  // "v,64," and the kind
    if (view_ && entryLine) {
        TextBuilder builder(viewed, sizeof viewed);
        builder.text("v,");
        builder.unsignedDecimal(static_cast<std::uint32_t>(view_));
        builder.text(",");
        builder.text(kind);
        kind = viewed;
    }
    HeapString ofPart(part_ && entryLine ? strConcat5("p,", part_, ",", kind) : nullptr);
    if (part_ && entryLine) {
        if (!ofPart) return LogAddResult::outOfMemory;
        kind = ofPart.get();
    }
    if (flags & kLogRollbackOnly) {
        HeapString line(text ? strConcat5(kind, ",", text, "\n") : strConcat5(kind, "\n"));
        if (!line) return LogAddResult::outOfMemory;
        if (rollback_) rollback_->write(line.get(), std::strlen(line.get()));
        return LogAddResult::added;
    }
    if ((flags & kLogExcludeSystemFolder) && text && systemFolders_ &&
        systemFolders_->find(text, 0, 0) >= 0) {
        return LogAddResult::excluded;
    }
    HeapString line(text ? strConcat5(kind, ",", text, "\n") : strConcat5(kind, "\n"));
    if (!line) return LogAddResult::outOfMemory;
    const int equal = findEqual(line.get(), lineHash(line.get()));
    if (equal >= 0) {
        // A line carried over from an earlier run's log that this run now undoes on failure
        // goes to the rollback log as well; one this run adds again is its own from now on.
        if ((flags & kLogToRollback) && rollbackFlags_[equal] == kCarriedOverLine) {
            rollbackFlags_[equal] = kRollbackLine;
            if (rollback_ && !(flags & kLogJournaled))
                rollback_->write(line.get(), std::strlen(line.get()));
        } else if (!(flags & kLogCarriedOver) && rollbackFlags_[equal] == kCarriedOverLine) {
            rollbackFlags_[equal] = kInstallLogLine;
        }
        return LogAddResult::duplicate;
    }
    const unsigned char mark = (flags & kLogToRollback)    ? kRollbackLine
                               : (flags & kLogCarriedOver) ? kCarriedOverLine
                                                           : kInstallLogLine;
    if (!append(line.get(), mark, !(flags & kLogJournaled))) return LogAddResult::outOfMemory;
    return LogAddResult::added;
}

LogAddResult InstallLog::addPath(char kind, const char* path, unsigned flags) {
    if (!isPathKind(kind) || !path) return LogAddResult::refused;
    const char kindText[] = {kind, '\0'};
    return add(kindText, path, flags);
}

LogAddResult InstallLog::addRegistryValue(const char* root, const char* keyPath,
                                          const char* valueName, unsigned flags) {
    if (hasChar(root, ',') || hasChar(valueName, ',')) return LogAddResult::refused;
    HeapString text(
        joinFields(root ? root : "", keyPath ? keyPath : "", valueName ? valueName : ""));
    if (!text) return LogAddResult::outOfMemory;
    return add("c", text.get(), flags);
}

LogAddResult InstallLog::addRegistryKey(unsigned root, const char* keyPath, bool withSubkeys,
                                        unsigned flags) {
    char rootText[kNumberRoom];
    TextBuilder(rootText, sizeof rootText).unsignedDecimal(root);
    if (!keyPath) keyPath = "";
    // A flag field is written only when needed: "1" to delete everything below, "0" when the
    // key path holds a comma (the reader then takes the last piece as the flag).
    const char* flag = withSubkeys ? "1" : (hasChar(keyPath, ',') ? "0" : nullptr);
    HeapString text(joinFields(rootText, keyPath, flag));
    if (!text) return LogAddResult::outOfMemory;
    return add("e", text.get(), flags);
}

LogAddResult InstallLog::addPreviousValue(unsigned root, const char* keyPath, const char* valueName,
                                          std::uint32_t type, const unsigned char* data,
                                          std::size_t size, unsigned flags) {
    char rootText[kNumberRoom];
    char typeText[kNumberRoom];
    TextBuilder(rootText, sizeof rootText).unsignedDecimal(root);
    TextBuilder(typeText, sizeof typeText).unsignedDecimal(type);
    HeapString hex(registryDataHex(data, size));
    if (!hex) return LogAddResult::outOfMemory;
    const char* pieces[] = {rootText, typeText, hex.get(), keyPath, valueName};
    HeapString text(joinEscaped(pieces, 5));
    if (!text) return LogAddResult::outOfMemory;
    const char kindText[] = {kLogPreviousValue, '\0'};
    return add(kindText, text.get(), flags);
}

LogAddResult InstallLog::addPreviousIniEntry(const char* file, const char* section, const char* key,
                                             const char* previous, unsigned flags) {
    const char* pieces[] = {previous ? "1" : "0", file, section, key, previous};
    HeapString text(joinEscaped(pieces, 5));
    if (!text) return LogAddResult::outOfMemory;
    const char kindText[] = {kLogPreviousIniEntry, '\0'};
    return add(kindText, text.get(), flags);
}

LogAddResult InstallLog::addEscaped(char kind, const char* first, const char* second,
                                    unsigned flags) {
    if (!isEscapedKind(kind)) return LogAddResult::refused;
    const char* pieces[] = {first, second};
    HeapString text(joinEscaped(pieces, second ? 2 : 1));
    if (!text) return LogAddResult::outOfMemory;
    const char kindText[] = {kind, '\0'};
    return add(kindText, text.get(), flags);
}

bool InstallLog::lineGoesToRollback(int i) const {
    return i >= 0 && i < lines_.count() && rollbackFlags_[i] == kRollbackLine;
}

bool InstallLog::lineCarriedOver(int i) const {
    return i >= 0 && i < lines_.count() && rollbackFlags_[i] == kCarriedOverLine;
}

bool InstallLog::append(const char* text, unsigned char mark, bool toSink) {
    int n = lines_.count();
    if (n >= flagCapacity_) {
        int capacity = flagCapacity_ ? flagCapacity_ * 2 : kLineGrowth;
        auto* flags = static_cast<unsigned char*>(heapResize(rollbackFlags_, capacity));
        if (!flags) return false;
        rollbackFlags_ = flags;
        auto* hashes = static_cast<std::uint32_t*>(
            heapResize(hashes_, static_cast<std::size_t>(capacity) * sizeof(std::uint32_t)));
        if (!hashes) return false;
        hashes_ = hashes;
        flagCapacity_ = capacity;
    }
    if (2 * (n + 1) > indexSize_ && !growIndex()) return false;
    if (lines_.append(text) != n) return false;
    rollbackFlags_[n] = mark;
    hashes_[n] = lineHash(text);
    auto mask = static_cast<std::uint32_t>(indexSize_ - 1);
    for (std::uint32_t slot = hashes_[n] & mask;; slot = (slot + 1) & mask) {
        if (index_[slot] == 0) {
            index_[slot] = n + 1;
            break;
        }
    }
    if (mark == kRollbackLine && toSink && rollback_) rollback_->write(text, std::strlen(text));
    return true;
}

// Doubles the index and re-enters every line.
bool InstallLog::growIndex() {
    int size = indexSize_ ? indexSize_ * 2 : 4 * kLineGrowth;
    auto* index = static_cast<int*>(heapAlloc(static_cast<std::size_t>(size) * sizeof(int)));
    if (!index) return false;
    auto mask = static_cast<std::uint32_t>(size - 1);
    for (int i = 0; i < lines_.count(); ++i) {
        std::uint32_t slot = hashes_[i] & mask;
        while (index[slot]) slot = (slot + 1) & mask;
        index[slot] = i + 1;
    }
    heapFree(index_);
    index_ = index;
    indexSize_ = size;
    return true;
}

int InstallLog::findEqual(const char* text, std::uint32_t hash) const {
    if (!indexSize_) return -1;
    auto mask = static_cast<std::uint32_t>(indexSize_ - 1);
    for (std::uint32_t slot = hash & mask; index_[slot]; slot = (slot + 1) & mask) {
        int i = index_[slot] - 1;
        if (hashes_[i] == hash && compareTextNoCase(lines_.get(i), text) == 0) return i;
    }
    return -1;
}

char* InstallLog::joinLines(bool rollbackOnly, std::size_t* length) const {
    if (length) *length = 0;
    if (!lines_.isCreated()) return nullptr;
    std::size_t total = 0;
    for (int i = 0; i < lines_.count(); ++i) {
        if (!rollbackOnly || rollbackFlags_[i] == kRollbackLine) {
            total += std::strlen(lines_.get(i));
        }
    }
    auto* text = static_cast<char*>(heapAlloc(total + 1));
    if (!text) return nullptr;
    std::size_t at = 0;
    for (int i = 0; i < lines_.count(); ++i) {
        if (rollbackOnly && rollbackFlags_[i] != kRollbackLine) continue;
        std::size_t n = std::strlen(lines_.get(i));
        std::memcpy(text + at, lines_.get(i), n);
        at += n;
    }
    if (length) *length = total;
    return text;
}

char* InstallLog::installLogText(std::size_t* length) const {
    return joinLines(false, length);
}

char* InstallLog::rollbackLogText(std::size_t* length) const {
    return joinLines(true, length);
}

// --- reading entry lines ---

namespace {

// Stores fields 0..2 from the pieces of one line; the rest of the 15 are empty.
void storeThree(StringList& fields, const char* a, std::size_t aLength, const char* b,
                std::size_t bLength, const char* c) {
    fields.clear();
    HeapString first(strDupExtra(nullptr, static_cast<int>(aLength)));
    HeapString second(strDupExtra(nullptr, static_cast<int>(bLength)));
    if (first) std::memcpy(first.get(), a, aLength);
    if (second) std::memcpy(second.get(), b, bLength);
    fields.set(0, first ? first.get() : "");
    fields.set(1, second ? second.get() : "");
    fields.set(2, c ? c : "");
    for (int i = 3; i < kFieldCount; ++i) fields.set(i, "");
}

void readRegistryValue(const char* rest, StringList& fields) {
    const char* first = std::strchr(rest, ',');
    if (!first) {
        storeThree(fields, rest, std::strlen(rest), "", 0, "");
        return;
    }
    const char* last = std::strrchr(rest, ',');
    if (last == first) {  // "root,key": no value name field
        storeThree(fields, rest, first - rest, first + 1, std::strlen(first + 1), "");
        return;
    }
    storeThree(fields, rest, first - rest, first + 1, last - first - 1, last + 1);
}

void readRegistryKey(const char* rest, StringList& fields) {
    const char* first = std::strchr(rest, ',');
    if (!first) {
        storeThree(fields, rest, std::strlen(rest), "", 0, "");
        return;
    }
    const char* key = first + 1;
    const char* last = std::strrchr(key, ',');
    if (last && (std::strcmp(last + 1, "0") == 0 || std::strcmp(last + 1, "1") == 0)) {
        storeThree(fields, rest, first - rest, key, last - key, last + 1);
        return;
    }
    storeThree(fields, rest, first - rest, key, std::strlen(key), "");
}

}  // namespace

bool parseLogLine(const char* line, LogEntry& entry) {
    return parseLogLine(line, line ? std::strlen(line) : 0, entry);
}

bool parseLogLine(const char* line, std::size_t length, LogEntry& entry) {
    entry.kind = 0;
    if (!entry.fields.isCreated() && !entry.fields.create(kFieldCount)) return false;
    if (!line) length = 0;
    if (length && line[length - 1] == '\n') --length;
    HeapString copy(strDupExtra(nullptr, static_cast<int>(length)));
    if (copy && length) std::memcpy(copy.get(), line, length);
    // An embedded NUL ends the line, as it does for a reader of terminated text.
    length = copy ? std::strlen(copy.get()) : 0;
    entry.kind = length ? copy.get()[0] : 0;
    entry.view = 0;
    const char* rest = length >= 2 ? copy.get() + 2 : "";
    // A part's line is read as the line itself (which may name its view).
    if (entry.kind == kLogPart) {
        const char* line = std::strchr(rest, ',');
        if (line && line[1] && line[1] != kLogPart) {
            return parseLogLine(line + 1, std::strlen(line + 1), entry);
        }
    }
    if (entry.kind == kLogView) {
        const int view = (std::strncmp(rest, "64,", 3) == 0)   ? 64
                         : (std::strncmp(rest, "32,", 3) == 0) ? 32
                                                               : 0;
        // The viewed line's own kind may not be "v" again, nor a part: one view per line, and
        // a part names its line's view inside it, so the reading never nests deeper.
        if (view && rest[3] && rest[3] != kLogView && rest[3] != kLogPart) {
            const bool parsed = parseLogLine(rest + 3, std::strlen(rest + 3), entry);
            entry.view = view;
            return parsed;
        }
    }
    if (isPathKind(entry.kind)) {
        storeThree(entry.fields, rest, std::strlen(rest), "", 0, "");
    } else if (entry.kind == kLogRegistryValue) {
        readRegistryValue(rest, entry.fields);
    } else if (entry.kind == kLogRegistryKey) {
        readRegistryKey(rest, entry.fields);
    } else if (isEscapedKind(entry.kind)) {
        splitFields(rest, false, entry.fields);
        for (int i = 0; i < kFieldCount; ++i) {
            HeapString plain(unescapeLogField(entry.fields.get(i)));
            if (plain) entry.fields.set(i, plain.get());
        }
    } else {
        splitFields(rest, false, entry.fields);
    }
    return entry.kind != 0;
}

bool readLogHeader(const char* bytes, std::size_t length, LogHeader& header) {
    const char* lines[kLogHeaderLines];
    std::size_t lengths[kLogHeaderLines];
    std::size_t at = 0;
    for (int i = 0; i < kLogHeaderLines; ++i) {
        const void* lf = bytes ? std::memchr(bytes + at, '\n', length - at) : nullptr;
        if (!lf) return false;
        lines[i] = bytes + at;
        lengths[i] = static_cast<std::size_t>(static_cast<const char*>(lf) - lines[i]);
        at += lengths[i] + 1;
    }
    std::size_t headerLength = std::strlen(kLogHeader);
    if (lengths[0] != headerLength || std::memcmp(lines[0], kLogHeader, headerLength) != 0) {
        return false;
    }
    HeapString copies[3];
    for (int i = 0; i < 3; ++i) {
        copies[i].reset(strDupExtra(nullptr, static_cast<int>(lengths[i + 1])));
        if (!copies[i]) return false;
        std::memcpy(copies[i].get(), lines[i + 1], lengths[i + 1]);
    }
    header.productName = std::move(copies[0]);
    header.productShortName = std::move(copies[1]);
    header.settings = LogSettings();
    parseSettingsLine(copies[2].get(), header.settings);
    header.entryOffset = at;
    return true;
}

LogLinesBackward::LogLinesBackward(const char* bytes, std::size_t length) : bytes_(bytes), end_(0) {
    for (std::size_t i = 0; bytes && i < length; ++i) {
        if (bytes[i] == '\n') {
            ++count_;
            end_ = i + 1;
        }
    }
}

bool LogLinesBackward::next(const char** line, std::size_t* length) {
    if (!end_) return false;
    std::size_t lf = end_ - 1;
    std::size_t start = lf;
    while (start && bytes_[start - 1] != '\n') --start;
    *line = bytes_ + start;
    *length = lf - start;
    end_ = start;
    return true;
}

char* escapeLogField(const char* text) {
    if (!text) text = "";
    int extra = 0;
    for (const char* t = text; *t; ++t) {
        if (*t == '%' || *t == ',' || *t == '\r' || *t == '\n') extra += 2;
    }
    HeapString out(strDupExtra(nullptr, static_cast<int>(std::strlen(text)) + extra));
    if (!out) return nullptr;
    char* o = out.get();
    for (const char* t = text; *t; ++t) {
        if (*t == '%' || *t == ',' || *t == '\r' || *t == '\n') {
            *o++ = '%';
            *o++ = kHexDigits[(static_cast<unsigned char>(*t) >> 4) & 0xF];
            *o++ = kHexDigits[static_cast<unsigned char>(*t) & 0xF];
        } else {
            *o++ = *t;
        }
    }
    *o = '\0';
    return out.release();
}

char* unescapeLogField(const char* text) {
    if (!text) text = "";
    HeapString out(strDupExtra(text, 0));
    if (!out) return nullptr;
    char* o = out.get();
    for (const char* t = text; *t; ++t) {
        int high = t[0] == '%' ? hexDigit(t[1]) : -1;
        int low = high >= 0 ? hexDigit(t[2]) : -1;
        if (low >= 0) {
            *o++ = static_cast<char>(high * 16 + low);
            t += 2;
        } else {
            *o++ = *t;
        }
    }
    *o = '\0';
    return out.release();
}

char* registryDataHex(const unsigned char* data, std::size_t size) {
    if (size > 0x3FFFFFFF) return nullptr;
    HeapString out(strDupExtra(nullptr, static_cast<int>(2 * size)));
    if (!out) return nullptr;
    char* o = out.get();
    for (std::size_t i = 0; i < size; ++i) {
        *o++ = kHexDigits[data[i] >> 4];
        *o++ = kHexDigits[data[i] & 0xF];
    }
    *o = '\0';
    return out.release();
}

long hexToBytes(const char* text, unsigned char* out, std::size_t room) {
    if (!text) return 0;
    std::size_t n = 0;
    for (; text[0]; text += 2) {
        int high = hexDigit(text[0]);
        int low = high >= 0 ? hexDigit(text[1]) : -1;
        if (low < 0 || n >= room) return -1;
        out[n++] = static_cast<unsigned char>(high * 16 + low);
    }
    return static_cast<long>(n);
}

char* installLogPath(const char* installPath, const char* uninstallerFileName) {
    HeapString base(baseName(uninstallerFileName ? uninstallerFileName : ""));
    if (!base) return nullptr;
    HeapString name(strConcat5(base.get(), ".log"));
    if (!name) return nullptr;
    return joinFolderName(installPath, name.get());
}

}  // namespace kelvara
