#include "install/folder_chain_win32.h"

#include <cstring>

#include "environment/run_environment.h"
#include "install/install_messages.h"
#include "install/install_run_win32.h"
#include "install/install_state.h"
#include "runtime/access_check_win32.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"

namespace kelvara {
namespace {

constexpr UINT kQuestion = MB_YESNO | MB_ICONERROR;

bool isDriveOnly(const char* path) {
    return std::strlen(path) <= 2;
}

// Where the chain's own folders start: after the drive and colon, or after the server and share
// of a network path, and one backslash after that.
std::size_t rootLength(const char* path) {
    std::size_t i = 0;
    if (path[0] == '\\' && path[1] == '\\') {
        i = 2;
        for (int names = 0; names < 2 && path[i]; ++names) {
            while (path[i] && path[i] != '\\') ++i;
            if (names == 0 && path[i] == '\\') ++i;
        }
    } else if (path[0] && path[1] == ':') {
        i = 2;
    }
    if (path[i] == '\\') ++i;
    return i;
}

// One folder of the chain. 0 when it exists now (made or found); otherwise the user's answer
// has been taken: kGoOn (Yes) or the error code (No).
constexpr DWORD kGoOn = 0xFFFFFFFF;

DWORD makeOne(InstallRun& run, const char* requested, const char* folder, bool* created) {
    *created = false;
    // Only the folders that are not there yet are looked at twice: the journal names one before
    // it is made, so that a run killed right after leaves none behind.
    if (surelyMissing(folder) && !journalNewItem(run, kLogFolder, folder)) return ERROR_WRITE_FAULT;
    if (::CreateDirectoryA(folder, nullptr)) {
        *created = true;
        return 0;
    }
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return 0;
    if (error == ERROR_ACCESS_DENIED && pathExists(folder)) return 0;
    int answer;
    if (error == ERROR_ACCESS_DENIED) {
        answer = reportFolderAccessDenied(run, requested, folder, ::GetLastError());
    } else {
        answer = askUser(run, kMsgFolderError, folder, systemErrorText(error), kQuestion);
    }
    return answer == IDYES ? kGoOn : error;
}

// The user gave up on the chain: the run ends as failed. (Going on after a report keeps
// installSucceeded: the files that then cannot be written report themselves.)
DWORD giveUp(DWORD error) {
    installState.installSucceeded = false;
    return error;
}

}  // namespace

int reportFolderAccessDenied(InstallRun& run, const char* requested, const char* failing,
                             DWORD lastError) {
    HeapString parent(folderPart(failing));
    const char* p = parent ? parent.get() : "";
    bool drive = isDriveOnly(p);
    ErrorMessage item = drive ? kMsgDriveAccessDenied : kMsgFolderAccessDenied;
    if (lastError != ERROR_ACCESS_DENIED) {
        bool granted = true;
        DWORD checked = checkAccess(runEnvironment.threadToken.get(), p, kObjectFile,
                                    FILE_ADD_SUBDIRECTORY, &granted);
        if (checked == 0 && !granted)
            item = drive ? kMsgNoSubfolderRightDrive : kMsgNoSubfolderRight;
    }
    return askUser(run, item, requested, p, kQuestion);
}

DWORD createFolderChain(InstallRun& run, const char* path) {
    if (!isValidInstallPath(path)) {
        int answer =
            askUser(run, kMsgFolderError, path, systemErrorText(ERROR_BAD_PATHNAME), kQuestion);
        return answer == IDYES ? 0 : giveUp(ERROR_BAD_PATHNAME);
    }
    HeapString copy(strDupExtra(path, 0));
    if (!copy) return ERROR_NOT_ENOUGH_MEMORY;
    char* work = copy.get();
    stripTrailingSeparator(work);
    for (char* cut = work + rootLength(work); *cut; ++cut) {
        if (*cut != '\\') continue;
        *cut = '\0';
        bool created = false;
        DWORD result = makeOne(run, path, work, &created);
        if (created) run.log.addPath(kLogFolder, work, kLogToRollback | kLogJournaled);
        *cut = '\\';
        if (result == kGoOn) return 0;
        if (result != 0) return giveUp(result);
    }
    bool created = false;
    DWORD result = makeOne(run, path, work, &created);
    if (result == kGoOn) return 0;
    if (result != 0) return giveUp(result);
    // Only a folder this run made is logged: one that was there before (a drive, a folder of the
    // user's) is never the uninstaller's to remove or to offer.
    // (In the journal already, as every folder of the chain, from before it was made.)
    if (created)
        run.log.addPath(kLogFolder, work, kLogToRollback | kLogJournaled | kLogExcludeSystemFolder);
    return 0;
}

}  // namespace kelvara
