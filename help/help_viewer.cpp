// The help dialog: the help text resource, read-only, on the button-face colour.
#include "help/help_viewer.h"

#include "base/global_block.h"
#include "res/resource.h"

HBRUSH g_helpBrush;

namespace {

// Inner margins of the text box, in pixels, on each side.
constexpr WORD TEXT_MARGIN = 10;

void InitHelpDialog(HWND window, const char* text)
{
    g_helpBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    SendDlgItemMessageA(window, IDC_HELP_TEXT, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                        MAKELPARAM(TEXT_MARGIN, TEXT_MARGIN));
    SetWindowTextA(GetDlgItem(window, IDC_HELP_TEXT), text);
}

}  // namespace

void ShowHelp(HINSTANCE instance, int dialogId, HWND owner, int textId)
{
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(textId), RT_RCDATA);
    if (found == nullptr)
        return;
    DWORD size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return;

    // The resource holds the text alone; the box needs it terminated. The block comes
    // zero-filled, so its last byte is the terminator.
    GlobalBlock text(SIZE_T(size) + 1);
    if (!text)
        return;
    CopyMemory(text.text(), bytes, size);

    DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogId), owner, HelpDialogProc,
                    reinterpret_cast<LPARAM>(text.text()));
}

INT_PTR CALLBACK HelpDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitHelpDialog(window, reinterpret_cast<const char*>(lParam));
        return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // A read-only edit box asks with WM_CTLCOLORSTATIC: both paint on the button face.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(g_helpBrush);
    case WM_COMMAND:
        // Fermer, Enter (Fermer is the default button), Escape and the close box.
        if (wParam == IDCANCEL) {
            DeleteObject(g_helpBrush);
            g_helpBrush = nullptr;
            EndDialog(window, 1);
        }
        return FALSE;
    }
    return FALSE;
}
