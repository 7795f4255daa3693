// Numbers of the texts the installation shows, in the current language: items of errorMessages
// unless said otherwise.
#pragma once

#include "formats/languages.h"
#include "formats/script_format.h"

namespace kelvara {

constexpr ErrorMessage kMsgNoWizardWindow{0};  // the wizard's window cannot be made: setup ends
constexpr ErrorMessage kMsgFileNoWriteAccess{
    2};                                          // existing file the user may not write: path, path
constexpr ErrorMessage kMsgFileOpenError{5};     // existing file: path, error text
constexpr ErrorMessage kMsgFolderNoAddFile{8};   // new file, folder refuses files: path, folder
constexpr ErrorMessage kMsgFileCreateError{11};  // new file: path, error text
constexpr ErrorMessage kMsgTempFileError{13};    // no temporary file for a deferral: path, error
constexpr ErrorMessage kMsgDiskFull{14};         // OK writes again, Cancel ends: path
constexpr ErrorMessage kMsgWriteError{15};       // path, error text
constexpr ErrorMessage kMsgFolderError{21};      // folder, error text
constexpr ErrorMessage kMsgShortcutError{27};    // the shortcut could not be made: link path
constexpr ErrorMessage kMsgNotRegistered{28};    // after the component's name, which precedes it
constexpr ErrorMessage kMsgNoSubfolderRight{35};    // path, parent (the user may not add folders)
constexpr ErrorMessage kMsgFolderAccessDenied{36};  // path, parent
constexpr ErrorMessage kMsgDriveAccessDenied{37};   // path, drive
constexpr ErrorMessage kMsgNoSubfolderRightDrive{38};  // path, drive
constexpr ErrorMessage kMsgProgramNotStarted{40};      // program, error text
constexpr ErrorMessage kMsgProgramFailed{41};          // program, its exit code
constexpr ErrorMessage kMsgDllCallFailed{42};          // function, DLL, error text

// setupMessages.
constexpr SetupMessage kMsgRestartQuestion{1};
constexpr SetupMessage kMsgRestartForInUseFiles{5};
constexpr SetupMessage kMsgFileInUse{6};  // Yes tries again, No defers to the restart: path
constexpr SetupMessage kMsgCompletedWithErrors{9};

// Page slot of the Installing page and its phase captions.
constexpr int kInstallingPage = kPageInstalling;
constexpr int kCaptionShortcuts = 5;
constexpr int kCaptionRegistry = 6;
constexpr int kCaptionIni = 7;
constexpr int kCaptionAssociations = 8;
constexpr int kCaptionFinishing = 13;

}  // namespace kelvara
