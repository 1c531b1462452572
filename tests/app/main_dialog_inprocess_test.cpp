// The main dialog made in the test's own process, where its fonts and check boxes can be
// read directly.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "app/banner_font.h"
#include "app/main_dialog.h"
#include "res/resource.h"

namespace {

class MainDialogInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        g_instance = GetModuleHandleA(nullptr);
        g_browseIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_BROWSE));
        window_ = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
        ASSERT_NE(window_, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(window_);
        DeleteObject(g_bannerFont);
        g_bannerFont = nullptr;
        DestroyIcon(g_browseIcon);
    }

    HWND window_ = nullptr;
};

TEST_F(MainDialogInProcess, BannerIsDisabledAndDrawnInHeavyArialFittedToItsControl)
{
    HWND banner = GetDlgItem(window_, IDC_TITLE);
    EXPECT_FALSE(IsWindowEnabled(banner));
    EXPECT_EQ(g_mainWindow, window_);

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(banner, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, g_bannerFont);
    RECT client;
    GetClientRect(banner, &client);

    LOGFONTA logical = {};
    ASSERT_EQ(GetObjectA(font, sizeof logical, &logical), static_cast<int>(sizeof logical));
    EXPECT_STREQ(logical.lfFaceName, "Arial");
    EXPECT_EQ(logical.lfWeight, 1000);
    EXPECT_EQ(logical.lfItalic, 0);
    EXPECT_EQ(logical.lfHeight, client.bottom);
    EXPECT_EQ(logical.lfWidth, client.right / 7);

    // What the font mapper made of it: the cell fills the control's height.
    HDC dc = GetDC(banner);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    ReleaseDC(banner, dc);
    EXPECT_STREQ(face, "Arial");
    EXPECT_EQ(metrics.tmHeight, client.bottom);
    EXPECT_GE(metrics.tmWeight, FW_BOLD);
}

TEST_F(MainDialogInProcess, BannerCellsShareTheControlsWidthWithOneSpareAndNeverPastAnEightieth)
{
    // The banner made again in a control of a width chosen here, so that every width below
    // is worked out by hand: 800 pixels shared among the text's characters and one more.
    // The height stays the template's.
    struct Case { int width; std::string text; DWORD flags; LONG cellWidth; };
    const Case cases[] = {
        {800, "", BANNER_BOLD, 800},
        {800, "Brumix", BANNER_BOLD, 114},
        {800, "Brumix", 0, 114},
        {800, "Brumix", BANNER_BOLD | BANNER_ITALIC, 114},
        {800, std::string(78, 'W'), BANNER_BOLD, 10},
        // Past 79 characters the text counts as 79: the cells stay an eightieth wide.
        {800, std::string(79, 'W'), BANNER_BOLD, 10},
        {800, std::string(80, 'W'), BANNER_BOLD, 10},
        {800, std::string(200, 'W'), BANNER_BOLD, 10},
        // Narrower than the text: the font mapper chooses the width.
        {50, std::string(79, 'W'), BANNER_BOLD, 0},
    };
    HWND banner = GetDlgItem(window_, IDC_TITLE);
    RECT designed;
    GetClientRect(banner, &designed);
    const int height = designed.bottom;
    ASSERT_GT(height, 20);
    LOGFONTA system = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " pixels, " << c.text.size() << " characters, flags " << c.flags);
        SetWindowPos(banner, nullptr, 0, 0, c.width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client;
        GetClientRect(banner, &client);
        ASSERT_EQ(client.right, c.width);
        ASSERT_EQ(client.bottom, height);
        SetWindowTextA(banner, c.text.c_str());
        DeleteObject(g_bannerFont);
        CreateBannerFont(window_, IDC_TITLE, "Arial", c.flags);

        HFONT font = reinterpret_cast<HFONT>(SendMessageA(banner, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font, g_bannerFont);
        LOGFONTA logical = {};
        GetObjectA(font, sizeof logical, &logical);
        EXPECT_STREQ(logical.lfFaceName, "Arial");
        EXPECT_EQ(logical.lfWidth, c.cellWidth);
        EXPECT_EQ(logical.lfHeight, height);
        EXPECT_EQ(logical.lfWeight, (c.flags & BANNER_BOLD) ? 1000 : system.lfWeight);
        EXPECT_EQ(logical.lfItalic, (c.flags & BANNER_ITALIC) ? 1 : system.lfItalic);
        EXPECT_EQ(logical.lfCharSet, system.lfCharSet);
        EXPECT_EQ(logical.lfPitchAndFamily, system.lfPitchAndFamily);

        // What the font mapper made of it: the cells fill the control's height.
        HDC dc = GetDC(banner);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        SIZE drawn = {};
        GetTextExtentPoint32A(dc, "Brumix", 6, &drawn);
        SelectObject(dc, old);
        ReleaseDC(banner, dc);
        EXPECT_EQ(metrics.tmHeight, height);
        if (c.text == "Brumix") {
            EXPECT_LE(drawn.cx, c.width) << "the program's name does not fit its banner";
            EXPECT_GE(drawn.cx, c.width / 2) << "the program's name fills less than half its banner";
        }
    }
}

TEST_F(MainDialogInProcess, OptionFlagsReadFromTheTwoBoxes)
{
    struct Case { bool recurse, confirm; OptionFlags flags; };
    for (const Case& c : {Case{false, false, 0}, Case{true, false, 1}, Case{false, true, 2}, Case{true, true, 3}}) {
        CheckDlgButton(window_, IDC_RECURSE, c.recurse ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(window_, IDC_CONFIRM, c.confirm ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(ReadOptionFlags(window_), c.flags) << c.recurse << c.confirm;
    }
}

TEST_F(MainDialogInProcess, OptionFlagsAppliedToTheTwoBoxesIgnoreOtherBits)
{
    struct Case { OptionFlags flags; UINT recurse, confirm; };
    for (const Case& c : {Case{0, BST_UNCHECKED, BST_UNCHECKED}, Case{1, BST_CHECKED, BST_UNCHECKED},
                          Case{2, BST_UNCHECKED, BST_CHECKED}, Case{4, BST_UNCHECKED, BST_UNCHECKED},
                          Case{0xFFFFFFFF, BST_CHECKED, BST_CHECKED}}) {
        // Start from the opposite state so that leaving a box alone would show.
        CheckDlgButton(window_, IDC_RECURSE, c.recurse == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        CheckDlgButton(window_, IDC_CONFIRM, c.confirm == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        ApplyOptionFlags(window_, c.flags);
        EXPECT_EQ(IsDlgButtonChecked(window_, IDC_RECURSE), c.recurse) << c.flags;
        EXPECT_EQ(IsDlgButtonChecked(window_, IDC_CONFIRM), c.confirm) << c.flags;
    }
}

TEST_F(MainDialogInProcess, SetBusySwitchesExactlyTheNineInputControls)
{
    const std::set<int> inputs = {IDOK, IDCANCEL, IDHELP, IDC_FOLDER, IDC_BROWSE_FOLDER,
                                  IDC_PATTERNS, IDC_BROWSE_PATTERNS, IDC_CONFIRM, IDC_RECURSE};
    ASSERT_EQ(inputs.size(), 9u);
    std::map<HWND, bool> others;
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (inputs.count(GetDlgCtrlID(child)) == 0)
            others[child] = IsWindowEnabled(child) != 0;
    ASSERT_FALSE(others.empty());
    EXPECT_FALSE(others[GetDlgItem(window_, IDC_TITLE)]) << "the banner is disabled from the start";

    for (BOOL enable : {FALSE, TRUE}) {
        SCOPED_TRACE(enable ? "enabled again" : "disabled");
        SetBusy(window_, enable);
        for (int id : inputs)
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(window_, id)) != 0, enable != 0) << "control " << id;
        for (const auto& other : others)
            EXPECT_EQ(IsWindowEnabled(other.first) != 0, other.second) << "control " << GetDlgCtrlID(other.first);
    }
}

}  // namespace
