#include "pickers/pattern_picker.h"

// Not yet written: the picker is always cancelled.
int BrowsePatterns(HWND, char*, int)
{
    return 0;
}
