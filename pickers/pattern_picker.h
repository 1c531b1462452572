// The pattern picker: a pattern list built from the extensions of picked files.
#ifndef BRUMIX_PATTERN_PICKER_H
#define BRUMIX_PATTERN_PICKER_H

#include <windows.h>

// Nonzero when a list was built: patterns then holds it.
int BrowsePatterns(HWND owner, char* patterns, int capacity);

#endif
