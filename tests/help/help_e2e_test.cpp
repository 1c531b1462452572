// Aide in the running program: the help dialog over the main dialog, its text, its focus,
// and the four ways to close it. The program starts in a folder of the test's own: a key
// that reached the main dialog's OK would start a run there.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/app_driver.h"
#include "help_outline.h"
#include "help_text_resource.h"
#include "res/resource.h"
#include "support/dialog_template.h"
#include "support/focus.h"
#include "support/temp_folder.h"

using driver::BrumixApp;

namespace {

HWND OpenHelp(BrumixApp& app)
{
    app.Press(IDHELP);
    return app.WaitForDialog("Help");
}

TEST(HelpE2E, AideShowsTheHelpOverTheMainDialogWithTheWholeText)
{
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    HWND help = OpenHelp(app);
    ASSERT_NE(help, nullptr);

    EXPECT_EQ(GetWindow(help, GW_OWNER), app.dialog());
    EXPECT_FALSE(IsWindowEnabled(app.dialog())) << "the help is modal to the main dialog";

    HWND text = GetDlgItem(help, IDC_HELP_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(driver::ClassName(text), "Edit");
    std::string shown = driver::WindowUtf8Text(text);
    ExpectHelpOutline(Text1252(shown));
    std::string source = HelpTextFromSource();
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(shown, source);
    LRESULT margins = 0;
    EXPECT_TRUE(driver::SendAndWait(text, EM_GETMARGINS, 0, 0, &margins));
    EXPECT_EQ(margins, MAKELONG(10, 10));
    EXPECT_EQ(driver::WindowText(GetDlgItem(help, IDCANCEL)), "&Fermer");

    // The focus starts on Fermer, so nothing in the text is shown selected.
    HWND fermer = GetDlgItem(help, IDCANCEL);
    ASSERT_TRUE(WaitForFocusOn(fermer));
    LRESULT selection = 0;
    EXPECT_TRUE(driver::SendAndWait(text, EM_GETSEL, 0, 0, &selection));
    EXPECT_EQ(LOWORD(selection), HIWORD(selection)) << "text selected";

    // Placed at the main dialog's client corner, at the template's size, mapped from dialog
    // units in this process with the same template and font.
    POINT helpCorner = {0, 0}, mainCorner = {0, 0};
    ClientToScreen(help, &helpCorner);
    ClientToScreen(app.dialog(), &mainCorner);
    EXPECT_EQ(helpCorner.x, mainCorner.x);
    EXPECT_EQ(helpCorner.y, mainCorner.y);
    HWND reference = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HELP), nullptr,
                                        QuietDialogProc, 0);
    ASSERT_NE(reference, nullptr);
    RECT size = {0, 0, 325, 213};
    MapDialogRect(reference, &size);
    DestroyWindow(reference);
    RECT client;
    GetClientRect(help, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    app.ClickCloseBox(help);
    ASSERT_TRUE(app.WaitGone(help));
    EXPECT_TRUE(app.Close());
}

TEST(HelpE2E, FermerEnterEscapeAndTheCloseBoxEachCloseItAndOnlyIt)
{
    enum Way { FERMER, ENTER, ESCAPE, CLOSE_BOX, ENTER_IN_TEXT, ESCAPE_IN_TEXT };
    const char* names[] = {"Fermer", "Enter", "Escape", "close box", "Enter in the text", "Escape in the text"};
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    for (Way way : {FERMER, ENTER, ESCAPE, CLOSE_BOX, ENTER_IN_TEXT, ESCAPE_IN_TEXT}) {
        SCOPED_TRACE(names[way]);
        HWND help = OpenHelp(app);
        ASSERT_NE(help, nullptr);
        HWND fermer = GetDlgItem(help, IDCANCEL);
        HWND text = GetDlgItem(help, IDC_HELP_TEXT);
        // Keys sent before the dialog has the focus would go to the main dialog.
        ASSERT_TRUE(WaitForFocusOn(fermer));
        if (way == ENTER_IN_TEXT || way == ESCAPE_IN_TEXT) {
            app.PressKey(VK_TAB);
            ASSERT_TRUE(WaitForFocusOn(text));
        }
        switch (way) {
        case FERMER: PostMessageA(fermer, BM_CLICK, 0, 0); break;
        case ENTER: case ENTER_IN_TEXT: app.PressKey(VK_RETURN); break;
        case ESCAPE: case ESCAPE_IN_TEXT: app.PressKey(VK_ESCAPE); break;
        case CLOSE_BOX: app.ClickCloseBox(help); break;
        }
        ASSERT_TRUE(app.WaitGone(help));
        // Back to the idle main dialog, which the key did not reach.
        ASSERT_TRUE(app.CatchUp()) << "Escape reached the main dialog";
        EXPECT_FALSE(app.HasMessageBox()) << "Enter reached the main dialog's OK";
        ASSERT_TRUE(app.WaitIdle());
        ASSERT_TRUE(app.IsRunning()) << "Escape reached the main dialog";
        EXPECT_TRUE(IsWindowEnabled(app.dialog()));
        EXPECT_TRUE(IsWindowVisible(app.dialog()));
    }
    EXPECT_TRUE(app.Close());
}

// Dialogs of the program captioned "Help", shown or not.
int HelpDialogs(const BrumixApp& app)
{
    return static_cast<int>(driver::TopLevelWindows(app.processId(), [](HWND window) {
                                char title[16] = "";
                                GetWindowTextA(window, title, sizeof title);
                                return lstrcmpA(title, "Help") == 0;
                            }).size());
}

// F1 is the key for help on Windows: pressed as the keyboard presses it, it opens the
// help like Aide, whichever control has the focus. Pressed in the help itself, the key
// comes up to the main dialog too, which must not open a second one.
TEST(HelpE2E, F1OpensTheHelpLikeAideAndNoSecondOneFromTheHelp)
{
    // Started in a folder of the test's own: a key that reached OK would start a run there.
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    for (int focused : {IDC_FOLDER, IDC_BROWSE_PATTERNS, IDOK}) {
        SCOPED_TRACE(testing::Message() << "focus on control " << focused);
        ASSERT_TRUE(app.Focus(focused));
        ASSERT_TRUE(app.TypeKey(app.dialog(), VK_F1));
        HWND help = app.WaitForDialog("Help");
        ASSERT_NE(help, nullptr) << "F1 did not open the help";
        EXPECT_EQ(GetWindow(help, GW_OWNER), app.dialog());
        ASSERT_TRUE(WaitForFocusOn(GetDlgItem(help, IDCANCEL)));

        // Keys are handled in the order typed: once Tab has moved the focus to the text,
        // F1 has been handled too.
        ASSERT_TRUE(app.TypeKey(help, VK_F1));
        ASSERT_TRUE(app.TypeKey(help, VK_TAB));
        EXPECT_TRUE(WaitForFocusOn(GetDlgItem(help, IDC_HELP_TEXT)));
        EXPECT_EQ(HelpDialogs(app), 1) << "F1 in the help opened another";
        app.PressKey(VK_ESCAPE);
        ASSERT_TRUE(app.WaitGone(help));
        ASSERT_TRUE(app.CatchUp());
        EXPECT_EQ(HelpDialogs(app), 0);
        EXPECT_TRUE(IsWindowEnabled(app.dialog()));
    }
    EXPECT_TRUE(app.Close());
}

TEST(HelpE2E, TabReachesTheTextWhichCanBeSelectedButNotChanged)
{
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    HWND help = OpenHelp(app);
    ASSERT_NE(help, nullptr);
    HWND fermer = GetDlgItem(help, IDCANCEL);
    HWND text = GetDlgItem(help, IDC_HELP_TEXT);
    std::string before = driver::WindowText(text);
    ASSERT_TRUE(WaitForFocusOn(fermer));

    app.PressKey(VK_TAB);
    ASSERT_TRUE(WaitForFocusOn(text));
    LRESULT selection = 0;
    EXPECT_TRUE(driver::SendAndWait(text, EM_GETSEL, 0, 0, &selection));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), before.size()) << "tabbing in selects the whole text";

    PostMessageA(text, WM_CHAR, 'x', 1);
    PostMessageA(text, WM_KEYDOWN, VK_DELETE, 1);
    ASSERT_TRUE(driver::SendAndWait(text, WM_NULL, 0, 0));  // both handled once this returns
    EXPECT_EQ(driver::WindowText(text), before);

    app.PressKey(VK_TAB);
    ASSERT_TRUE(WaitForFocusOn(fermer));
    PostMessageA(fermer, BM_CLICK, 0, 0);
    ASSERT_TRUE(app.WaitGone(help));
    EXPECT_TRUE(app.Close());
}

}  // namespace
