// While a run lasts, the main dialog's title tells how many files it has deleted so far,
// and how to stop it: "Brumix — 12 345 fichiers effacés — Échap pour arrêter". Every
// button is off during a run, Fermer included, and Yes is the summary's default: someone
// who started a run by mistake must see at once that Escape stops it. So the hint shows
// from the walk's first timer tick, before any count, as "Brumix — Échap pour arrêter".
// The taskbar button shows the window's title, so a minimised run shows it too. When the
// run ends, however it ends, the title is "Brumix" again: nothing of the run is left on
// screen.
//
// The walk only counts (see RunProgress); the title is set here, from a timer of the
// dialog's, which the run's own message handling and its questions' modal loops both
// dispatch. Under Wine a title change costs a round to the X server and a repaint of the
// title bar, on the walk's own thread: it is made only when the count has changed, never
// oftener than PROGRESS_INTERVAL_MS, and never in a run too short to be followed.
#ifndef BRUMIX_PROGRESS_TITLE_H
#define BRUMIX_PROGRESS_TITLE_H

#include <windows.h>

constexpr UINT_PTR PROGRESS_TIMER_ID = 1;
// The time between two title changes. One change cost about 0.7 ms under Wine here (the
// repaint of the title bar included), on the walk's thread: four a second take under a
// three-hundredth of it, and a count that moves four times a second still reads as one.
constexpr UINT PROGRESS_INTERVAL_MS = 250;
// The count first shows this far into the walk, so that it is up within half a second of
// the start even when the walk hands the dialog its messages late, and a shorter run
// never shows a count (the stop hint alone, at most).
constexpr DWORD FIRST_PROGRESS_MS = 450;

// Characters of the longest title, with its terminator.
constexpr int PROGRESS_TITLE_CAPACITY = 64;

// The title for `count` files deleted, in at most `capacity` characters with the
// terminator: French words and thousands grouped with no-break spaces, then the stop hint.
void ComposeProgressTitle(WCHAR* title, int capacity, LONG count);
// The title before the first count: the program's name and the stop hint.
void ComposeStopHintTitle(WCHAR* title, int capacity);

// Around a run: starts the dialog's timer, and at the end stops it and gives the title back.
void StartProgressTitle(HWND window);
void EndProgressTitle(HWND window);

// The timer's work: shows the stop hint as soon as the walk is under way, then the run's
// count with it when the walk has gone on long enough and the count has changed since it
// was last shown.
void UpdateProgressTitle(HWND window);

#endif
