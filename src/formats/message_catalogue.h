// The messages of the script's two message tables, setupMessages and errorMessages: the number
// of each one the engine shows, what the engine fills its %s with, in order, and whether the
// person answers it as a question. The engine names its messages here; the builder checks a
// project's own texts against it, and its test checks the default texts. Portable.
#pragma once

#include "formats/languages.h"
#include "formats/script_format.h"

namespace kelvara {

// setupMessages.
constexpr SetupMessage kMsgQuitBeforeInstall{0};     // Yes quits
constexpr SetupMessage kMsgRestartQuestion{1};       // Yes restarts now
constexpr SetupMessage kMsgInvalidPath{2};           // the destination is not a full path
constexpr SetupMessage kMsgRestartForInUseFiles{5};  // Yes restarts now
constexpr SetupMessage kMsgFileInUse{6};          // Yes tries again, No defers to the restart: path
constexpr SetupMessage kMsgQuitDuringInstall{8};  // Yes quits and rolls back
constexpr SetupMessage kMsgCompletedWithErrors{9};
constexpr SetupMessage kMsgRestartReminder{10};        // the short product name
constexpr SetupMessage kMsgCloseApplications{16};      // Yes closes them: the programs' names
constexpr SetupMessage kMsgNewerVersionInstalled{17};  // product name, installed version, this

// errorMessages. Yes goes on without the step, No ends the run and rolls it back.
constexpr ErrorMessage kMsgNoWizardWindow{0};     // the wizard's window cannot be made: setup ends
constexpr ErrorMessage kMsgFileNoWriteAccess{2};  // existing file the user may not write: path,
                                                  // path
constexpr ErrorMessage kMsgFileOpenError{5};      // existing file: path, error text
constexpr ErrorMessage kMsgFolderNoAddFile{8};    // new file, folder refuses files: path, folder
constexpr ErrorMessage kMsgFileCreateError{11};   // new file: path, error text
constexpr ErrorMessage kMsgTempFileError{13};     // no temporary file for a deferral: path, error
constexpr ErrorMessage kMsgDiskFull{14};          // OK writes again, Cancel ends: path
constexpr ErrorMessage kMsgWriteError{15};        // path, error text
constexpr ErrorMessage kMsgFolderError{21};       // folder, error text
constexpr ErrorMessage kMsgRegistryKeyError{24};  // root\key, error text
constexpr ErrorMessage kMsgRegistryValueError{25};  // value name, root\key, error text
constexpr ErrorMessage kMsgShortcutError{27};       // the shortcut could not be made: link path
constexpr ErrorMessage kMsgNotRegistered{28};       // after the component's name, which precedes it
constexpr ErrorMessage kMsgRestartFailed{29};       // the restart could not be started
constexpr ErrorMessage kMsgAssociationError{30};    // extension
constexpr ErrorMessage kMsgNoDrive{31};             // the destination's drive does not exist
constexpr ErrorMessage kMsgNoFileRight{32};         // no right to add files to the destination
constexpr ErrorMessage kMsgNoFolderRight{33};       // nor folders to its nearest ancestor
constexpr ErrorMessage kMsgDestinationDriveDenied{34};  // no right to use its drive
constexpr ErrorMessage kMsgNoSubfolderRight{35};        // path, parent (no right to add folders)
constexpr ErrorMessage kMsgFolderAccessDenied{36};      // path, parent
constexpr ErrorMessage kMsgDriveAccessDenied{37};       // path, drive
constexpr ErrorMessage kMsgNoSubfolderRightDrive{38};   // path, drive
constexpr ErrorMessage kMsgNotEnoughSpace{39};          // on the destination's drive
constexpr ErrorMessage kMsgProgramNotStarted{40};       // program, error text
constexpr ErrorMessage kMsgProgramFailed{41};           // program, its exit code
constexpr ErrorMessage kMsgDllCallFailed{42};           // function, DLL, error text

// One message: its table (kTableSetupMessages or kTableErrorMessages) and item; what fills its
// %s, one letter each in order: f a file, d a folder, e the system's error text (always last),
// k a registry key, v a registry value name, s a shortcut, x a file-name extension, n a name or
// number; and whether it asks (Yes and No, or the quit questions) rather than tells.
struct MessageInfo {
    int table;
    int item;
    const char* arguments;
    bool question;
};

// Every item of both tables, in table and item order. (Data for the builder and the tests: the
// engine reads none of it at run time.)
inline constexpr MessageInfo kMessageCatalogue[] = {
    {kTableSetupMessages, 0, "", true},     {kTableSetupMessages, 1, "", true},
    {kTableSetupMessages, 2, "", false},    {kTableSetupMessages, 3, "", false},
    {kTableSetupMessages, 4, "", true},     {kTableSetupMessages, 5, "", true},
    {kTableSetupMessages, 6, "f", true},    {kTableSetupMessages, 7, "f", false},
    {kTableSetupMessages, 8, "", true},     {kTableSetupMessages, 9, "", false},
    {kTableSetupMessages, 10, "n", false},  {kTableSetupMessages, 11, "", false},
    {kTableSetupMessages, 12, "", false},   {kTableSetupMessages, 13, "n", false},
    {kTableSetupMessages, 14, "", false},   {kTableSetupMessages, 15, "", false},
    {kTableSetupMessages, 16, "n", true},   {kTableSetupMessages, 17, "nnn", false},
    {kTableErrorMessages, 0, "", false},    {kTableErrorMessages, 1, "f", true},
    {kTableErrorMessages, 2, "f", true},    {kTableErrorMessages, 3, "f", true},
    {kTableErrorMessages, 4, "fe", true},   {kTableErrorMessages, 5, "fe", true},
    {kTableErrorMessages, 6, "fe", true},   {kTableErrorMessages, 7, "f", true},
    {kTableErrorMessages, 8, "fd", true},   {kTableErrorMessages, 9, "f", true},
    {kTableErrorMessages, 10, "fe", true},  {kTableErrorMessages, 11, "fe", true},
    {kTableErrorMessages, 12, "fe", true},  {kTableErrorMessages, 13, "fe", true},
    {kTableErrorMessages, 14, "f", false},  {kTableErrorMessages, 15, "fe", true},
    {kTableErrorMessages, 16, "f", false},  {kTableErrorMessages, 17, "f", false},
    {kTableErrorMessages, 18, "f", false},  {kTableErrorMessages, 19, "f", false},
    {kTableErrorMessages, 20, "f", false},  {kTableErrorMessages, 21, "de", true},
    {kTableErrorMessages, 22, "f", false},  {kTableErrorMessages, 23, "f", false},
    {kTableErrorMessages, 24, "ke", true},  {kTableErrorMessages, 25, "vke", true},
    {kTableErrorMessages, 26, "", true},    {kTableErrorMessages, 27, "s", true},
    {kTableErrorMessages, 28, "", true},    {kTableErrorMessages, 29, "", false},
    {kTableErrorMessages, 30, "x", true},   {kTableErrorMessages, 31, "", false},
    {kTableErrorMessages, 32, "", false},   {kTableErrorMessages, 33, "d", false},
    {kTableErrorMessages, 34, "", false},   {kTableErrorMessages, 35, "dd", true},
    {kTableErrorMessages, 36, "dd", true},  {kTableErrorMessages, 37, "d", true},
    {kTableErrorMessages, 38, "d", true},   {kTableErrorMessages, 39, "", false},
    {kTableErrorMessages, 40, "fe", true},  {kTableErrorMessages, 41, "fn", true},
    {kTableErrorMessages, 42, "nfe", true},
};

// The catalogue's entry of (table, item), or null when that item is no message the engine shows.
constexpr const MessageInfo* findMessage(int table, int item) {
    for (const MessageInfo& message : kMessageCatalogue) {
        if (message.table == table && message.item == item) return &message;
    }
    return nullptr;
}

}  // namespace kelvara
