// The check boxes of a dialog made to hold what the system draws in them at the screen's
// DPI. A template row of 8 dialog units follows the dialog font, but the box that a check
// box draws follows the DPI: at 150 % and 200 % it is taller than the row (19 and 25 pixels
// in rows of 17 and 23 under Wine), and its top and bottom were cut off. The template keeps
// its units; once the dialog is made, each check box that needs it is given the height of
// its box, about the same middle, and the width of its box, gap and text, up to the
// dialog's edge. At 96 DPI nothing moves.
#ifndef BRUMIX_CHECK_BOX_FIT_H
#define BRUMIX_CHECK_BOX_FIT_H

#include <windows.h>

// The side of a check box's box at this DPI: 13 pixels at 96 DPI, in proportion elsewhere.
int CheckBoxSide(int dpi);

void FitCheckBoxes(HWND dialog);

#endif
