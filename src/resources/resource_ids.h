// Identifiers of the engine's resources, shared by the .rc files and the C++ code.
// Only #define lines: the resource compiler reads this file too.
#ifndef KELVARA_RESOURCES_RESOURCE_IDS_H
#define KELVARA_RESOURCES_RESOURCE_IDS_H

// Static controls that the code never addresses; mingw's headers do not define it.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The application icon: the first icon group, so it is the one the shell shows for the file.
#define IDI_APP 100

// The confirmation dialog (Yes / Yes To All / No). Its Yes and No buttons are IDOK and IDCANCEL.
#define IDD_CONFIRMATION 200
#define IDC_CONFIRM_TEXT 1001
#define IDC_CONFIRM_ICON 1002
#define IDC_CONFIRM_YES_TO_ALL 1011

#endif

// The removal dialog of the uninstaller: standard and compact layout (always 20 apart). Its
// controls share their ids with the wizard pages: page text k fills control 1000 + k.
#ifndef KELVARA_RESOURCES_REMOVAL_DIALOG_IDS
#define KELVARA_RESOURCES_REMOVAL_DIALOG_IDS
#define IDD_REMOVAL 141
#define IDD_REMOVAL_COMPACT 161
#define IDC_PAGE_TITLE 1001
#define IDC_PAGE_SUBTITLE 1002
#define IDC_REMOVAL_STATUS 1003
#define IDC_REMOVAL_PATH 1004
#define IDC_PRODUCT_LABEL 1005
#define IDC_PRODUCT_LABEL_LINE 1006
#define IDC_REMOVAL_MESSAGE 1007
#define IDC_SELECT_ALL 1010
#define IDC_DELETE_CHECKED 1011
#define IDC_THIRD_BUTTON 1012
#define IDC_REMOVAL_PROGRESS 1023
#define IDC_LEFTOVER_TREE 1026
#define IDC_HEADER_LINE 1027
#endif
