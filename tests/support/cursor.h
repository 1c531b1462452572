// The mouse cursor that another program shows. GetCursorInfo reports the cursor of the
// foreground window's thread, by that program's own handle: a test compares it with the
// handles it saw the same program show before, never with cursors loaded here (under
// Wine each process has handles of its own for the system's cursors).
#ifndef BRUMIX_TESTS_CURSOR_H
#define BRUMIX_TESTS_CURSOR_H

#include <windows.h>

HCURSOR ShownCursor();
// Puts the mouse over a point of a window's client area and gives the cursor that the
// window shows once it has handled the move (bounded wait; null when it never did).
HCURSOR PointAt(HWND window, POINT client);
// Waits (bounded) until the cursor shown is `expected`.
bool WaitForCursor(HCURSOR expected);

#endif
