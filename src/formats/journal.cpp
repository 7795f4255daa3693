#include "formats/journal.h"

#include <cstring>

#include "formats/install_log.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

constexpr int kStartDigits = 16;

bool isLine(const char* line, std::size_t length, char kind) {
    return length >= 1 && line[0] == kind && (length == 1 || line[1] == ',');
}

// Writes `n` in decimal at `out` (room for 10 digits); returns the digits written.
std::size_t writeDecimal(char* out, std::uint32_t n) {
    char digits[10];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n);
    for (std::size_t i = 0; i < count; ++i) out[i] = digits[count - 1 - i];
    return count;
}

// A decimal count of at most nine digits, or -1.
int readCount(const char* text, std::size_t length) {
    if (length == 0 || length > 9) return -1;
    int n = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

}  // namespace

char* runInfoText(const char* image, std::uint64_t startTime, std::uint32_t processId,
                  const char* runFolder, std::uint32_t markKeys) {
    HeapString escapedImage(escapeLogField(image ? image : ""));
    HeapString escapedFolder(escapeLogField(runFolder ? runFolder : ""));
    if (!escapedImage || !escapedFolder) return nullptr;
    char numbers[kStartDigits + 1 + 10 + 1] = {};
    char keys[11] = {};
    writeDecimal(keys, markKeys);
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = 0; i < kStartDigits; ++i)
        numbers[i] = kHex[(startTime >> (4 * (kStartDigits - 1 - i))) & 0xF];
    numbers[kStartDigits] = ',';
    writeDecimal(numbers + kStartDigits + 1, processId);
    HeapString start(strConcat5(escapedImage.get(), ",", numbers, ",", escapedFolder.get()));
    return start ? strConcat5(start.get(), ",", keys) : nullptr;
}

bool findRunInfo(const char* entryText, std::size_t length, RunInfo& info) {
    for (std::size_t at = 0; at < length;) {
        const void* lf = std::memchr(entryText + at, '\n', length - at);
        if (!lf) return false;
        const char* line = entryText + at;
        const auto lineLength = static_cast<std::size_t>(static_cast<const char*>(lf) - line);
        at += lineLength + 1;
        if (!isLine(line, lineLength, kLogRunInfo)) continue;
        LogEntry entry;
        if (!parseLogLine(line, lineLength, entry) || entry.kind != kLogRunInfo) return false;
        const char* start = entry.fields.get(1) ? entry.fields.get(1) : "";
        std::uint64_t time = 0;
        for (int i = 0; i < kStartDigits && start[i]; ++i) {
            const char c = start[i];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) return false;
            time = time << 4 | static_cast<std::uint64_t>(digit);
        }
        info.image.reset(strDupExtra(entry.fields.get(0) ? entry.fields.get(0) : "", 0));
        info.startTime = time;
        info.processId = static_cast<std::uint32_t>(parseNumber(entry.fields.get(2)));
        info.runFolder.reset(strDupExtra(entry.fields.get(3) ? entry.fields.get(3) : "", 0));
        info.markKeys = static_cast<std::uint32_t>(parseNumber(entry.fields.get(4)));
        return info.image && info.runFolder;
    }
    return false;
}

void readJournalTail(const char* entryText, std::size_t length, JournalTail& tail,
                     StringList* removalFolders) {
    tail = JournalTail();
    std::size_t end = length;
    // Bytes after the last LF are no line: a write the run did not finish.
    while (end > 0 && entryText[end - 1] != '\n') --end;
    for (;;) {
        tail.entryLength = end;
        if (end == 0) return;
        std::size_t start = end - 1;
        while (start > 0 && entryText[start - 1] != '\n') --start;
        const char* line = entryText + start;
        const std::size_t lineLength = end - 1 - start;
        if (isLine(line, lineLength, kLogUndone) && lineLength > 2) {
            const int n = readCount(line + 2, lineLength - 2);
            if (n < 0) return;
            if (n > tail.undoneLines) tail.undoneLines = n;
        } else if (isLine(line, lineLength, kLogRemovalFolder) && lineLength > 2) {
            LogEntry entry;
            if (removalFolders && parseLogLine(line, lineLength, entry) && entry.fields.get(0))
                removalFolders->append(entry.fields.get(0));
        } else if (isLine(line, lineLength, kLogRunCompleted) && lineLength == 1) {
            tail.completed = true;
            tail.entryLength = start;
            return;
        } else {
            return;
        }
        end = start;
    }
}

std::size_t undoneLineText(char* buffer, int undoneLines) {
    buffer[0] = kLogUndone;
    buffer[1] = ',';
    std::size_t length =
        2 + writeDecimal(buffer + 2, static_cast<std::uint32_t>(undoneLines < 0 ? 0 : undoneLines));
    buffer[length++] = '\n';
    buffer[length] = '\0';
    return length;
}

}  // namespace kelvara
