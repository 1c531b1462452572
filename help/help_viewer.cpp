// The help dialog: the help text resource, read-only, in the system's colours for text in
// a window: the window text colour on the window background. A read-only box asks its
// parent for its colours, and a dialog that answers with a brush of its own must set the
// text colour too: left alone, it stays the device context's black, which a dark
// high-contrast theme paints on a black background.
#include "help/help_viewer.h"

#include "base/global_block.h"
#include "res/resource.h"

HBRUSH g_helpBrush;

namespace {

// Inner margins of the text box, in pixels, on each side.
constexpr WORD TEXT_MARGIN = 10;

// The resource's text is code page 1252 whatever the system's own code page is: its
// accented French letters are read as that, not as the letters of another script.
constexpr UINT HELP_TEXT_CODE_PAGE = 1252;

void InitHelpDialog(HWND window, const WCHAR* text)
{
    g_helpBrush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    SendDlgItemMessageW(window, IDC_HELP_TEXT, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                        MAKELPARAM(TEXT_MARGIN, TEXT_MARGIN));
    SetWindowTextW(GetDlgItem(window, IDC_HELP_TEXT), text);
}

// The colours of the moment, read at each paint: a change of theme while the dialog is
// open shows in the text at once (the brush keeps the colour it was made with).
void PaintAsWindowText(HDC dc)
{
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
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
    // zero-filled, so its last character is the terminator. Each byte of the code page
    // is one character.
    GlobalBlock text((SIZE_T(size) + 1) * sizeof(WCHAR));
    if (!text)
        return;
    if (size > 0 && MultiByteToWideChar(HELP_TEXT_CODE_PAGE, 0, static_cast<const char*>(bytes), static_cast<int>(size),
                                        text.as<WCHAR>(), static_cast<int>(size)) == 0)
        return;

    DialogBoxParamW(instance, MAKEINTRESOURCEW(dialogId), owner, HelpDialogProc,
                    reinterpret_cast<LPARAM>(text.as<WCHAR>()));
}

INT_PTR CALLBACK HelpDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitHelpDialog(window, reinterpret_cast<const WCHAR*>(lParam));
        return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // A read-only edit box asks with WM_CTLCOLORSTATIC; both are answered alike.
        PaintAsWindowText(reinterpret_cast<HDC>(wParam));
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
