// Where the platform really finds a file or folder, as opposed to the path text that the
// walk builds. Under Wine a path text can name another entry than the one enumerated: a
// link leads elsewhere, a trailing dot or blank is dropped ("x." opens "x"), a character
// outside the ANSI code page comes back from the enumeration as "?" or as a look-alike.
// The walk acts on an entry only when the object it opens is found exactly where the
// folder's found path and the entry's name say it is. Paths are compared in UTF-16, so
// that a look-alike never passes for the real character.
#ifndef BRUMIX_FOUND_PATH_H
#define BRUMIX_FOUND_PATH_H

#include <windows.h>

// Room for the longest path that the platform can give (UTF-16 characters and terminator).
constexpr int FOUND_PATH_CAPACITY = 32768;

// Appends a "\" (unless `found` already ends with one) and `name`, given in the ANSI code
// page, to the found path of `length` characters held in a block of `capacity` characters.
// Gives the new length, or -1 (and `found` unchanged) when it does not fit.
int AppendFoundName(WCHAR* found, int length, int capacity, const char* name);

// The final path of the object open in `handle`, into a block of `capacity` characters.
// Gives its length, or 0 when it cannot be had or does not fit.
int GetFoundPath(HANDLE handle, WCHAR* found, int capacity);

// True when the object open in `handle` is exactly at `expected` (`length` characters).
bool IsFoundAt(HANDLE handle, const WCHAR* expected, int length);

#endif
