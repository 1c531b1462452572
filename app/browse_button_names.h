// The two browse buttons show the browse icon only, and their text, "...", is the same for
// both: a mouse user gets no hint of what each does, and a screen reader announces two
// identical "..." buttons. Each gets its words twice over: in a tooltip, and as its
// accessible name through the accessibility runtime's annotation of the window (Dynamic
// Annotation), which leaves the window text as it is.
#ifndef BRUMIX_BROWSE_BUTTON_NAMES_H
#define BRUMIX_BROWSE_BUTTON_NAMES_H

#include <windows.h>

constexpr WCHAR BROWSE_FOLDER_NAME[] = L"Choisir le r\u00e9pertoire\u2026";
constexpr WCHAR BROWSE_PATTERNS_NAME[] = L"Choisir des fichiers mod\u00e8les\u2026";

// Gives both browse buttons of the main dialog their tooltip and their accessible name.
// The tooltip control is owned by the dialog and goes with it. The names need COM on the
// calling thread; without it, or where the runtime cannot annotate (Wine), the buttons
// keep the name their text gives them.
void NameBrowseButtons(HWND dialog);
// Takes the names back off the buttons, as the dialog is destroyed: an annotation is
// kept by the window handle, which a later window may be given.
void ForgetBrowseButtonNames(HWND dialog);

#endif
