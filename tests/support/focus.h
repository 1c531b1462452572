// The keyboard focus of another process's windows, read and waited for.
#ifndef BRUMIX_TESTS_FOCUS_H
#define BRUMIX_TESTS_FOCUS_H

#include <windows.h>

// The window that has the keyboard focus in the thread that owns `window`, or null.
HWND FocusOfThread(HWND window);
// Waits (bounded, like every wait of the driver) until `expected` has the focus.
bool WaitForFocusOn(HWND expected);

#endif
