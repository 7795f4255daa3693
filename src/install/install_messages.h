// Numbers of the texts the installation shows, in the current language: items of errorMessages
// unless said otherwise.
#pragma once

#include "formats/script_format.h"

namespace kelvara {

constexpr int kMsgNoWizardWindow = 0;          // the wizard's window cannot be made: setup ends
constexpr int kMsgFileNoWriteAccess = 2;       // existing file the user may not write: path, path
constexpr int kMsgFileOpenError = 5;           // existing file: path, error text
constexpr int kMsgFolderNoAddFile = 8;         // new file, folder refuses files: path, folder
constexpr int kMsgFileCreateError = 11;        // new file: path, error text
constexpr int kMsgTempFileError = 13;          // no temporary file for a deferral: path, error
constexpr int kMsgDiskFull = 14;               // OK writes again, Cancel ends: path
constexpr int kMsgWriteError = 15;             // path, error text
constexpr int kMsgFolderError = 21;            // folder, error text
constexpr int kMsgShortcutError = 27;          // the shortcut could not be made: link path
constexpr int kMsgNoSubfolderRight = 35;       // path, parent (the user may not add folders)
constexpr int kMsgFolderAccessDenied = 36;     // path, parent
constexpr int kMsgDriveAccessDenied = 37;      // path, drive
constexpr int kMsgNoSubfolderRightDrive = 38;  // path, drive

// setupMessages.
constexpr int kMsgRestartQuestion = 1;
constexpr int kMsgRestartForInUseFiles = 5;
constexpr int kMsgFileInUse = 6;  // Yes tries again, No defers to the restart: path
constexpr int kMsgCompletedWithErrors = 9;

// Page slot of the Installing page and its phase captions.
constexpr int kInstallingPage = kPageInstalling;
constexpr int kCaptionShortcuts = 5;
constexpr int kCaptionRegistry = 6;
constexpr int kCaptionIni = 7;
constexpr int kCaptionAssociations = 8;
constexpr int kCaptionFinishing = 13;

}  // namespace kelvara
