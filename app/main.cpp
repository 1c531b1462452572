// Entry point: the whole program is the main dialog.
#include <windows.h>
#include <objbase.h>

#include "app/main_dialog.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The thread's COM apartment, single-threaded as the common dialogs want it; the
    // browse buttons' accessible names are set through COM too. Without it both still work:
    // the file dialogs start COM themselves, and the buttons keep the names their text gives.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_instance = instance;
    g_browseIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_BROWSE));

    // A Unicode dialog: its boxes hold the user's texts in any script.
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);

    DestroyIcon(g_browseIcon);
    DeleteObject(g_bannerFont);
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
