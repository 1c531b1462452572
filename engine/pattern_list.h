// The pattern list: its syntax, and which names a pattern stands for.
#ifndef BRUMIX_PATTERN_LIST_H
#define BRUMIX_PATTERN_LIST_H

#include <windows.h>

// Cuts the next pattern out of a list separated by ";", "," and blanks, in place: the
// separator that ends a pattern becomes its terminator. Give the list on the first call
// and nullptr on the following ones, which go on from a position remembered between calls.
// Gives nullptr once no pattern is left. Separators never make an empty pattern. Every
// other character, in any script, belongs to the pattern as it is.
WCHAR* CutPattern(WCHAR* list);

// True when the pattern names entries of the current folder only, with the two wildcards
// "*" and "?": no folder or drive part, none of the characters that the platform treats
// as further wildcards ("<", ">", "\"").
bool IsPlainPattern(const WCHAR* pattern);

// The part of a pattern that names files: the pattern without one pair of double quotes
// around it, when it has them ("\"*.obj\"", as a path copied with its quotes gives it,
// stands for *.obj). `length` is the pattern's on the way in, the part's on the way out.
const WCHAR* PatternBody(const WCHAR* pattern, int& length);

// Why a pattern can name no file at all: it holds a folder, drive or stream part ("\", "/",
// ":"), or a character that no file name can hold ("<", ">", "\"", "|" and the control
// characters 1 to 31; "*" and "?" are the wildcards), or nothing is left once its quotes
// are off.
enum PatternFault {
    PATTERN_USABLE,
    PATTERN_EMPTY,
    PATTERN_FOLDER_PART,
    PATTERN_FORBIDDEN_CHARACTER,
};

// What keeps the terminated `pattern`, as it stands in the list (quotes and all), from
// naming any file; `character` receives the character at fault, L'\0' when there is none.
PatternFault FindPatternFault(const WCHAR* pattern, WCHAR& character);

// Cuts `list` in place and copies its usable patterns, in list order, each without its
// quotes (see PatternBody) and with its terminator, into `table` of `capacity` characters
// (lstrlenW(list) + 1 always suffices). Patterns that are not plain match nothing and are
// left out. Gives how many were written.
int TakePatterns(WCHAR* list, WCHAR* table, int capacity);

// Whether a long name is one that the pattern stands for, by Windows' own rules, wherever
// the program runs: the rules of FindFirstFile, which drops the pattern's trailing dots
// and hands "*.*" over as "*", every "?" as DOS_QM (one character, or nothing at a "." or
// at the end of the name), a "." before a "?" or a "*" as DOS_DOT (a ".", or nothing at
// the end), and a "*" before a "." or before the dropped trailing dots as DOS_STAR (any
// run that does not take the name's last "."); then the file system's matching, letters
// compared without regard to case. So "f??" names "f", "f1" and "f12" but never "f.c",
// "a?.obj" names "a.obj", and "*." names the names without a dot.
// The platform also matches patterns against generated short names ("*.htm" finds
// "page.html" through "PAGE~1.HTM"); this is the test that only the long name counts.
// `name` has `length` characters (no terminator needed); `pattern` is terminated.
bool NameMatchesPattern(const WCHAR* name, int length, const WCHAR* pattern);

#endif
