// The main dialog made in the test's own process, where its fonts and check boxes can be
// read directly.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/banner_font.h"
#include "app/main_dialog.h"
#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/import_patch.h"
#include "support/question_answerer.h"
#include "support/temp_folder.h"

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

// How wide a text is in a control's font, as the control draws it.
SIZE TextExtent(HWND control, HFONT font, const std::wstring& text)
{
    SIZE extent = {};
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent;
}

// A font's stored average width stands for typical letters: a text of wide ones ("W" is
// about twice the average) took more than its control at the cells' width, and was cut,
// as "Brumix" is in Windows' own Arial Bold.
TEST_F(MainDialogInProcess, BannerTextFitsItsControlWhateverItsLetters)
{
    struct Case { std::wstring text; DWORD flags; bool wide; };
    HWND banner = GetDlgItem(window_, IDC_TITLE);
    RECT client;
    GetClientRect(banner, &client);
    LOGFONTA system = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    const Case cases[] = {
        {L"Brumix", BANNER_BOLD, true},
        {L"WWWWWW", BANNER_BOLD, true},
        {L"MWMWMWMWMWMW", BANNER_BOLD | BANNER_ITALIC, true},
        {L"Brumix", 0, true},
        {L"iiiiii", BANNER_BOLD, false},
        // Only the first 79 characters count; cells of a pixel or two fill what they can.
        {std::wstring(80, L'W'), BANNER_BOLD | BANNER_ITALIC, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text.begin(), c.text.end()) << ", flags " << c.flags);
        SetWindowTextW(banner, c.text.c_str());
        DeleteObject(g_bannerFont);
        CreateBannerFont(window_, IDC_TITLE, "Arial", c.flags);
        LOGFONTA logical = {};
        ASSERT_EQ(GetObjectA(g_bannerFont, sizeof logical, &logical), static_cast<int>(sizeof logical));
        EXPECT_STREQ(logical.lfFaceName, "Arial");
        EXPECT_EQ(logical.lfHeight, client.bottom) << "the height is kept";
        EXPECT_EQ(logical.lfWeight, (c.flags & BANNER_BOLD) ? 1000 : system.lfWeight);
        EXPECT_EQ(logical.lfItalic, (c.flags & BANNER_ITALIC) ? 1 : system.lfItalic);
        EXPECT_EQ(logical.lfCharSet, system.lfCharSet);
        EXPECT_EQ(logical.lfPitchAndFamily, system.lfPitchAndFamily);

        SIZE extent = TextExtent(banner, g_bannerFont, c.text.substr(0, 79));
        std::printf("banner \"%s\" in %ld x %ld: cells %ld wide, text %ld px\n",
                    std::string(c.text.begin(), c.text.end()).substr(0, 12).c_str(), client.right, client.bottom,
                    logical.lfWidth, extent.cx);
        EXPECT_LT(extent.cx, client.right) << "the text does not fit with a margin";
        if (c.wide) {
            EXPECT_GT(extent.cx, client.right * 3 / 4) << "the text no longer fills its banner";
        }
    }

    // An empty text: one cell as wide as the control, and no division by zero.
    SetWindowTextW(banner, L"");
    DeleteObject(g_bannerFont);
    CreateBannerFont(window_, IDC_TITLE, "Arial", BANNER_BOLD);
    LOGFONTA logical = {};
    GetObjectA(g_bannerFont, sizeof logical, &logical);
    EXPECT_EQ(logical.lfWidth, client.right);
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

// The end of a run in the running program is tested from outside; what only this process
// can arrange is a control that cannot take the focus back.
TEST_F(MainDialogInProcess, AfterARunTheFocusGoesBackOrElseToOk)
{
    HWND patternEdit = FindWindowExA(GetDlgItem(window_, IDC_PATTERNS), nullptr, "Edit", nullptr);
    ASSERT_NE(patternEdit, nullptr);
    struct Case { const char* what; HWND focused; bool disabledMeanwhile; HWND expected; };
    const Case cases[] = {
        {"folder box", GetDlgItem(window_, IDC_FOLDER), false, GetDlgItem(window_, IDC_FOLDER)},
        {"pattern box's edit field", patternEdit, false, patternEdit},
        {"check box", GetDlgItem(window_, IDC_RECURSE), false, GetDlgItem(window_, IDC_RECURSE)},
        {"check box disabled meanwhile", GetDlgItem(window_, IDC_CONFIRM), true, GetDlgItem(window_, IDOK)},
        {"no control", nullptr, false, GetDlgItem(window_, IDOK)},
        {"the banner, which takes none", GetDlgItem(window_, IDC_TITLE), false, GetDlgItem(window_, IDOK)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetFocus(GetDlgItem(window_, IDHELP));
        if (c.disabledMeanwhile)
            EnableWindow(c.focused, FALSE);
        RestoreAfterRun(window_, c.focused);
        EXPECT_EQ(GetFocus(), c.expected) << "control " << GetDlgCtrlID(GetFocus());
        if (c.disabledMeanwhile)
            EnableWindow(c.focused, TRUE);
    }
}

TEST_F(MainDialogInProcess, SetBusySwitchesExactlyTheNineInputControls)
{
    const std::vector<int> busy(std::begin(driver::BUSY_CONTROLS), std::end(driver::BUSY_CONTROLS));
    EXPECT_EQ(std::vector<int>(std::begin(BusyControlIds), std::end(BusyControlIds)), busy)
        << "the program's own list of the controls that a run switches off";
    const std::set<int> inputs(busy.begin(), busy.end());
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

// Left to themselves both boxes would keep only the first 30,000 characters of a paste.
TEST_F(MainDialogInProcess, NeitherBoxLimitsItsText)
{
    HWND patternEdit = FindWindowExA(GetDlgItem(window_, IDC_PATTERNS), nullptr, "Edit", nullptr);
    ASSERT_NE(patternEdit, nullptr);
    for (HWND edit : {GetDlgItem(window_, IDC_FOLDER), patternEdit})
        EXPECT_GE(static_cast<unsigned long>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEul)
            << "control " << GetDlgCtrlID(edit);
}

// A box whose text cannot be read: read as "", the folder box would name the drive's root
// and the pattern box an empty list. The command stops instead, and asks nothing.
ImportPatch* g_textPatch;
HWND g_unreadable;

int WINAPI GetWindowTextFailingForOneBox(HWND window, LPWSTR text, int capacity)
{
    if (window != g_unreadable) {
        auto real = reinterpret_cast<int(WINAPI*)(HWND, LPWSTR, int)>(g_textPatch->original());
        return real(window, text, capacity);
    }
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

TEST_F(MainDialogInProcess, ABoxThatCannotBeReadStartsNoRun)
{
    TempFolder folder;
    folder.MakeFile("a.obj");
    for (int id : {IDC_FOLDER, IDC_PATTERNS}) {
        SCOPED_TRACE(id == IDC_FOLDER ? "folder box" : "pattern box");
        SetDlgItemTextA(window_, IDC_FOLDER, folder.path().c_str());
        SetDlgItemTextA(window_, IDC_PATTERNS, "*.obj");
        g_unreadable = GetDlgItem(window_, id);
        QuestionAnswerer answerer([](const QuestionSeen&) { return IDNO; });
        {
            ImportPatch patch("user32.dll", "GetWindowTextW", reinterpret_cast<void*>(GetWindowTextFailingForOneBox));
            ASSERT_TRUE(patch.applied());
            g_textPatch = &patch;
            SendMessageW(window_, WM_COMMAND, IDOK, 0);
            g_textPatch = nullptr;
        }
        for (const QuestionSeen& question : answerer.seen())
            ADD_FAILURE() << "asked: " << question.text;
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"a.obj"});
    }
}

}  // namespace
