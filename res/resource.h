/* Resource and control identifiers of Brumix, in one place. */
#ifndef BRUMIX_RESOURCE_H
#define BRUMIX_RESOURCE_H

/* Icons */
#define IDI_APP                 1
#define IDI_BROWSE              100

/* Dialogs */
#define IDD_MAIN                1
#define IDD_HELP                2
#define IDD_QUESTION            3

/* Raw data */
#define IDR_HELP_TEXT           1

/* Main dialog (IDOK 1, IDCANCEL 2 and IDHELP 9 are the system's) */
#define IDC_TITLE               100
#define IDC_FOLDER              101
#define IDC_BROWSE_FOLDER       102
#define IDC_PATTERNS            103
#define IDC_BROWSE_PATTERNS     104
#define IDC_CONFIRM             105
#define IDC_RECURSE             106

/* Help dialog */
#define IDC_HELP_TEXT           100

/* Question dialog (its buttons are the system's IDOK, IDCANCEL, IDYES and IDNO). Its text
   has the id of a message box's text, and its icon that of a message box's icon on Windows,
   so that whatever reads a message box reads the question asked in its place too. */
#define IDC_QUESTION_ICON       20
#define IDC_QUESTION_TEXT       0xFFFF

#endif
