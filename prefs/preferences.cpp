#include "prefs/preferences.h"

#include "app/main_dialog.h"

// Not yet written: the options start as the store's presets and nothing is kept.
BOOL LoadPreferences(HWND window)
{
    ApplyOptionFlags(window, OPT_RECURSE | OPT_CONFIRM);
    return TRUE;
}

BOOL SavePreferences(HWND)
{
    return TRUE;
}
