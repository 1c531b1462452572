// The folder picker: the classic file-open dialog narrowed to its folder column.
#ifndef BRUMIX_FOLDER_PICKER_H
#define BRUMIX_FOLDER_PICKER_H

#include <windows.h>

// Where the hook puts the folder column: this many pixels from the client area's left edge.
constexpr int FOLDER_COLUMN_MARGIN = 4;

// Nonzero when a folder was chosen: folder then holds it, ending with a backslash.
// The process's current directory is the same afterwards as before.
int BrowseFolder(HWND owner, char* folder, int capacity);

// The classic dialog's hook: on WM_INITDIALOG slides every child so that the current
// folder's static (stc1) sits at FOLDER_COLUMN_MARGIN, narrows the dialog by as much and
// gives each child the stock variable-pitch font; returns 1 then, 0 for any other message.
UINT_PTR CALLBACK FolderPickerHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The folder part of the path the dialog returned, with its final backslash, into folder:
// the path less its title when the title is the path's tail, else the path up to
// nameOffset. Nonzero when a folder was written; 0 when none fits or can be told.
int CopyPickedFolder(const char* path, const char* title, int nameOffset, char* folder, int capacity);

#endif
