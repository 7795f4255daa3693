#include "kelvara-build/image/default_texts.h"

#include <algorithm>
#include <iterator>

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;

// The installation steps answer Yes with "go on" (skipping the item) and No with "end the run",
// which is then rolled back; every such question ends with one of these two sentences.
#define KV_SKIP_FILE                                    \
    "\n\nDo you want to skip this file and continue?\n" \
    "If you click No, Setup stops and removes what it has installed so far."
#define KV_CONTINUE                                          \
    "\n\nDo you want to continue the installation anyway?\n" \
    "If you click No, Setup stops and removes what it has installed so far."

#define KV_TITLE "%ProductName% Setup"

// Page texts: item 0 is the frame title, item k fills control 1000 + k. Items are written only
// where the page has that control or reads the item itself; texts the engine uses "as stored"
// (components 6 and 9, destination 4 and 6, tasks 9, welcome 7, finish 9 and 10) name no
// variables, because nothing would expand them.
constexpr DefaultText kTexts[] = {
    {kPageLanguage, 0, KV_TITLE},
    {kPageLanguage, 1, "Select Setup Language"},
    {kPageLanguage, 2, "Choose the language to use during the installation."},
    {kPageLanguage, 3, "&Language:"},

    {kPageWelcome, 0, KV_TITLE},
    {kPageWelcome, 1, "Welcome to %ProductName% Setup"},
    {kPageWelcome, 2, "This wizard will install %ProductName% on your computer."},
    {kPageWelcome, 3, "It will guide you through a few short steps."},
    {kPageWelcome, 4, "We recommend that you close all other programs before you continue."},
    {kPageWelcome, 6, "Click Next to continue, or Cancel to exit Setup."},
    {kPageWelcome, 7, "Welcome to Setup"},

    {kPageLicense, 0, KV_TITLE},
    {kPageLicense, 1, "License Agreement"},
    {kPageLicense, 2, "Please read the following &license agreement."},
    {kPageLicense, 3, "Do you accept the terms of this license agreement?"},

    {kPageReadme, 0, KV_TITLE},
    {kPageReadme, 1, "Important Information"},
    {kPageReadme, 2, "Please read the following important &information."},

    // The components page, written only for a product with components. Items 5 and 6 label the
    // space figures, which fill controls 7 and 8, as on the destination page (6 as stored, its
    // %DISK% the drive letter); 9 fills the description box while no part is picked (as stored),
    // 14 is the box's caption.
    {kPageComponents, 0, KV_TITLE},
    {kPageComponents, 1, "Choose Components"},
    {kPageComponents, 2, "Choose which parts of %ProductName% to install."},
    {kPageComponents, 3, "Setup &type:"},
    {kPageComponents, 4, "&Components:"},
    {kPageComponents, 5, "Space required:"},
    {kPageComponents, 6, "Space available on drive %DISK%:"},
    {kPageComponents, 9, "Select a component to see its description."},
    {kPageComponents, 14, "Description"},

    // The scope page, written only for a product that lets one choose.
    {kPageScope, 0, KV_TITLE},
    {kPageScope, 1, "Choose Users"},
    {kPageScope, 2, "Choose for whom Setup installs %ProductName%."},
    {kPageScope, 3, "Install for &all users of this computer"},
    {kPageScope, 4,
     "Everyone who uses this computer can use the program. Setup needs administrator rights "
     "for this."},
    {kPageScope, 5, "Install just for &me"},
    {kPageScope, 6,
     "Only you can use the program. It goes into your own folders, and Setup needs no "
     "administrator rights."},

    {kPageDestination, 0, KV_TITLE},
    {kPageDestination, 1, "Choose Install Location"},
    {kPageDestination, 2,
     "Setup will install %ProductName% in the following folder. To use a different folder, "
     "type its path or click Browse."},
    {kPageDestination, 3, "Destination &folder"},
    {kPageDestination, 4, "Select the folder to install the program in:"},
    {kPageDestination, 5, "Space required:"},
    {kPageDestination, 6, "Space available on drive %DISK%:"},

    // The tasks page, written only for a product with tasks; 9 as on the components page.
    {kPageTasks, 0, KV_TITLE},
    {kPageTasks, 1, "Additional Tasks"},
    {kPageTasks, 2, "Choose what else Setup should do, then click Next."},
    {kPageTasks, 3, "Additional &tasks:"},
    {kPageTasks, 9, "Select a task to see its description."},

    {kPageStartMenu, 0, KV_TITLE},
    {kPageStartMenu, 1, "Choose Start Menu Folder"},
    {kPageStartMenu, 2,
     "Setup will add &shortcuts to the Start Menu folder below. Type a new name or pick an "
     "existing folder."},
    {kPageStartMenu, 3, "Create a &Start Menu folder"},
    {kPageStartMenu, 4, "Create shortcuts on the &desktop"},
    {kPageStartMenu, 5, "Create shortcuts on the &Quick Launch bar"},

    {kPageReady, 0, KV_TITLE},
    {kPageReady, 1, "Ready to Install"},
    {kPageReady, 2, "Setup is ready to install %ProductName% on your computer."},
    {kPageReady, 3, "Click Install to begin, or click Back to review or change any settings."},

    {kPageInstalling, 0, KV_TITLE},
    {kPageInstalling, 1, "Installing %ProductName%"},
    {kPageInstalling, 2, "Please wait while Setup installs %ProductName% on your computer."},
    {kPageInstalling, 3, "To stop the installation, click Cancel."},
    {kPageInstalling, 4, "Copying files..."},
    {kPageInstalling, 5, "Creating shortcuts..."},
    {kPageInstalling, 6, "Updating the registry..."},
    {kPageInstalling, 7, "Updating settings files..."},
    {kPageInstalling, 8, "Registering file types..."},
    {kPageInstalling, 13, "Finishing the installation..."},

    {kPageFinish, 0, KV_TITLE},
    {kPageFinish, 1, "Setup Finished"},
    {kPageFinish, 2, "Setup has finished installing %ProductName%."},
    {kPageFinish, 3, "You can now use %ProductName%. Click Finish to close Setup."},
    {kPageFinish, 4, "&Open the documentation"},
    {kPageFinish, 5, "&Start %ProductName% now"},
    {kPageFinish, 6, "&Restart the computer now"},
    {kPageFinish, 7,
     "Some parts could not be installed. The messages shown during setup describe the "
     "problems."},
    {kPageFinish, 8,
     "Windows must be restarted to finish the installation. Restart now, or clear the box "
     "below to restart later."},
    {kPageFinish, 9, "Some files were in use. Setup will replace them when the computer restarts."},
    {kPageFinish, 10, "The computer must be restarted to complete the installation."},

    // The programs-in-use page, before the Installing page when programs hold files that Setup
    // replaces; items 4 and 5 are the two answers.
    {kPageFilesInUse, 0, KV_TITLE},
    {kPageFilesInUse, 1, "Programs in Use"},
    {kPageFilesInUse, 2, "Running programs use files that Setup must replace."},
    {kPageFilesInUse, 3,
     "Setup can close these programs now and start them again when the installation is done:"},
    {kPageFilesInUse, 4, "&Close them automatically and start them again"},
    {kPageFilesInUse, 5, "&Do not close them (a restart will be needed)"},

    // General questions and notices. The two quit questions take Yes as "quit".
    {kSetup, 0,
     "Setup has not finished. If you quit now, the program will not be installed.\n\n"
     "Do you want to quit Setup?"},
    {kSetup, 1,
     "Your computer must be restarted to finish the configuration.\n\n"
     "Do you want to restart now?"},
    {kSetup, 2,
     "The installation folder is not valid.\n\n"
     "Please enter the full path of a folder, including its drive."},
    {kSetup, 3,
     "The destination folder is not valid.\n\n"
     "Please enter the full path of a folder, including its drive."},
    {kSetup, 4, "Do you want to stop extracting the files?"},
    {kSetup, 5,
     "Some files that Setup had to replace were in use. They will be replaced when your "
     "computer restarts.\n\nDo you want to restart now?"},
    {kSetup, 6,
     "The following file is in use by another program:\n%s\n\n"
     "Do you want to try again? Close that program first, then click Yes.\n"
     "If you click No, the file will be replaced when your computer restarts."},
    {kSetup, 7, "The following file is in use by another program and cannot be replaced:\n%s"},
    {kSetup, 8,
     "Setup is still installing the program.\n"
     "If you quit before it has finished, everything installed so far is removed.\n\n"
     "Do you want to quit Setup?"},
    {kSetup, 9,
     "Setup has finished, but some parts of the program could not be installed.\n"
     "The messages shown during the installation describe the problems."},
    {kSetup, 10, "Please restart your computer before you use %s."},
    {kSetup, 11,
     "You need administrator rights to install this program.\n\n"
     "Please log on as an administrator and run Setup again."},
    {kSetup, 12,
     "This program needs Windows NT, Windows 2000, Windows XP or a later version of Windows."},
    {kSetup, 13, "This program needs %s or a later version.\n\nSetup cannot continue."},
    {kSetup, 14, "This program needs a 64-bit version of Windows."},
    {kSetup, 15, "This program needs an ARM64 version of Windows."},
    {kSetup, 16,
     "These programs use files that Setup must replace:\n\n%s\n\n"
     "Do you want Setup to close them and start them again afterwards?\n"
     "If you click No, they keep running, and the computer must be restarted to finish the "
     "installation."},
    {kSetup, 17,
     "A newer version of %s is already installed on this computer (version %s).\n\n"
     "Setup cannot install the older version %s over it. To use this version, uninstall the "
     "newer one first."},

    // Errors of the installation steps. Arguments: see each text's %s in order.
    {kError, 0,
     "Setup could not create the window it needs for the installation.\n\n"
     "Setup will now close."},
    {kError, 1, "Access was denied when Setup tried to read this file:\n%s" KV_SKIP_FILE},
    {kError, 2, "You do not have permission to change this file:\n%s" KV_SKIP_FILE},
    {kError, 3, "Access was denied when Setup tried to open this file:\n%s" KV_SKIP_FILE},
    {kError, 4, "Setup could not open this file for reading:\n%s\n\n%s" KV_SKIP_FILE},
    {kError, 5, "Setup could not open this file to replace it:\n%s\n\n%s" KV_SKIP_FILE},
    {kError, 6, "Setup could not open this file:\n%s\n\n%s" KV_SKIP_FILE},
    {kError, 7, "Access was denied when Setup tried to create this file:\n%s" KV_SKIP_FILE},
    {kError, 8,
     "Setup could not create the file\n%s\n"
     "because you do not have permission to add files to the folder\n%s" KV_SKIP_FILE},
    {kError, 9,
     "Access was denied when Setup tried to create and open this file:\n%s" KV_SKIP_FILE},
    {kError, 10, "Setup could not create this file for reading:\n%s\n\n%s" KV_SKIP_FILE},
    {kError, 11, "Setup could not create this file:\n%s\n\n%s" KV_SKIP_FILE},
    {kError, 12, "Setup could not create and open this file:\n%s\n\n%s" KV_SKIP_FILE},
    {kError, 13,
     "The following file is in use. Setup could not create the temporary file\n"
     "needed to replace it when your computer restarts:\n%s\n\n%s" KV_SKIP_FILE},
    {kError, 14,
     "There is not enough space on the disk to write this file:\n%s\n\n"
     "Free some disk space, then click OK to try again.\n"
     "Click Cancel to stop Setup and remove what it has installed so far."},
    {kError, 15, "Setup could not write this file:\n%s\n\n%s" KV_SKIP_FILE},
    {kError, 16, "Setup could not read this file:\n%s"},
    {kError, 17, "Setup could not move this file:\n%s"},
    {kError, 18, "Setup could not read the attributes of this file:\n%s"},
    {kError, 19, "Setup could not set the attributes of this file:\n%s"},
    {kError, 20, "Setup could not determine the size of this file:\n%s"},
    {kError, 21, "Setup could not create this folder:\n%s\n\n%s" KV_CONTINUE},
    {kError, 22, "Setup could not load this file into memory:\n%s"},
    {kError, 23, "Setup could not read the contents of this file into memory:\n%s"},
    {kError, 24, "Setup could not create this registry key:\n%s\n\n%s" KV_CONTINUE},
    {kError, 25,
     "Setup could not write the registry value \"%s\" in the key\n%s\n\n%s" KV_CONTINUE},
    {kError, 26,
     "You do not have permission to make the changes Setup needs in the registry." KV_CONTINUE},
    {kError, 27, "Setup could not create this shortcut:\n%s" KV_CONTINUE},
    // The caller puts the component's name in front of this text.
    {kError, 28,
     "\nThis component could not be registered, so some features may not work." KV_CONTINUE},
    {kError, 29,
     "Setup could not restart your computer.\n\n"
     "Please restart it yourself to finish the installation."},
    {kError, 30, "Setup could not register the file type %s." KV_CONTINUE},
    {kError, 31,
     "The drive of the destination folder does not exist.\n\nPlease choose another folder."},
    {kError, 32,
     "You do not have permission to create files in the destination folder.\n\n"
     "Please choose another folder."},
    {kError, 33,
     "You do not have permission to create folders in\n%s\n\n"
     "Please choose another destination folder."},
    {kError, 34,
     "You do not have permission to use the drive of the destination folder.\n\n"
     "Please choose another folder."},
    {kError, 35,
     "Setup could not create the folder\n%s\n"
     "because you do not have permission to create folders in\n%s" KV_CONTINUE},
    {kError, 36,
     "Setup could not create the folder\n%s\n"
     "because access to the folder\n%s\nwas denied." KV_CONTINUE},
    {kError, 37,
     "Setup could not create the folder\n%s\nbecause access to the drive was denied." KV_CONTINUE},
    {kError, 38,
     "Setup could not create the folder\n%s\n"
     "because you do not have permission to create folders on this drive." KV_CONTINUE},
    {kError, 39,
     "There is not enough free space on the destination drive.\n\n"
     "Please free some space or choose another folder."},
    {kError, 40, "Setup could not run this program file:\n%s\n\n%s" KV_CONTINUE},
    {kError, 41,
     "This program file ended with an exit code that says it failed:\n%s\n\nExit code: "
     "%s" KV_CONTINUE},
    {kError, 42, "Setup could not call the function %s in the file\n%s\n\n%s" KV_CONTINUE},

    // Wizard buttons. Cancel and OK answer to Esc and Enter, so they carry no mark.
    {kButton, 0, "< &Back"},
    {kButton, 1, "&Next >"},
    {kButton, 2, "Cancel"},
    {kButton, 3, "&Install"},
    {kButton, 4, "E&xit"},
    {kButton, 5, "&Yes"},
    {kButton, 6, "&No"},
    {kButton, 7, "B&rowse..."},
    {kButton, 8, "&Finish"},
    {kButton, 9, "&Extract"},
    {kButton, 10, "OK"},
};

#undef KV_SKIP_FILE
#undef KV_CONTINUE
#undef KV_TITLE

constexpr bool isSorted() {
    for (std::size_t i = 1; i < std::size(kTexts); ++i) {
        const DefaultText& a = kTexts[i - 1];
        const DefaultText& b = kTexts[i];
        if (a.table > b.table || (a.table == b.table && a.item >= b.item)) return false;
    }
    return true;
}
static_assert(isSorted(), "default texts must be sorted by table, then item, without repeats");

}  // namespace

std::span<const DefaultText> defaultEnglishTexts() {
    return kTexts;
}

const char* defaultEnglishText(int table, int item) {
    const auto* found =
        std::lower_bound(std::begin(kTexts), std::end(kTexts), DefaultText{table, item, nullptr},
                         [](const DefaultText& a, const DefaultText& b) {
                             return a.table != b.table ? a.table < b.table : a.item < b.item;
                         });
    if (found == std::end(kTexts) || found->table != table || found->item != item) return nullptr;
    return found->text;
}

}  // namespace kelvara::build
