#include "uninstall/interrupted_run_win32.h"

#include <windows.h>

#include <cstring>

#include "environment/run_environment.h"
#include "formats/install_log.h"
#include "formats/journal.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/run_log_win32.h"
#include "runtime/text_case.h"
#include "uninstall/file_removal_win32.h"
#include "uninstall/uninstall_log_win32.h"
#include "uninstall/uninstall_state.h"
#include "worker/run_marks_win32.h"

namespace kelvara {
namespace {

// What the journal says of its run, read before its undo releases the text.
struct JournalFacts {
    HeapString productName;
    HeapString shortName;
    bool forUser = false;
    RunInfo info;
    bool hasInfo = false;
};

bool readFacts(JournalFacts& facts) {
    const char* text = uninstallState.logBuffer.get();
    if (!text) return false;
    LogHeader header;
    if (!readLogHeader(text, std::strlen(text), header)) return false;
    facts.productName = std::move(header.productName);
    facts.shortName = std::move(header.productShortName);
    facts.forUser = header.settings.forUser;
    const char* entries = uninstallState.entryText;
    facts.hasInfo = entries && findRunInfo(entries, std::strlen(entries), facts.info);
    return facts.shortName.get() != nullptr;
}

// The run's private folder, when the journal names the one it lies in and that is one a run
// made ("KVR" and more): everything in it was the run's. This program's own file, when it runs
// from there, is left to its self-removal script.
void removeRunFolder(const char* journalPath, const RunInfo& info) {
    HeapString folder(folderPart(journalPath));
    const char* name = folder ? fileNamePart(folder.get()) : "";
    if (!folder || !info.runFolder || compareTextNoCase(folder.get(), info.runFolder.get()) != 0 ||
        std::strncmp(name, "KVR", 3) != 0 || !name[3]) {
        return;
    }
    HeapString pattern(joinFolderName(folder.get(), "*"));
    WIN32_FIND_DATAA found;
    HANDLE search = pattern ? ::FindFirstFileA(pattern.get(), &found) : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
            continue;
        HeapString path(joinFolderName(folder.get(), found.cFileName));
        if (!path) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            deleteFolderTree(path.get());
        } else if (!runEnvironment.installerPath ||
                   compareTextNoCase(path.get(), runEnvironment.installerPath.get()) != 0) {
            ::SetFileAttributesA(path.get(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(path.get());
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    ::RemoveDirectoryA(folder.get());
}

}  // namespace

Recovery recoverInterruptedRun(const char* journalPath, bool takeHeader) {
    if (!journalPath || !pathExists(journalPath)) return Recovery::noJournal;
    // A run that is alive holds its journal open for writing: it was not cut off.
    {
        UniqueFile probe(::CreateFileA(journalPath, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        if (!probe && ::GetLastError() == ERROR_SHARING_VIOLATION) {
            writeRunLog("recovery: not now: the run of %s is still going on", journalPath);
            return Recovery::inUse;
        }
    }
    const LogRead read =
        readLog(journalPath, takeHeader ? LogSource::installation : LogSource::journal);
    if (read == LogRead::untrusted) {
        writeRunLog("recovery: not done: users who are not administrators may change %s",
                    journalPath);
        return Recovery::untrusted;
    }
    JournalFacts facts;
    if (read != LogRead::read || !readFacts(facts)) {
        // No journal a run ever finished writing the head of: nothing was changed yet.
        releaseLog();
        writeRunLog("recovery: %s holds no journal", journalPath);
        ::DeleteFileA(journalPath);
        return Recovery::noJournal;
    }
    writeRunLog("recovery: the installation of %s was cut off; undoing it (journal %s)",
                facts.productName.get(), journalPath);
    undoJournal(journalPath);
    ::SetFileAttributesA(journalPath, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(journalPath);
    if (facts.hasInfo) removeRunFolder(journalPath, facts.info);
    clearRunMarks(facts.shortName.get(), facts.forUser, facts.hasInfo ? facts.info.markKeys : 0);
    writeRunLog("recovery: done");
    return Recovery::done;
}

}  // namespace kelvara
