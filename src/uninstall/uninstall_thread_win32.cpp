// The uninstall thread: one pass over the log's entry lines, from the last to the first, so that
// files and values go before their folders and keys.
#include "uninstall/uninstall_thread_win32.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "environment/run_environment.h"
#include "formats/install_log.h"
#include "formats/journal.h"
#include "formats/setup_state.h"
#include "formats/uninstaller_texts.h"
#include "runtime/file_deletion_win32.h"
#include "runtime/file_version_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/registry_delete_win32.h"
#include "runtime/registry_roots.h"
#include "runtime/replace_on_reboot_win32.h"
#include "runtime/run_log_win32.h"
#include "runtime/string_list.h"
#include "runtime/system_view_win32.h"
#include "runtime/text_case.h"
#include "runtime/text_utils.h"
#include "uninstall/confirmation_dialog_win32.h"
#include "uninstall/file_removal_win32.h"
#include "uninstall/protected_folders_win32.h"
#include "uninstall/uninstall_rules.h"
#include "uninstall/uninstall_state.h"
#include "worker/logged_actions_win32.h"
#include "worker/status_text_win32.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

constexpr int kProgressPerLine = 100;
constexpr DWORD kVisibleRemovalMs = 1000;  // with a window the whole log takes about this long

// The status text of each kind; a shared file ("g") sets its own, and only when its count
// reached zero.
struct KindStatus {
    char kind;
    UninstallerText status;
};
constexpr KindStatus kKindStatus[] = {
    {kLogFolder, kUnStatusFiles},
    {kLogFile, kUnStatusFiles},
    {kLogShortcut, kUnStatusShortcuts},
    {kLogRegistryValue, kUnStatusRegistryValues},
    {kLogPreviousValue, kUnStatusRegistryValues},
    {kLogUninstallProgram, kUnStatusPrograms},
    {kLogRegistryKey, kUnStatusRegistryKeys},
    {kLogUninstallDllCall, kUnStatusDllCalls},
};

// Registry root numbers are stored as the predefined key minus 0x80000000; a number written with
// that bit set names the same root.
constexpr int kRootNumberMask = 0x7FFFFFFF;

// What the thread shows of the line in hand.
struct Undo {
    HWND window = nullptr;
    bool unattended = false;  // nothing may be asked
    HWND statusText = nullptr;
    HWND pathText = nullptr;
    HWND progressBar = nullptr;
    const char* status = "";     // a constant text; kept from line to line
    const char* shownPath = "";  // a field of the current line
};

const char* field(const LogEntry& entry, int i) {
    const char* text = entry.fields.get(i);
    return text ? text : "";
}

// Waits while the user interface holds the worker, then takes a quit message if one came.
// False when the thread is to end.
bool checkpoint() {
    ::WaitForSingleObject(workerState.proceedEvent.get(), INFINITE);
    MSG message;
    return !::PeekMessageA(&message, reinterpret_cast<HWND>(-1), WM_QUIT, WM_QUIT, PM_REMOVE);
}

// Deletes a logged file: tries for a while, asks (with a window) whether to try again, and
// otherwise leaves it to the restart.
void deleteLoggedFile(const Undo& undo, const char* path, bool askWhenInUse) {
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    for (;;) {
        if (deleteFileWithinTime(path)) return;
        if (!askWhenInUse || !undo.window) break;
        if (messageBoxFormat(undo.window, uninstallerText(kUnInUseCaption),
                             uninstallerText(kUnInUse), path,
                             MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
            break;
        }
    }
    uninstallState.rebootDeleteFiles.append(path);
}

void undoFolder(const char* folder) {
    // A drive or a system folder is never the installation's to remove, nor to offer: an old
    // log may name one (an installation into "D:\" logged "a,D:").
    if (isProtectedFolderOnDisk(folder, runEnvironment.folderPaths)) return;
    if (!folderIsEmpty(folder, true)) {
        uninstallState.leftoverFolders.append(folder);
        return;
    }
    // Attributes only on a folder that goes: a folder that stays keeps its own.
    ::SetFileAttributesA(folder, FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(folder);
}

void undoFile(const Undo& undo, const char* path) {
    // A target waiting for its replacement at restart still holds its earlier content: it is
    // left exactly as it is, attributes included.
    if (workerState.deferredTargets.find(path, 0, 0) >= 0) return;
    deleteLoggedFile(undo, path, true);
}

// The key as the error messages name it: "HKCU\Software\...". Counted as an error of the run;
// an unattended run only logs it (a message box there may be on no one's screen).
void reportRegistryError(const Undo& undo, const char* caption, const char* format, int root,
                         const char* keyPath, const char* valueName, LONG error) {
    ++uninstallState.uninstallErrors;
    // A log names the system's roots only: HKA is a record's word, never a log's.
    const char* rootName = root < kRegistryRootCount ? rootKeyName(root) : "";
    HeapString keyText(strConcat5(rootName, "\\", keyPath));
    const char* errorText = systemErrorText(static_cast<DWORD>(error));
    const char* key = keyText ? keyText.get() : keyPath;
    if (undo.unattended) {
        if (valueName) {
            writeRunLog("uninstall: not removed: the value %s of %s: %s", valueName, key,
                        errorText);
        } else {
            writeRunLog("uninstall: not removed: %s: %s", key, errorText);
        }
        return;
    }
    if (valueName) {
        messageBoxFormat(undo.window, caption, format, valueName, key, errorText, MB_ICONERROR);
    } else {
        messageBoxFormat(undo.window, caption, format, key, errorText, MB_ICONERROR);
    }
}

void undoRegistryValue(const Undo& undo, const LogEntry& entry) {
    const int root = parseNumber(field(entry, 0)) & kRootNumberMask;
    LONG result = deleteRegistryValue(registryRoot(root), field(entry, 1), field(entry, 2));
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        reportRegistryError(undo, uninstallerText(kUnValueErrorCaption),
                            uninstallerText(kUnValueError), root, field(entry, 1), field(entry, 2),
                            result);
    }
}

void undoRegistryKey(const Undo& undo, const LogEntry& entry) {
    const int root = parseNumber(field(entry, 0)) & kRootNumberMask;
    const bool force = parseNumber(field(entry, 2)) != 0;
    LONG result = deleteRegistryKey(registryRoot(root), field(entry, 1), force);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        reportRegistryError(undo, uninstallerText(kUnKeyErrorCaption), uninstallerText(kUnKeyError),
                            root, field(entry, 1), nullptr, result);
    }
}

// "r": the value the installation overwrote is put back as it was. A key that is gone by now
// stays gone, silently.
void restoreRegistryValue(const Undo& undo, const LogEntry& entry) {
    const int root = parseNumber(field(entry, 0)) & kRootNumberMask;
    const auto type = static_cast<DWORD>(parseNumber(field(entry, 1)));
    const char* hex = field(entry, 2);
    const char* keyPath = field(entry, 3);
    const char* name = field(entry, 4);
    HeapBlock data(std::strlen(hex) / 2 + 1);
    auto* bytes = static_cast<unsigned char*>(data.get());
    const long size = bytes ? hexToBytes(hex, bytes, std::strlen(hex) / 2) : -1;
    if (size < 0) return;  // not a line this engine wrote
    LONG result = ERROR_FILE_NOT_FOUND;
    UniqueKey key;
    const char* path = *keyPath == '\\' ? keyPath + 1 : keyPath;
    if (registryRoot(root))
        result = ::RegOpenKeyExA(registryRoot(root), path, 0, KEY_SET_VALUE | registryViewAccess(),
                                 key.put());
    if (result == ERROR_SUCCESS) {
        result = ::RegSetValueExA(key.get(), name, 0, type, bytes, static_cast<DWORD>(size));
    }
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        reportRegistryError(undo, uninstallerText(kUnValueErrorCaption),
                            uninstallerText(kUnValueError), root, keyPath, name, result);
    }
}

// "j": the INI entry is put back as it was before the installation: its value, or none. A file
// that is gone by now is not made again.
void restoreIniEntry(const LogEntry& entry) {
    const char* file = field(entry, 1);
    if (!*file || !pathExists(file)) return;
    const bool had = std::strcmp(field(entry, 0), "1") == 0;
    if (!::WritePrivateProfileStringA(field(entry, 2), field(entry, 3),
                                      had ? field(entry, 4) : nullptr, file)) {
        ++uninstallState.uninstallErrors;
        writeRunLog("uninstall: not put back: [%s] %s in %s", field(entry, 2), field(entry, 3),
                    file);
    }
}

// A program or DLL call of the uninstallation that failed (the run log says how): an error of
// the run, told unless it is unattended; the uninstallation goes on.
void reportFailedAction(const Undo& undo, const char* subject) {
    ++uninstallState.uninstallErrors;
    if (!undo.unattended) {
        messageBoxFormat(undo.window, uninstallerText(kUnStepErrorCaption),
                         uninstallerText(kUnStepError), subject, MB_ICONERROR);
    }
}

// Asks whether a shared file that no program counts any more may go. True to delete it.
bool mayRemoveSharedFile(const Undo& undo, const char* path) {
    if (undo.unattended) return false;
    if (uninstallState.removeAllShared) return true;
    HeapString question(sharedFileQuestion(path));
    if (!question) return false;
    const ConfirmationRequest request = {uninstallerText(kUnSharedCaption), question.get()};
    const INT_PTR answer = confirmationDialog(undo.window, request);
    if (answer == kConfirmYesToAll) {
        if (messageBoxFormat(undo.window, uninstallerText(kUnConfirmCaption),
                             uninstallerText(kUnRemoveAllShared), nullptr,
                             MB_YESNO | MB_ICONQUESTION) == IDYES) {
            uninstallState.removeAllShared = true;
        }
        return true;
    }
    // No, or a dialog that could not be shown: a shared file stays unless the user said so.
    return answer == kConfirmYes;
}

void undoSharedFile(Undo& undo, const char* path) {
    if (changeSharedCount(path, true) != 0) return;
    undo.status = uninstallerText(kUnStatusSharedFiles);
    if (!mayRemoveSharedFile(undo, path)) return;
    undo.shownPath = path;
    deleteLoggedFile(undo, path, false);
}

bool isPathKind(char kind) {
    return kind == kLogFolder || kind == kLogFile || kind == kLogShortcut || kind == kLogSharedFile;
}

void undoLine(Undo& undo, const LogEntry& entry) {
    for (const KindStatus& item : kKindStatus) {
        if (item.kind == entry.kind) undo.status = uninstallerText(item.status);
    }
    const char* path = field(entry, 0);
    // No installation logs an empty path; with one, "a" would list the current drive's root.
    if (isPathKind(entry.kind) && !*path) return;
    switch (entry.kind) {
        case kLogFolder:
            undo.shownPath = path;
            undoFolder(path);
            break;
        case kLogFile:
        case kLogShortcut:
            undo.shownPath = path;
            undoFile(undo, path);
            break;
        case kLogRegistryValue:
            undoRegistryValue(undo, entry);
            break;
        case kLogRegistryKey:
            undoRegistryKey(undo, entry);
            break;
        case kLogSharedFile:
            undoSharedFile(undo, path);
            break;
        case kLogPreviousValue:
            restoreRegistryValue(undo, entry);
            break;
        case kLogPreviousIniEntry:
            restoreIniEntry(entry);
            break;
        // The next two kinds are written to the rollback log only, which the rollback undoes
        // without a window. An install log lies in a folder its users may write to: a line of
        // these kinds there would move any file over any other, so it undoes nothing.
        case kLogReplacedFile:
            // "k" (rollback only): the file the run replaced comes back from its backup.
            if (!undo.window) putBackReplacedFile(path, field(entry, 1));
            break;
        case kLogExistingShared:
            // A shared file that was there before the run: its count goes back, the file stays.
            if (!undo.window && *path) changeSharedCount(path, true);
            break;
        case kLogUninstallProgram:
            if (!runLoggedProgram(entry.fields)) reportFailedAction(undo, path);
            break;
        case kLogUninstallDllCall:
            if (!callLoggedDll(entry.fields)) reportFailedAction(undo, path);
            break;
        default:
            break;  // an unknown kind undoes nothing
    }
}

void showProgress(const Undo& undo, int total, int lineCount) {
    ::SendMessageA(undo.progressBar, PBM_SETPOS, static_cast<WPARAM>(total / lineCount), 0);
}

void showLine(const Undo& undo) {
    ::SetWindowTextA(undo.statusText, undo.status);
    refreshControl(undo.statusText, true);
    showRemovalPath(undo.pathText, undo.shownPath);
}

// Folders are left over: the dialog turns itself into the leftover-files page. It does so on
// its own thread, which alone can give the tree the focus; the thread waits until it is done.
void showLeftoverPage(HWND window) {
    ::SendMessageA(window, kMsgShowLeftoverPage, 0, 0);
}

// A journal's undo notes each line it got through in the journal itself, so that an undo cut
// off half-way goes on from there when it is run again, and no line is undone twice (a shared
// file's count would go down twice). A write that fails only costs that: the lines after it are
// undone again, each harmlessly but the shared counts.
class UndoProgress {
  public:
    UndoProgress() : passOver_(uninstallState.linesUndone), done_(uninstallState.linesUndone) {
        if (const char* path = uninstallState.progressPath.get()) {
            file_.reset(::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        }
    }
    // True for a line an earlier undo got through.
    bool passOver() {
        if (passOver_ <= 0) return false;
        --passOver_;
        return true;
    }
    void lineUndone() {
        ++done_;
        if (!file_) return;
        char text[16];
        const std::size_t length = undoneLineText(text, done_);
        DWORD written = 0;
        ::WriteFile(file_.get(), text, static_cast<DWORD>(length), &written, nullptr);
    }

  private:
    int passOver_;
    int done_;
    UniqueFile file_;
};

Undo beginUndo(HWND window) {
    const RunEnvironment& run = runEnvironment;
    Undo undo;
    undo.window = window;
    undo.unattended = run.silentMode && run.deployment.silent;
    if (window) {
        undo.progressBar = ::GetDlgItem(window, kRemovalProgressBar);
        undo.statusText = ::GetDlgItem(window, kRemovalStatusText);
        undo.pathText = ::GetDlgItem(window, kRemovalPathText);
    }
    return undo;
}

}  // namespace

bool isUninstallerOwnFile(const LogEntry& entry) {
    const char* log = uninstallState.uninstallLogPath.get();
    if (entry.kind != kLogFile || !log) return false;
    const char* path = entry.fields.get(0) ? entry.fields.get(0) : "";
    HeapString folder(folderPart(path));
    HeapString logFolder(folderPart(log));
    HeapString name(baseName(path));
    HeapString logName(baseName(log));
    return folder && logFolder && name && logName &&
           compareTextNoCase(folder.get(), logFolder.get()) == 0 &&
           compareTextNoCase(name.get(), logName.get()) == 0;
}

namespace {

// The uninstaller's own files and the product's entry in the list of installed programs wait
// for the end of the removal (removeOwnFiles). True when the line is one of them, kept.
bool keptForTheEnd(const LogEntry& entry, const char* line, std::size_t length) {
    if (isUninstallerOwnFile(entry))
        return uninstallState.ownFilesLeft.append(field(entry, 0)) >= 0;
    if (!uninstallState.uninstallLogPath || entry.kind != kLogRegistryKey ||
        !isUninstallEntryKey(field(entry, 1), setupState.productShortName.get())) {
        return false;
    }
    HeapString text(strDupExtra(nullptr, static_cast<int>(length)));
    if (!text) return false;
    std::memcpy(text.get(), line, length);
    return uninstallState.entryLinesLeft.append(text.get()) >= 0;
}

}  // namespace

bool undoLoggedEntries(HWND window, DWORD* result) {
    Undo undo = beginUndo(window);
    *result = 0;
    MSG message;
    ::PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // a queue for WM_QUIT
    // No installation folder may stay held open as the current folder.
    if (runEnvironment.tempDir) ::SetCurrentDirectoryA(runEnvironment.tempDir.get());

    const char* text = uninstallState.entryText ? uninstallState.entryText : "";
    LogLinesBackward lines(text, std::strlen(text));
    const int lineCount = lines.count();
    if (lineCount == 0) {
        *result = 1;
        return false;
    }

    LogEntry entry;
    int total = 0;
    const char* line = nullptr;
    std::size_t length = 0;
    StringList& ownFiles = uninstallState.ownFilesLeft;
    if (!ownFiles.isCreated()) ownFiles.create(2);
    ownFiles.clear();
    StringList& entryLines = uninstallState.entryLinesLeft;
    if (!entryLines.isCreated()) entryLines.create(2);
    entryLines.clear();
    UndoProgress progress;
    // Empty before the first line: a line's status shows once it is done.
    if (window) showLine(undo);
    while (lines.next(&line, &length)) {
        // A line an earlier, cut-off undo got through is passed over, but for what is kept for
        // the end: that is not done until the end.
        const bool passed = progress.passOver();
        if (window && !passed) {
            if (!checkpoint()) return false;
            total += kProgressPerLine;
            showProgress(undo, total, lineCount);
            ::Sleep(kVisibleRemovalMs / static_cast<DWORD>(lineCount));
        }
        undo.shownPath = "";
        parseLogLine(line, length, entry);
        if (keptForTheEnd(entry, line, length)) {
            if (!passed) progress.lineUndone();
            continue;
        }
        if (passed) continue;
        // Each line in the view it was written in: a 64-bit product's on the native side.
        RegistryViewScope keys(entry.view);
        NativeFileView files(entry.view == kView64);
        undoLine(undo, entry);
        progress.lineUndone();
        if (window) showLine(undo);
    }
    return !window || checkpoint();
}

DWORD removeOwnFiles(HWND window) {
    Undo undo = beginUndo(window);
    // The product's entry first: with the uninstaller gone it could start nothing any more.
    LogEntry entry;
    for (int i = 0; i < uninstallState.entryLinesLeft.count(); ++i) {
        if (!parseLogLine(uninstallState.entryLinesLeft.get(i), entry)) continue;
        RegistryViewScope keys(entry.view);
        undoLine(undo, entry);
    }
    const StringList& ownFiles = uninstallState.ownFilesLeft;
    if (ownFiles.count() != 0) {
        for (int i = 0; i < ownFiles.count(); ++i) {
            undo.status = uninstallerText(kUnStatusFiles);
            undo.shownPath = ownFiles.get(i);
            undoFile(undo, ownFiles.get(i));
            if (window) showLine(undo);
        }
        // The folders that held only them are empty now; the list has inner folders first.
        StringList& leftovers = uninstallState.leftoverFolders;
        for (int i = 0; i < leftovers.count();) {
            const char* folder = leftovers.get(i);
            if (folder && folderIsEmpty(folder, true)) {
                ::SetFileAttributesA(folder, FILE_ATTRIBUTE_NORMAL);
                ::RemoveDirectoryA(folder);
                leftovers.removeAt(i);
            } else {
                ++i;
            }
        }
    }

    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    if (!checkpoint()) return 0;
    ::SetEvent(uninstallState.uninstallDoneEvent.get());
    if (!window) return 0;
    if (uninstallState.leftoverFolders.count() == 0) {
        ::EndDialog(window, 0);
        return 0;
    }
    showLeftoverPage(window);
    return 0;
}

DWORD WINAPI uninstallThread(void* parameter) {
    HWND window = static_cast<HWND>(parameter);
    DWORD result = 0;
    return undoLoggedEntries(window, &result) ? removeOwnFiles(window) : result;
}

}  // namespace kelvara
