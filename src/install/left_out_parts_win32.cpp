#include "install/left_out_parts_win32.h"

#include <windows.h>

#include <cstring>

#include "formats/install_log.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/run_log_win32.h"
#include "runtime/string_list.h"
#include "runtime/text_case.h"
#include "uninstall/uninstall_log_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

const char* field(const LogEntry& entry, int i) {
    const char* text = entry.fields.get(i);
    return text ? text : "";
}

// What a line undoes, so that lines of two runs compare whatever their kind: a path, a value
// (a "c" line's, or that of an "r" line, which puts one back) or a key, each in its view. Null
// for the other kinds, and when the heap is exhausted. The caller frees it.
char* undoneThing(const char* line, LogEntry& entry) {
    if (!parseLogLine(line, entry)) return nullptr;
    const char* view = entry.view == 64 ? "64" : entry.view == 32 ? "32" : "";
    switch (entry.kind) {
        case kLogFolder:
        case kLogFile:
        case kLogSharedFile:
        case kLogShortcut:
            return strConcat5("F", view, "|", field(entry, 0));
        case kLogRegistryValue: {
            HeapString key(strConcat5(field(entry, 0), "|", field(entry, 1), "|"));
            return key ? strConcat5("V", view, "|", key.get(), field(entry, 2)) : nullptr;
        }
        case kLogPreviousValue: {
            HeapString key(strConcat5(field(entry, 0), "|", field(entry, 3), "|"));
            return key ? strConcat5("V", view, "|", key.get(), field(entry, 4)) : nullptr;
        }
        case kLogPreviousIniEntry: {
            HeapString file(strConcat5(field(entry, 1), "|", field(entry, 2), "|"));
            return file ? strConcat5("I", view, "|", file.get(), field(entry, 3)) : nullptr;
        }
        case kLogRegistryKey: {
            HeapString root(strConcat5(field(entry, 0), "|"));
            return root ? strConcat5("K", view, "|", root.get(), field(entry, 1)) : nullptr;
        }
        default:
            return nullptr;
    }
}

// True when this run wrote a value or key in or below the key that `thing` ("K<view>|root|key")
// names.
bool writtenBelow(const StringList& installed, const char* thing) {
    const std::size_t length = std::strlen(thing) - 1;  // the kind letter's place aside
    for (int i = 0; i < installed.count(); ++i) {
        const char* item = installed.get(i);
        if (!item || (item[0] != 'V' && item[0] != 'K')) continue;
        if (std::strlen(item) <= length || (item[length + 1] != '|' && item[length + 1] != '\\'))
            continue;
        HeapString start(strDupExtra(item + 1, 0));
        if (!start) return true;  // not known: rather kept than undone
        start.get()[length] = '\0';
        if (compareTextNoCase(start.get(), thing + 1) == 0) return true;
    }
    return false;
}

// A line of the part to undo now: not what this run installed, not a key of values only (others
// may share it), nor a key this run wrote in.
bool undoneNow(const char* line, const StringList& installed, LogEntry& entry) {
    HeapString thing(undoneThing(line, entry));
    if (!thing) return entry.kind != 0 && entry.kind != kLogPart;
    if (entry.kind == kLogRegistryKey) {
        if (std::strcmp(field(entry, 2), "1") != 0) return false;
        return !installed.sortedHolds(thing.get()) && !writtenBelow(installed, thing.get());
    }
    return !installed.sortedHolds(thing.get());
}

}  // namespace

void undoLeftOutParts(InstallRun& run) {
    if (run.leftOutLines.count() == 0) return;
    StringList installed;
    StringList undone;
    if (!installed.create(64) || !undone.create(64)) return;
    LogEntry entry;
    for (int i = kLogHeaderLines; i < run.log.lineCount(); ++i) {
        if (run.log.lineCarriedOver(i)) continue;
        HeapString thing(undoneThing(run.log.line(i), entry));
        if (thing) installed.append(thing.get());
    }
    installed.sort(kSortAlphabetical);
    std::size_t size = 1;
    for (int i = 0; i < kLogHeaderLines; ++i) size += std::strlen(run.log.line(i));
    for (int i = 0; i < run.leftOutLines.count(); ++i) {
        const char* line = run.leftOutLines.get(i);
        if (!line || !undoneNow(line, installed, entry) || undone.append(line) < 0) continue;
        size += std::strlen(line) + 1;
    }
    if (undone.count() == 0) return;
    // A log of the run's own header and these lines, which the rollback's undo takes in.
    HeapString text(static_cast<char*>(heapAlloc(size)));
    if (!text) return;
    char* end = text.get();
    auto put = [&end](const char* piece) {
        const std::size_t length = std::strlen(piece);
        std::memcpy(end, piece, length);
        end += length;
    };
    for (int i = 0; i < kLogHeaderLines; ++i) put(run.log.line(i));
    for (int i = 0; i < undone.count(); ++i) {
        put(undone.get(i));
        put("\n");
    }
    char count[12];
    ::wsprintfA(count, "%d", undone.count());
    writeRunLog("components left out: undoing %s lines of the earlier installation", count);
    workerState.rollbackLogPath.reset(newTempName());
    if (!workerState.rollbackLogPath) return;
    workerState.rollbackLogText.reset(text.release());
    undoRollbackLog();
}

}  // namespace kelvara
