// The folder picker: the classic file-open dialog narrowed to its folder column.
#ifndef BRUMIX_FOLDER_PICKER_H
#define BRUMIX_FOLDER_PICKER_H

#include <windows.h>

// Where the hook puts the folder column: this many pixels from the client area's left edge.
constexpr int FOLDER_COLUMN_MARGIN = 4;

// The block the dialog writes the picked path into, in characters: the longest path the
// system can name (32,767 characters) and its terminator, so that a folder at any depth
// comes back whole. A folder picked always fits a buffer of this size.
constexpr int FOLDER_PICK_CAPACITY = 32768;

// Nonzero when a folder was chosen: folder (capacity characters) then holds it as the
// dialog gives it, in its long form (see TakeLongFolderForm), ending with a backslash.
// The process's current directory is the same afterwards as before.
int BrowseFolder(HWND owner, WCHAR* folder, int capacity);

// The classic dialog's hook: on WM_INITDIALOG slides every child so that the current
// folder's static (stc1) sits at FOLDER_COLUMN_MARGIN, narrows the dialog by as much, gives
// each child the stock variable-pitch font, takes the children slid out of view out of the
// tab order and starts the focus on the folder list (lst2); returns 1 then, 0 for any
// other message.
UINT_PTR CALLBACK FolderPickerHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The folder part of the path the dialog returned, with its final backslash, into folder:
// the path less its title when the title is the path's tail, else the path up to
// nameOffset. Nonzero when a folder was written; 0 when none fits or can be told.
int CopyPickedFolder(const WCHAR* path, const WCHAR* title, int nameOffset, WCHAR* folder, int capacity);

// Replaces the existing folder's path in `folder` (capacity characters) with its long form,
// each short (8.3) name by the long one, keeping its final backslash. Nonzero when it was
// replaced; 0, with `folder` unchanged, when the system cannot give the long form or it
// does not fit.
int TakeLongFolderForm(WCHAR* folder, int capacity);

#endif
