#include "help/help_viewer.h"

// Not yet written: there is no help to show.
void ShowHelp(HINSTANCE, int, HWND, int)
{
}
