// The uninstaller's own texts: it has no setup script, so the installation carries them in its
// language (the install log's "t" lines) and the uninstaller falls back to these English ones.
// Items 0, 1, 2 and 9 of uninstallTexts are those the uninstaller has always filled: its
// caption (a format for the short product name), the progress page's title and explanation (a
// format for the product name), and the product name. Portable.
#pragma once

namespace kelvara {

enum class UninstallerText : int {};

constexpr UninstallerText kUnCaption{0};
constexpr UninstallerText kUnRemovalTitle{1};
constexpr UninstallerText kUnRemovalSubtitle{2};
constexpr UninstallerText kUnConfirmRemoval{3};
constexpr UninstallerText kUnCompletedTitle{4};
constexpr UninstallerText kUnRemoved{5};
constexpr UninstallerText kUnRemovedWithErrors{6};
constexpr UninstallerText kUnQuitQuestion{7};
constexpr UninstallerText kUnFinish{8};
constexpr UninstallerText kUnCancel{10};
constexpr UninstallerText kUnLeftoverMessage{11};
constexpr UninstallerText kUnSelectAll{12};
constexpr UninstallerText kUnDelete{13};
constexpr UninstallerText kUnDeleteQuestion{14};
constexpr UninstallerText kUnConfirmCaption{15};
constexpr UninstallerText kUnStatusFiles{16};
constexpr UninstallerText kUnStatusShortcuts{17};
constexpr UninstallerText kUnStatusRegistryValues{18};
constexpr UninstallerText kUnStatusPrograms{19};
constexpr UninstallerText kUnStatusRegistryKeys{20};
constexpr UninstallerText kUnStatusDllCalls{21};
constexpr UninstallerText kUnStatusSharedFiles{22};
constexpr UninstallerText kUnValueErrorCaption{23};
constexpr UninstallerText kUnValueError{24};
constexpr UninstallerText kUnKeyErrorCaption{25};
constexpr UninstallerText kUnKeyError{26};
constexpr UninstallerText kUnStepErrorCaption{27};
constexpr UninstallerText kUnStepError{28};
constexpr UninstallerText kUnInUseCaption{29};
constexpr UninstallerText kUnInUse{30};
constexpr UninstallerText kUnSharedCaption{31};
constexpr UninstallerText kUnSharedQuestionStart{32};
constexpr UninstallerText kUnSharedQuestionFolder{33};
constexpr UninstallerText kUnSharedQuestionEnd{34};
constexpr UninstallerText kUnRemoveAllShared{35};
constexpr UninstallerText kUnCloseApplications{36};
constexpr UninstallerText kUnYes{37};
constexpr UninstallerText kUnYesToAll{38};
constexpr UninstallerText kUnNo{39};
constexpr UninstallerText kUnRestartQuestion{40};
constexpr UninstallerText kUnRestartFailed{41};
constexpr int kUninstallerProductName = 9;  // uninstallTexts item: the product's name
// uninstallTexts item: the lower left corner's text, carried (empty: none) only when the
// installer hid the engine's name there; the uninstaller then does the same.
constexpr int kUninstallerCornerText = 42;

struct UninstallerDefault {
    UninstallerText item;
    const char* text;
};

// Every text, by item.
inline constexpr UninstallerDefault kUninstallerEnglish[] = {
    {kUnCaption, "%s Uninstall"},
    {kUnRemovalTitle, "Application Removal"},
    {kUnRemovalSubtitle, "Please wait while the %s is removed from your computer."},
    {kUnConfirmRemoval, "Are you sure you want to completely remove %s?"},
    {kUnCompletedTitle, "Uninstall Completed"},
    {kUnRemoved, "%s have been succesfully removed from your computer."},
    {kUnRemovedWithErrors,
     "%s have been removed from your computer, but some of its entries could not be removed."},
    {kUnQuitQuestion,
     "The uninstall procedure is not complete. \nIf you quit now, the program will not be "
     "uninstalled properly. \n\nAre you sure you want to quit?"},
    {kUnFinish, "Finish"},
    {kUnCancel, "Cancel"},
    {kUnLeftoverMessage,
     "Some folders contain files which was not created by this installation and can not be "
     "deleted automatically. Select a check box near a file or a folder you want to delete and "
     "then click 'Delete' button."},
    {kUnSelectAll, "Select &all"},
    {kUnDelete, "&Delete"},
    {kUnDeleteQuestion, "Are you sure you want to delete all selected files and folders?"},
    {kUnConfirmCaption, "Confirm Operation"},
    {kUnStatusFiles, "Deleting files..."},
    {kUnStatusShortcuts, "Deleting Start menu shortcuts..."},
    {kUnStatusRegistryValues, "Deleting registry entries..."},
    {kUnStatusPrograms, "Launching programs..."},
    {kUnStatusRegistryKeys, "Deleting registry keys..."},
    {kUnStatusDllCalls, "Calling dll functions..."},
    {kUnStatusSharedFiles, "Deleting shared files..."},
    {kUnValueErrorCaption, "Deleting Registry Value"},
    {kUnValueError, "Error deleting registry value '%s' in the key '%s'.\n%s"},
    {kUnKeyErrorCaption, "Deleting Registry Key"},
    {kUnKeyError, "Error deleting registry key '%s'.\n%s"},
    {kUnStepErrorCaption, "Uninstall Step"},
    {kUnStepError, "This step of the uninstallation failed:\n%s\n\nThe uninstallation goes on."},
    {kUnInUseCaption, "Deleting File"},
    {kUnInUse,
     "The file %s \nis currently in use by another application.\nWould you like to try deleting "
     "the file again, rather than \ninitiating a reboot at the end of the uninstallation "
     "process?"},
    {kUnSharedCaption, "Shared File Detected"},
    {kUnSharedQuestionStart,
     "The system indicates that the following shared file is no longer used by any programs. If "
     "any programs are still using this file and it is removed, those programs may not function. "
     "Are you sure you want to remove the shared file? \n\nFile name: "},
    {kUnSharedQuestionFolder, "\nLocated in: "},
    {kUnSharedQuestionEnd,
     "\n\nLeaving this file will not harm your system. If you are not sure what to do, it is "
     "suggested that you choose to not to remove this shared component."},
    {kUnRemoveAllShared,
     "You have chosen to remove all shared components which the system indicates \nare no longer "
     "being used. This may cause some programs not to function if they \nstill require any of "
     "this files. Are you sure you want to proceed?"},
    {kUnCloseApplications,
     "These programs use files that must be removed:\n\n%s\n\n"
     "Do you want to close them now?\n"
     "If you click No, they keep running, and their files are removed when the computer "
     "restarts."},
    {kUnYes, "&Yes"},
    {kUnYesToAll, "Yes To &All"},
    {kUnNo, "&No"},
    {kUnRestartQuestion,
     "To complete the uninstallation your computer must be restarted. \nSome files are in use "
     "and can be deleted during system reboot only. \n\nRestart the system now?"},
    {kUnRestartFailed,
     "The computer could not be restarted.\n\nPlease restart it yourself to finish the "
     "uninstallation."},
};

// The English text of an item; "" for one that has none.
const char* englishUninstallerText(UninstallerText item);

// The item in uninstallTexts of the current language when the installation carried it, else
// the English one. The table keeps ownership.
const char* uninstallerText(UninstallerText item);

}  // namespace kelvara
