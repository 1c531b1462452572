// The folder picker: the classic file-open dialog narrowed to its folder column.
#ifndef BRUMIX_FOLDER_PICKER_H
#define BRUMIX_FOLDER_PICKER_H

#include <windows.h>

// Nonzero when a folder was chosen: folder then holds it, ending with a backslash.
int BrowseFolder(HWND owner, char* folder, int capacity);

#endif
