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
// The progress window of a passive run: the Installing page's controls, no buttons.
#define IDD_PASSIVE_PROGRESS 201
#define IDC_CONFIRM_TEXT 1001
#define IDC_CONFIRM_ICON 1002
#define IDC_CONFIRM_YES_TO_ALL 1011

// The wizard: the frame (standard and compact layout, always 20 apart) and its pages. A page's
// template is 129 + its page index in the standard layout.
#define IDD_PAGE_LANGUAGE 129
#define IDD_PAGE_WELCOME 130
#define IDD_PAGE_LICENSE 131
#define IDD_PAGE_README 132
#define IDD_PAGE_COMPONENTS 133
#define IDD_PAGE_SCOPE 134
#define IDD_PAGE_DESTINATION 135
#define IDD_PAGE_TASKS 136
#define IDD_PAGE_START_MENU 137
#define IDD_PAGE_READY 138
#define IDD_PAGE_INSTALLING 139
#define IDD_PAGE_FINISH 140
#define IDD_WIZARD_FRAME 142
#define IDD_PAGE_LANGUAGE_COMPACT 149
#define IDD_PAGE_WELCOME_COMPACT 150
#define IDD_PAGE_LICENSE_COMPACT 151
#define IDD_PAGE_README_COMPACT 152
#define IDD_PAGE_COMPONENTS_COMPACT 153
#define IDD_PAGE_SCOPE_COMPACT 154
#define IDD_PAGE_DESTINATION_COMPACT 155
#define IDD_PAGE_TASKS_COMPACT 156
#define IDD_PAGE_START_MENU_COMPACT 157
#define IDD_PAGE_READY_COMPACT 158
#define IDD_PAGE_INSTALLING_COMPACT 159
#define IDD_PAGE_FINISH_COMPACT 160
#define IDD_WIZARD_FRAME_COMPACT 162
#define IDD_PAGE_FILES_IN_USE 143
#define IDD_PAGE_FILES_IN_USE_COMPACT 163

// Frame controls.
#define IDC_FRAME_PRODUCT_LABEL 1001
#define IDC_FRAME_LABEL_LINE 1002
#define IDC_FRAME_BAND_LINE 1003
#define IDC_FRAME_LABEL_LINE_COMPACT 1004
#define IDC_BACK 1010
#define IDC_NEXT 1011
#define IDC_CANCEL 1012

// Page controls. Page text k fills control IDC_PAGE_TEXT_FIRST + k, so most ids name the text
// they show (1001 and 1002, the title and subtitle, are below with the removal dialog's).
#define IDC_PAGE_TEXT_FIRST 1000
#define IDC_PAGE_TEXT_3 1003
#define IDC_PAGE_TEXT_4 1004
#define IDC_PAGE_TEXT_5 1005
#define IDC_PAGE_TEXT_6 1006
#define IDC_PAGE_TEXT_7 1007
#define IDC_PAGE_TEXT_8 1008
#define IDC_PAGE_TEXT_9 1009
#define IDC_BROWSE 1013
#define IDC_PAGE_TEXT_14 1014
#define IDC_RICH_TEXT 1017
#define IDC_PAGE_EDIT 1018
#define IDC_GROUP_LIST 1019
#define IDC_PAGE_COMBO 1021
#define IDC_INSTALL_PROGRESS 1023
#define IDC_CHOICE_TREE 1028

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
#define IDC_REMOVAL_BAND_LINE 1008
#define IDC_SELECT_ALL 1010
#define IDC_DELETE_CHECKED 1011
#define IDC_THIRD_BUTTON 1012
#define IDC_REMOVAL_PROGRESS 1023
#define IDC_LEFTOVER_TREE 1026
#define IDC_HEADER_LINE 1027
#endif
