// The options, the pattern history and the last selection, kept in the registry.
#ifndef BRUMIX_PREFERENCES_H
#define BRUMIX_PREFERENCES_H

#include <windows.h>

BOOL LoadPreferences(HWND window);
BOOL SavePreferences(HWND window);

#endif
