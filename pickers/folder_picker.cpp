#include "pickers/folder_picker.h"

// Not yet written: the picker is always cancelled.
int BrowseFolder(HWND, char*, int)
{
    return 0;
}
