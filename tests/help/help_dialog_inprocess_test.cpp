// The help dialog opened in the test's own process, where its brush can be followed from
// creation to deletion: the program's calls to CreateSolidBrush and DeleteObject are
// routed through recorders, and a thread timer looks at the open dialog, then closes it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "help/help_viewer.h"
#include "help_outline.h"
#include "help_text_resource.h"
#include "res/resource.h"
#include "support/import_patch.h"
#include "support/utf8.h"

namespace {

struct BrushLog {
    bool recording = false;
    std::vector<HGDIOBJ> created, deleted;
};
BrushLog g_log;
ImportPatch* g_createPatch;
ImportPatch* g_deletePatch;

HBRUSH WINAPI RecordCreateSolidBrush(COLORREF colour)
{
    auto real = reinterpret_cast<HBRUSH(WINAPI*)(COLORREF)>(g_createPatch->original());
    HBRUSH brush = real(colour);
    if (g_log.recording)
        g_log.created.push_back(brush);
    return brush;
}

BOOL WINAPI RecordDeleteObject(HGDIOBJ object)
{
    auto real = reinterpret_cast<BOOL(WINAPI*)(HGDIOBJ)>(g_deletePatch->original());
    if (g_log.recording && GetObjectType(object) == OBJ_BRUSH)
        g_log.deleted.push_back(object);
    return real(object);
}

// What the timer saw while the help dialog was open.
struct Look {
    HWND dialog = nullptr;
    HGDIOBJ brush = nullptr;
    DWORD brushType = 0;
    LOGBRUSH brushLook = {};
    LRESULT editReply = 0, staticReply = 0;
    COLORREF backgroundAfter[2] = {}, textAfter[2] = {};
    std::string text;  // UTF-8
    int ticks = 0;
};
Look g_look;

constexpr COLORREF SOME_BACKGROUND = RGB(1, 2, 3), SOME_TEXT = RGB(4, 5, 6);

BOOL CALLBACK FindHelp(HWND window, LPARAM)
{
    char title[16] = "";
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && lstrcmpA(title, "Help") == 0) {
        g_look.dialog = window;
        return FALSE;
    }
    return TRUE;
}

void LookAtOpenDialog(HWND dialog)
{
    g_look.brush = g_helpBrush;
    g_look.brushType = GetObjectType(g_helpBrush);
    GetObjectA(g_helpBrush, sizeof g_look.brushLook, &g_look.brushLook);

    HWND edit = GetDlgItem(dialog, IDC_HELP_TEXT);
    const UINT messages[2] = {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC};
    LRESULT* replies[2] = {&g_look.editReply, &g_look.staticReply};
    for (int i = 0; i < 2; ++i) {
        HDC dc = CreateCompatibleDC(nullptr);
        SetBkColor(dc, SOME_BACKGROUND);
        SetTextColor(dc, SOME_TEXT);
        *replies[i] = SendMessageA(dialog, messages[i], reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(edit));
        g_look.backgroundAfter[i] = GetBkColor(dc);
        g_look.textAfter[i] = GetTextColor(dc);
        DeleteDC(dc);
    }

    int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, &text[0], length + 1)));
    g_look.text = Utf8(text);
}

void CALLBACK LookThenClose(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_look.ticks;
    if (g_look.dialog == nullptr) {
        EnumThreadWindows(GetCurrentThreadId(), FindHelp, 0);
        if (g_look.dialog != nullptr) {
            LookAtOpenDialog(g_look.dialog);
            PostMessageA(g_look.dialog, WM_COMMAND, IDCANCEL, 0);
        }
    } else if (g_look.ticks > 200 && IsWindow(g_look.dialog)) {
        ADD_FAILURE() << "the help dialog ignored IDCANCEL";
        EndDialog(g_look.dialog, 0);
    }
}

void ShowHelpAndLook(int textId)
{
    g_look = Look();
    g_log.created.clear();
    g_log.deleted.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 20, LookThenClose);
    g_log.recording = true;
    ShowHelp(GetModuleHandleA(nullptr), IDD_HELP, nullptr, textId);
    g_log.recording = false;
    KillTimer(nullptr, timer);
}

class HelpDialogInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        g_createPatch = &create_;
        g_deletePatch = &delete_;
        ASSERT_TRUE(create_.applied()) << "CreateSolidBrush is not imported from gdi32";
        ASSERT_TRUE(delete_.applied()) << "DeleteObject is not imported from gdi32";
    }

    ImportPatch create_{"gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(RecordCreateSolidBrush)};
    ImportPatch delete_{"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(RecordDeleteObject)};
};

TEST_F(HelpDialogInProcess, EachOpeningMakesOneWindowColourBrushAndDeletesIt)
{
    for (int opening = 1; opening <= 3; ++opening) {
        SCOPED_TRACE(testing::Message() << "opening " << opening);
        ShowHelpAndLook(IDR_HELP_TEXT);
        ASSERT_NE(g_look.dialog, nullptr) << "the help dialog did not show";
        EXPECT_FALSE(IsWindow(g_look.dialog));

        ASSERT_EQ(g_log.created.size(), 1u) << "brushes made by one opening";
        EXPECT_EQ(g_look.brush, g_log.created[0]) << "g_helpBrush while open";
        EXPECT_EQ(g_look.brushType, static_cast<DWORD>(OBJ_BRUSH));
        EXPECT_EQ(g_look.brushLook.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(g_look.brushLook.lbColor, GetSysColor(COLOR_WINDOW));

        EXPECT_EQ(g_log.deleted, g_log.created) << "every brush deleted, once";
        EXPECT_EQ(GetObjectType(g_log.created[0]), 0u) << "the brush outlives the dialog";
    }
}

// The text follows the system's colours for text in a window, as a pair: under a dark
// high-contrast theme a text colour left alone stayed black on black.
TEST_F(HelpDialogInProcess, ColourMessagesGiveTheBrushAndTheWindowTextOnTheWindowColour)
{
    ShowHelpAndLook(IDR_HELP_TEXT);
    ASSERT_NE(g_look.dialog, nullptr);
    const char* names[2] = {"WM_CTLCOLOREDIT", "WM_CTLCOLORSTATIC"};
    const LRESULT replies[2] = {g_look.editReply, g_look.staticReply};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(replies[i], reinterpret_cast<LRESULT>(g_look.brush));
        EXPECT_EQ(g_look.backgroundAfter[i], GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(g_look.textAfter[i], GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_NE(g_look.textAfter[i], SOME_TEXT) << "the text colour was left alone";
    }
}

TEST_F(HelpDialogInProcess, TextBoxHoldsTheWholeHelpText)
{
    ShowHelpAndLook(IDR_HELP_TEXT);
    ASSERT_NE(g_look.dialog, nullptr);
    ExpectHelpOutline(Text1252(g_look.text));
    std::string source = HelpTextFromSource();
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(g_look.text, source);
}

TEST_F(HelpDialogInProcess, MissingTextResourceShowsNothing)
{
    ShowHelpAndLook(999);
    EXPECT_EQ(g_look.dialog, nullptr);
    EXPECT_TRUE(g_log.created.empty());
}

}  // namespace
