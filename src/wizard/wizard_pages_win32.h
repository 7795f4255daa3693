// What each wizard page adds to the page procedure: the language, welcome, licence and readme
// pages (texts and the language switch), the destination and start menu pages (the user's
// choices, saved when the page goes), the Installing page (it starts the install thread) and the
// finish page (its notes and check boxes). The page procedure calls these through its table of
// page types; each works on the page window it is given (Windows only).
#pragma once
#include <windows.h>

namespace kelvara {

// Language page: the offered languages, sorted by name, the current one selected; picking one
// switches every text of the wizard at once.
void initialiseLanguagePage(HWND page);
bool handleLanguagePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

// Welcome page: the compact layout's title. Licence and readme pages: their texts.
void initialiseWelcomePage(HWND page);
void initialiseLicensePage(HWND page);
void initialiseReadmePage(HWND page);

// Destination page: the folder from %InstallPath%, the space needed and free, Browse; the folder
// typed is saved to %InstallPath% when the page goes.
void initialiseDestinationPage(HWND page);
bool handleDestinationPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
void saveDestinationPage(HWND page);

// The space the selection needs (page text 7) and the space free (8) on the drive of `folder`,
// with its letter in the label (6): the destination and components pages show them alike.
void showSpaceFigures(HWND page, const char* folder);

// Components page: the setup types, the tree of components with their check boxes and the
// description of the one selected, and the space figures, which follow every box. Tasks page:
// the tasks, those of one group a choice of one. The selection lives in setupState.choices as it
// changes; when either page goes, wizardState.choicesChanged applies it to the records.
void initialiseComponentsPage(HWND page);
bool handleComponentsPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
void initialiseTasksPage(HWND page);
bool handleTasksPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
void saveChoicePage(HWND page);

// Start menu page: the group from %ShortcutsGroup% among the existing program groups, and the
// three shortcut choices; saved when the page goes.
void initialiseStartMenuPage(HWND page);
bool handleStartMenuPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
void saveStartMenuPage(HWND page);

// Programs-in-use page, shown before the Installing page when programs hold files the run
// replaces: their names, and whether Setup closes them (the answer goes to the closing plan).
void initialiseFilesInUsePage(HWND page);
void saveFilesInUsePage(HWND page);

// Installing page: starts the install thread with the page as its window; the thread's handle
// and id go to installState. A thread that cannot be started is reported and ends the wizard.
void initialiseInstallingPage(HWND page);

// Finish page: the error and restart notes, the restart choice or the launch choices; saved
// when the page goes.
void initialiseFinishPage(HWND page);
void saveFinishPage(HWND page);

}  // namespace kelvara
