// The questions and the message of a run, readable at any length. The platform's message
// box asks every text it can show whole. Wine's box wraps its text only at blanks, so a
// long path or a ";" list without any makes it wider than the screen, both ends of the
// question fall off it, and the user answers a question they could not read; a box taller
// than the screen is cut on Windows too. Such a text is asked in the program's own question
// dialog instead: the same caption, icon, text and answers, the text whole in a read-only
// box that wraps inside words and scrolls, the whole window inside the work area.
#ifndef BRUMIX_RUN_QUESTIONS_H
#define BRUMIX_RUN_QUESTIONS_H

#include <windows.h>

// The work area of the monitor that `owner` is on, the primary monitor's when it has none:
// where a message box is placed.
RECT WorkAreaOf(HWND owner);

// Whether a message box of `style` (its buttons and icon) showing `text` would lie wholly
// inside `workArea`: the text measured as a message box lays it out (DrawText breaking lines
// at blanks and line ends, a word wider than the line widening it, in the system's message
// font), with the box's frame, caption, margins, icon and row of buttons around it. Where
// the platforms lay a box out differently the measure takes the larger box, so that a text
// said to fit does fit.
bool MessageBoxWouldFit(const WCHAR* text, UINT style, const RECT& workArea);

// Asks `text` under `caption` with one of the styles MB_OK, MB_YESNO or MB_YESNOCANCEL,
// with or without an icon (MB_ICONQUESTION, MB_ICONEXCLAMATION, ...): in a message box when
// it would fit in the owner's work area, else in the question dialog, whose first button is
// the default. Gives the answer as a message box does (IDOK, IDYES, IDNO, IDCANCEL); in the
// dialog Escape and the close box give IDNO for Yes / No, IDCANCEL for Yes / No / Cancel and
// IDOK for OK. Gives 0 when neither can be shown.
int AskQuestion(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style);

// The question dialog's procedure; lParam of WM_INITDIALOG is a QuestionRequest.
struct QuestionRequest {
    const WCHAR* text;       // line breaks as "\n"
    const WCHAR* caption;
    UINT style;
};
INT_PTR CALLBACK QuestionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// `text` with each "\n" as "\r\n", the line break of an edit box, in a block of its own size
// that the caller frees with GlobalFree; null when the heap cannot supply it.
WCHAR* WithEditLineBreaks(const WCHAR* text);

#endif
