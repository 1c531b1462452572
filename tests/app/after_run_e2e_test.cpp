// The running program once a run is over, however it ended: the control that had the
// keyboard focus has it again, the cursor is the dialog's own, though the mouse never
// moved, and the title is the program's name alone.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/cursor.h"
#include "support/focus.h"
#include "support/temp_folder.h"

using driver::BrumixApp;
using driver::MessageBoxSeen;

namespace {

// A point of the dialog beside its banner, away from every control and from the boxes
// that a run shows.
constexpr POINT BESIDE_THE_BANNER = {4, 10};

// The window that has the focus for a control: a combo box's edit field for its box.
HWND FocusWindowOf(HWND control)
{
    HWND edit = driver::ClassName(control) == "ComboBox" ? FindWindowExA(control, nullptr, "Edit", nullptr) : nullptr;
    return edit != nullptr ? edit : control;
}

TEST(AfterRunE2E, FocusAndCursorComeBackHoweverTheRunEnds)
{
    enum Ending { TO_ITS_END, NO_AT_THE_SUMMARY, ANNULER_IN_A_FILE_QUESTION };
    struct Case {
        const char* what;
        int focused;  // the control that has the focus when the run starts
        bool byEnter;  // started with Enter there, else by a click on OK
        Ending ending;
    };
    const Case cases[] = {
        {"pattern box, Enter, run to its end", IDC_PATTERNS, true, TO_ITS_END},
        {"folder box, Enter, No at the summary", IDC_FOLDER, true, NO_AT_THE_SUMMARY},
        {"confirmation box, Enter, Annuler in a file question", IDC_CONFIRM, true, ANNULER_IN_A_FILE_QUESTION},
        {"OK clicked, run to its end", IDOK, false, TO_ITS_END},
    };
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    HCURSOR idle = PointAt(app.dialog(), BESIDE_THE_BANNER);
    ASSERT_NE(idle, nullptr) << "the dialog set no cursor when the mouse came over it";

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        folder.MakeFile("a.obj");
        folder.MakeFile("b.obj");
        app.SetText(IDC_FOLDER, folder.path());
        app.SetText(IDC_PATTERNS, "*.obj");
        app.SetChecked(IDC_RECURSE, false);
        app.SetChecked(IDC_CONFIRM, c.ending == ANNULER_IN_A_FILE_QUESTION);
        HWND focused = FocusWindowOf(app.Control(c.focused));
        if (c.byEnter) {
            ASSERT_TRUE(app.Focus(c.focused));
            app.PressKey(VK_RETURN);
        } else {
            app.Press(IDOK);
        }

        MessageBoxSeen summary;
        ASSERT_TRUE(app.WaitForMessageBox(summary));
        ASSERT_NE(ShownCursor(), idle) << "no wait cursor to see while the run is under way";
        ASSERT_TRUE(app.Answer(summary, c.ending == NO_AT_THE_SUMMARY ? IDNO : IDYES));
        if (c.ending == ANNULER_IN_A_FILE_QUESTION) {
            MessageBoxSeen question;
            ASSERT_TRUE(app.WaitForMessageBox(question));
            ASSERT_TRUE(app.Answer(question, IDCANCEL));
        }
        ASSERT_TRUE(app.WaitIdle());

        EXPECT_TRUE(WaitForFocusOn(focused)) << "the focus is on control " << GetDlgCtrlID(FocusOfThread(app.dialog()));
        EXPECT_TRUE(WaitForCursor(idle)) << "the cursor is still the one of the run";
        EXPECT_EQ(app.Title(), L"Brumix");
    }
    EXPECT_TRUE(app.Close());
}

}  // namespace
