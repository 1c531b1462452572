// The help dialog and its text resource.
#ifndef BRUMIX_HELP_VIEWER_H
#define BRUMIX_HELP_VIEWER_H

#include <windows.h>

// The help text box's background, in the window colour: made when the help dialog opens,
// deleted when it closes.
extern HBRUSH g_helpBrush;

// Shows the text resource `textId` (RT_RCDATA, no terminator) in the dialog `dialogId`,
// modal to `owner`; returns once the dialog is closed.
void ShowHelp(HINSTANCE instance, int dialogId, HWND owner, int textId);

// The help dialog's procedure; its initialisation value is the terminated text.
INT_PTR CALLBACK HelpDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
