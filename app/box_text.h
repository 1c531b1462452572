// A box's text read whole, or not at all.
#ifndef BRUMIX_BOX_TEXT_H
#define BRUMIX_BOX_TEXT_H

#include <windows.h>

// The whole text of a box (an edit box, or a combo box's edit field), at any length, in a
// zero-filled block of its own size that the caller frees with GlobalFree. Null when the
// text cannot be read: a failed read is never taken for an empty text, which the folder
// box reads as the root of the drive.
WCHAR* ReadBoxText(HWND box);

#endif
