// The preferences in the main dialog's controls: the stored values put into the two
// option boxes and the pattern box at start, and taken from them at closing.
#ifndef BRUMIX_DIALOG_PREFERENCES_H
#define BRUMIX_DIALOG_PREFERENCES_H

#include <windows.h>

// Fills the option boxes, the pattern history and its selection from the store. False
// when the store cannot be opened: the boxes then show the presets, as on a first start.
BOOL LoadDialogPreferences(HWND window);

// Hands the options, the pattern box's text, its history and its selection to the store.
// False when nothing could be stored.
BOOL SaveDialogPreferences(HWND window);

#endif
