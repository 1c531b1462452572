// The banner's cells are the control's width shared among the text's letters and one cell
// more, for a margin. That holds only where the letters are no wider than the font's
// stored average width: with Arial Bold on Windows, "Brumix" takes some 7.2 average widths
// and was cut at every resolution. So the text is measured in the font made, and the width
// narrowed until it leaves that cell free. (Under Wine, Arial is stood in for by Liberation
// Sans, whose stored average is wider: there the text fits at once.)
#include "app/banner_font.h"

#include "base/global_block.h"
#include "app/main_dialog.h"

namespace {

// The text that counts: its first 79 characters, with the terminator.
constexpr int TEXT_CHARACTERS = 80;

// The text's width in that font, and the font's metrics; false when it cannot be measured.
bool Measure(HDC dc, HFONT font, const WCHAR* text, int length, SIZE& extent, TEXTMETRICW& metrics)
{
    HGDIOBJ old = SelectObject(dc, font);
    bool measured = GetTextExtentPoint32W(dc, text, length, &extent) && GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    return measured;
}

// The font for `logical`, narrowed until the text takes no more than `room` pixels, or
// down to a width of one pixel. Each step scales the width by what is missing and is at
// least one pixel narrower, so the loop ends. A text that cannot be measured keeps the
// font as made.
HFONT CreateFittedFont(HWND control, LOGFONTA& logical, const WCHAR* text, int length, int room)
{
    HFONT font = CreateFontIndirectA(&logical);
    if (font == nullptr || length == 0)
        return font;
    HDC dc = GetDC(control);
    if (dc == nullptr)
        return font;
    SIZE extent = {};
    TEXTMETRICW metrics = {};
    while (Measure(dc, font, text, length, extent, metrics) && extent.cx > room) {
        // A width of 0 lets the mapper choose one: the average it made.
        int width = logical.lfWidth != 0 ? logical.lfWidth : metrics.tmAveCharWidth;
        int narrower = MulDiv(width, room, extent.cx);
        if (narrower >= width)
            narrower = width - 1;
        if (narrower < 1)
            break;
        LOGFONTA next = logical;
        next.lfWidth = narrower;
        HFONT narrowed = CreateFontIndirectA(&next);
        if (narrowed == nullptr)
            break;
        DeleteObject(font);
        font = narrowed;
        logical = next;
    }
    ReleaseDC(control, dc);
    return font;
}

}  // namespace

void CreateBannerFont(HWND window, int controlId, const char* faceName, DWORD flags)
{
    GlobalBlock text(TEXT_CHARACTERS * sizeof(WCHAR));
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
        GetWindowTextW(control, text.as<WCHAR>(), TEXT_CHARACTERS);
        length = lstrlenW(text.as<WCHAR>());
    }
    // One cell more than the text has leaves a margin; a positive height is the cell
    // height, so the cells fill the control top to bottom.
    font.lfWidth = client.right / (length + 1);
    font.lfHeight = client.bottom;
    int room = client.right - font.lfWidth;

    g_bannerFont = CreateFittedFont(control, font, text.as<WCHAR>(), length, room);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_bannerFont), TRUE);
}
