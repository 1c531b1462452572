// The options, the pattern history and the last selection, kept in the registry.
#ifndef BRUMIX_PREFERENCES_H
#define BRUMIX_PREFERENCES_H

#include <windows.h>

// Below HKEY_USERS; shared by every account of the machine and by every running copy.
constexpr char PreferencesKey[] = ".Default\\Software\\Nuvaro\\Brumix\\Preferences\\";

// Fill the two option boxes and the pattern history of the main dialog from the registry,
// and store them back. False when the preferences key can be neither opened nor created.
BOOL LoadPreferences(HWND window);
BOOL SavePreferences(HWND window);

// The history index that a value name of the "MRU" subkey stands for: the names that the
// save writes ("%2.2d": "00" to "99", then "100", ...). -1 for any other name.
int ParseHistoryIndex(const char* name);

#endif
