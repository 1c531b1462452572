// The help dialog and its text resource.
#ifndef BRUMIX_HELP_VIEWER_H
#define BRUMIX_HELP_VIEWER_H

#include <windows.h>

void ShowHelp(HINSTANCE instance, int dialogId, HWND owner, int textId);

#endif
