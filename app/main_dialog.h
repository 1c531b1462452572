// The main dialog and the process-wide handles that it owns.
#ifndef BRUMIX_MAIN_DIALOG_H
#define BRUMIX_MAIN_DIALOG_H

#include <windows.h>
#include "base/option_flags.h"
#include "res/resource.h"

extern HINSTANCE g_instance;
extern HICON g_browseIcon;
extern HWND g_mainWindow;   // also the owner of the per-file questions
extern HFONT g_bannerFont;

// The controls that a run disables, in the order in which they are switched.
constexpr int BusyControlIds[9] = {
    IDOK, IDCANCEL, IDHELP, IDC_FOLDER, IDC_BROWSE_FOLDER,
    IDC_PATTERNS, IDC_BROWSE_PATTERNS, IDC_CONFIRM, IDC_RECURSE,
};

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void SetBusy(HWND window, BOOL enable);
// Switching the controls off for a run takes the focus away, and nothing would give it
// back (Tab would start from a label, Enter would do nothing); the wait cursor would stay
// until the mouse moved. So, once the controls are on again: the control that had the
// focus (`focused`) gets it back, or OK when that one cannot take it, and the window under
// the mouse sets its cursor.
void RestoreAfterRun(HWND window, HWND focused);
void ApplyOptionFlags(HWND window, OptionFlags flags);
OptionFlags ReadOptionFlags(HWND window);

#endif
