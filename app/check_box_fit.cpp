#include "app/check_box_fit.h"

#include <algorithm>

#include "base/global_block.h"

namespace {

constexpr int BOX_SIDE_AT_96_DPI = 13;

bool IsCheckBox(HWND control)
{
    WCHAR name[16] = L"";
    GetClassNameW(control, name, 16);
    DWORD type = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & BS_TYPEMASK;
    return lstrcmpiW(name, L"Button") == 0 && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
                                               type == BS_3STATE || type == BS_AUTO3STATE);
}

// Width and height that the box, half a digit's width of gap and the text take, as the
// classic check box lays them out.
SIZE NeededSize(HWND box)
{
    SIZE needed = {0, 0};
    int length = GetWindowTextLengthW(box);
    GlobalBlock text((static_cast<SIZE_T>(length) + 1) * sizeof(WCHAR));
    HDC dc = GetDC(box);
    if (!text || dc == nullptr) {
        if (dc != nullptr)
            ReleaseDC(box, dc);
        return needed;
    }
    GetWindowTextW(box, text.as<WCHAR>(), length + 1);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SIZE extent = {0, 0};
    INT digit = 0;
    GetTextExtentPoint32W(dc, text.as<WCHAR>(), length, &extent);
    GetCharWidth32W(dc, L'0', L'0', &digit);
    int side = CheckBoxSide(GetDeviceCaps(dc, LOGPIXELSY));
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    needed.cx = side + digit / 2 + extent.cx;
    needed.cy = std::max<LONG>(side, extent.cy);
    return needed;
}

void FitCheckBox(HWND dialog, HWND box)
{
    RECT place;
    GetWindowRect(box, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    RECT client;
    GetClientRect(dialog, &client);
    SIZE needed = NeededSize(box);
    int width = place.right - place.left, height = place.bottom - place.top;
    int fittedWidth = std::max<int>(width, std::min<int>(needed.cx, client.right - place.left));
    int fittedHeight = std::max<int>(height, needed.cy);
    if (fittedWidth == width && fittedHeight == height)
        return;
    SetWindowPos(box, nullptr, place.left, place.top - (fittedHeight - height) / 2, fittedWidth, fittedHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int CheckBoxSide(int dpi)
{
    return MulDiv(BOX_SIDE_AT_96_DPI, dpi, 96);
}

void FitCheckBoxes(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (IsCheckBox(child))
            FitCheckBox(dialog, child);
}
