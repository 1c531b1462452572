#include "app/banner_font.h"

#include "base/global_block.h"
#include "app/main_dialog.h"

void CreateBannerFont(HWND window, int controlId, const char* faceName, DWORD flags)
{
    constexpr int TEXT_BYTES = 80;
    GlobalBlock text(TEXT_BYTES);
    HWND control = GetDlgItem(window, controlId);

    RECT client = {};
    GetClientRect(control, &client);

    // Start from the system font so that every field not set below stays as it has it.
    LOGFONTA font = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    lstrcpynA(font.lfFaceName, faceName, LF_FACESIZE);
    if (flags & BANNER_BOLD)
        font.lfWeight = 1000;
    if (flags & BANNER_ITALIC)
        font.lfItalic = 1;

    int length = 0;
    if (text) {
        GetWindowTextA(control, text.text(), TEXT_BYTES);
        length = lstrlenA(text.text());
    }
    // One cell more than the text has leaves a margin; a positive height is the cell
    // height, so the cells fill the control top to bottom.
    font.lfWidth = client.right / (length + 1);
    font.lfHeight = client.bottom;

    g_bannerFont = CreateFontIndirectA(&font);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_bannerFont), TRUE);
}
