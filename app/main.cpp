// Entry point: the whole program is the main dialog.
#include <windows.h>

#include "app/main_dialog.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_instance = instance;
    g_browseIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_BROWSE));

    // A Unicode dialog: its boxes hold the user's texts in any script.
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);

    DestroyIcon(g_browseIcon);
    DeleteObject(g_bannerFont);
    return 0;
}
