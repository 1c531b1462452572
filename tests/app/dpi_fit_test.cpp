// Every text of the program's windows fits its control at the screen's DPI: the dialogs are
// laid out in dialog units, which follow the dialog font, but a font drawn at another size
// does not keep its letters' proportions, and a text that fits at 96 DPI may be cut at 144.
// The windows are made in this process, as the program makes them, so that their fonts
// can be read. Each test says what it measured.
//
// The suite runs these at the test prefix's 96 DPI, and at 144 and 192 DPI in a prefix of
// their own (scripts/dpi-prefix.sh, from CTest).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "engine/deletion_run.h"
#include "help/help_viewer.h"
#include "res/resource.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::wstring TextOf(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The rectangle a text takes in the control's font, laid out as DrawText lays it out with
// these flags within `width` pixels.
RECT TextRect(HWND control, const std::wstring& text, UINT format, int width)
{
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    RECT rect = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return rect;
}

int ZeroWidth(HWND control)
{
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    INT width = 0;
    GetCharWidth32W(dc, L'0', L'0', &width);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return width;
}

// The opaque part of an icon as drawn at its own size: left, top, right, bottom (exclusive).
RECT OpaquePart(HICON icon, SIZE& size)
{
    RECT part = {0, 0, 0, 0};
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return part;
    BITMAP mask = {};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    size.cx = mask.bmWidth;
    size.cy = info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size.cx;
    format.bmiHeader.biHeight = -size.cy;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> bits(static_cast<size_t>(size.cx * size.cy));
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, info.hbmMask, 0, static_cast<UINT>(size.cy), bits.data(), &format, DIB_RGB_COLORS);
    DeleteDC(dc);
    part = {size.cx, size.cy, 0, 0};
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if ((bits[static_cast<size_t>(y * size.cx + x)] & 0xFFFFFF) == 0) {
                part.left = std::min<LONG>(part.left, x);
                part.top = std::min<LONG>(part.top, y);
                part.right = std::max<LONG>(part.right, x + 1);
                part.bottom = std::max<LONG>(part.bottom, y + 1);
            }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return part;
}

// What a control needs against what it has, as "needs W x H in W x H", and whether it fits.
struct Fit {
    bool checked = false;
    bool fits = true;
    std::string measures;
};

std::string Measures(int needX, int needY, const RECT& client)
{
    char text[96];
    wsprintfA(text, "needs %d x %d in %ld x %ld", needX, needY, client.right, client.bottom);
    return text;
}

Fit FitOf(HWND control, int dpi)
{
    Fit fit;
    RECT client;
    GetClientRect(control, &client);
    std::wstring text = TextOf(control);
    std::string className = ClassOf(control);
    DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    // A window made hidden, or not shown yet, still has its controls' own style.
    if (!(style & WS_VISIBLE))
        return fit;

    if (className == "Static") {
        DWORD type = style & SS_TYPEMASK;
        if (text.empty() || (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT))
            return fit;
        // A static breaks its text at blanks to its width: a line too many is cut off, and
        // a word wider than the control runs past it.
        RECT need = TextRect(control, text, DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0),
                             client.right);
        fit = {true, need.right <= client.right && need.bottom <= client.bottom,
               Measures(need.right, need.bottom, client)};
    } else if (className == "Button") {
        DWORD type = style & BS_TYPEMASK;
        int edge = GetSystemMetrics(SM_CXEDGE), edgeY = GetSystemMetrics(SM_CYEDGE);
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
            // The box, as the classic button draws it at this DPI, then half a digit's
            // width, then the text.
            int box = 12 * dpi / 96 + 1;
            RECT need = TextRect(control, text, DT_SINGLELINE, 0);
            int width = box + ZeroWidth(control) / 2 + need.right;
            int height = std::max<int>(box, need.bottom);
            fit = {true, width <= client.right && height <= client.bottom, Measures(width, height, client)};
        } else if (style & BS_ICON) {
            // The icon is centred; its picture must keep inside the button's raised edge.
            // (Its transparent margin may overlap the edge: it is not drawn.)
            HICON icon = reinterpret_cast<HICON>(SendMessageW(control, BM_GETIMAGE, IMAGE_ICON, 0));
            SIZE size = {};
            RECT part = OpaquePart(icon, size);
            int left = (client.right - size.cx) / 2 + part.left, right = (client.right - size.cx) / 2 + part.right;
            int top = (client.bottom - size.cy) / 2 + part.top, bottom = (client.bottom - size.cy) / 2 + part.bottom;
            bool inside = icon != nullptr && left >= edge && right <= client.right - edge && top >= edgeY &&
                          bottom <= client.bottom - edgeY;
            char text96[128];
            wsprintfA(text96, "icon %ld x %ld, its picture at %d,%d-%d,%d in %ld x %ld", size.cx, size.cy, left, top,
                      right, bottom, client.right, client.bottom);
            fit = {true, inside, text96};
        } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            // Within the raised edge on each side, and the focus rectangle inside it.
            RECT need = TextRect(control, text, DT_SINGLELINE, 0);
            int width = need.right + 2 * (2 * edge + 1), height = need.bottom + 2 * (2 * edgeY);
            fit = {true, width <= client.right && height <= client.bottom, Measures(width, height, client)};
        }
    }
    return fit;
}

// Every control of `window` whose text is checked; fails for each that does not fit.
void ExpectEveryTextFits(HWND window, const char* what)
{
    int dpi = ScreenDpi();
    int checked = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        Fit fit = FitOf(child, dpi);
        if (!fit.checked)
            continue;
        ++checked;
        std::string name = Utf8(TextOf(child));
        std::printf("%s at %d DPI, control %d \"%s\": %s\n", what, dpi, GetDlgCtrlID(child), name.c_str(),
                    fit.measures.c_str());
        EXPECT_TRUE(fit.fits) << what << ", control " << GetDlgCtrlID(child) << " \"" << name << "\" "
                              << fit.measures;
    }
    EXPECT_GT(checked, 0) << what << ": nothing was checked";
}

class DpiFit : public testing::Test {
protected:
    void SetUp() override
    {
        g_instance = GetModuleHandleW(nullptr);
        g_browseIcon = LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_BROWSE));
        std::printf("screen at %d DPI\n", ScreenDpi());
    }
    void TearDown() override
    {
        DeleteObject(g_bannerFont);
        g_bannerFont = nullptr;
        DestroyIcon(g_browseIcon);
    }
};

TEST_F(DpiFit, EveryTextOfTheMainDialogFitsItsControl)
{
    HWND dialog = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    std::printf("dialog base units %ld x %ld\n", units.right, units.bottom);
    ExpectEveryTextFits(dialog, "main dialog");

    // Whatever was made larger to fit still lies inside the dialog, clear of its neighbours.
    // (Wine grows the etched separator by 2 pixels each way: it is left out.)
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<std::pair<int, RECT>> places;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ETCHEDHORZ && ClassOf(child) == "Static")
            continue;
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &rect, &client) && EqualRect(&inside, &rect))
            << "control " << GetDlgCtrlID(child) << " reaches out of the dialog";
        for (const auto& other : places) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &rect, &other.second))
                << "controls " << other.first << " and " << GetDlgCtrlID(child) << " overlap";
        }
        places.push_back({GetDlgCtrlID(child), rect});
    }
    DestroyWindow(dialog);
}

TEST_F(DpiFit, EveryTextOfTheHelpDialogFitsItsControl)
{
    HWND dialog = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_HELP), nullptr, HelpDialogProc,
                                     reinterpret_cast<LPARAM>(L"Brumix"));
    ASSERT_NE(dialog, nullptr);
    ExpectEveryTextFits(dialog, "help dialog");
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // the brush goes as the dialog closes
    DestroyWindow(dialog);
}

// The questions of a run: each box is checked as it comes up, then answered so that
// nothing is deleted (Yes to the summary, Annuler to the file's question).
struct QuestionCheck {
    HHOOK hook = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> seen;
};
QuestionCheck g_questions;

LRESULT CALLBACK CheckQuestion(int code, WPARAM wParam, LPARAM lParam)
{
    HWND box = reinterpret_cast<HWND>(wParam);
    // A question is a box of its own with the text static 0xFFFF; the main dialog, which
    // is activated again after each, has labels of that id too.
    if (code == HCBT_ACTIVATE && box != g_questions.owner && GetDlgItem(box, 0xFFFF) != nullptr &&
        std::find(g_questions.seen.begin(), g_questions.seen.end(), box) == g_questions.seen.end()) {
        g_questions.seen.push_back(box);
        ExpectEveryTextFits(box, g_questions.seen.size() == 1 ? "summary question" : "file question");
        PostMessageW(box, WM_COMMAND, g_questions.seen.size() == 1 ? IDYES : IDCANCEL, 0);
    }
    return CallNextHookEx(g_questions.hook, code, wParam, lParam);
}

TEST_F(DpiFit, EveryTextOfTheQuestionsFitsItsControl)
{
    TempFolder folder;
    folder.MakeFile("calcul.obj");
    HWND owner = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    ASSERT_NE(owner, nullptr);
    g_questions = QuestionCheck();
    g_questions.owner = owner;
    g_questions.hook = SetWindowsHookExW(WH_CBT, CheckQuestion, nullptr, GetCurrentThreadId());
    std::wstring path = Wide(folder.path());
    RunDeletion(owner, path.c_str(), L"*.obj;*.res;*.map;*.sym;*.bak", OPT_CONFIRM);
    UnhookWindowsHookEx(g_questions.hook);
    DestroyWindow(owner);
    EXPECT_EQ(g_questions.seen.size(), 2u) << "the summary and one file's question";
    EXPECT_TRUE(folder.Exists("calcul.obj")) << "Annuler kept the file";
}

}  // namespace
