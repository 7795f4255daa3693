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
