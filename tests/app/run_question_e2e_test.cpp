// OK in the running program: the folder text completed, the controls switched off, and
// the summary question asked exactly.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/temp_folder.h"

using driver::BrumixApp;
using driver::MessageBoxSeen;

namespace {

std::string Summary(const std::string& patterns, const std::string& folder, bool recurse, bool confirm)
{
    return "On va effacer les fichiers " + patterns + "\nà partir de " + folder +
           (recurse ? "\nOn fait du récursif" : "\nOn ne fait pas du récursif") +
           (confirm ? "\net on demande une confirmation" : "\net on ne demande pas une confirmation");
}

const int ALL_BUSY_CONTROLS[] = {IDOK, IDCANCEL, IDHELP, IDC_FOLDER, IDC_BROWSE_FOLDER,
                                 IDC_PATTERNS, IDC_BROWSE_PATTERNS, IDC_CONFIRM, IDC_RECURSE};

TEST(RunQuestionE2E, FolderTextGetsItsClosingBackslashInTheBoxAndInTheQuestion)
{
    struct Case { const char* typed; const char* used; };
    BrumixApp app;
    ASSERT_TRUE(app.Start("C:\\"));
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, false);
    for (const Case& c : {Case{"C:\\Temp", "C:\\Temp\\"}, Case{"C:\\Temp\\", "C:\\Temp\\"},
                          Case{"C:\\", "C:\\"}, Case{"", "\\"}}) {
        SCOPED_TRACE(c.typed);
        app.SetText(IDC_FOLDER, c.typed);
        app.SetText(IDC_PATTERNS, "*.obj");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_EQ(app.Text(IDC_FOLDER), c.used);
        EXPECT_EQ(box.text, Summary("*.obj", c.used, false, false));
        ASSERT_TRUE(app.Answer(box, IDNO));
        ASSERT_TRUE(app.WaitIdle());
    }
    EXPECT_TRUE(app.Close());
}

// Each wording of the options is composed in process; here each check box is seen reach
// the question, checked and unchecked.
TEST(RunQuestionE2E, SummaryQuestionSaysWhatTheCheckBoxesHold)
{
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    for (int flags : {1, 2}) {
        bool recurse = flags & 1, confirm = flags & 2;
        SCOPED_TRACE(testing::Message() << "recurse " << recurse << ", confirm " << confirm);
        app.SetChecked(IDC_RECURSE, recurse);
        app.SetChecked(IDC_CONFIRM, confirm);
        app.SetText(IDC_PATTERNS, "*.obj;*.res");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_EQ(box.caption, "Veuillez confirmer");
        EXPECT_EQ(box.text, Summary("*.obj;*.res", folder.path(), recurse, confirm));
        EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(driver::ShownIcon(box), MB_ICONQUESTION);
        ASSERT_TRUE(app.Answer(box, IDNO));
        ASSERT_TRUE(app.WaitIdle());
    }
    EXPECT_TRUE(app.Close());
}

TEST(RunQuestionE2E, LongestTextsAreShownWhole)
{
    // 259 characters each, the most a box gives; the folder gains its backslash.
    std::string folder = "C:\\" + std::string(256, 'd');
    std::string patterns;
    while (patterns.size() < 259)
        patterns += "*.ab;";
    patterns.resize(259);

    BrumixApp app;
    ASSERT_TRUE(app.Start("C:\\"));
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, false);
    app.SetText(IDC_FOLDER, folder);
    app.SetText(IDC_PATTERNS, patterns);
    app.Press(IDOK);
    MessageBoxSeen box;
    ASSERT_TRUE(app.WaitForMessageBox(box));
    EXPECT_EQ(app.Text(IDC_FOLDER), folder + "\\");
    EXPECT_EQ(box.text, Summary(patterns, folder + "\\", false, false));
    ASSERT_TRUE(app.Answer(box, IDNO));
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_TRUE(app.Close());
}

TEST(RunQuestionE2E, InputControlsAreDisabledWhileTheQuestionIsUp)
{
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    for (int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        for (int id : ALL_BUSY_CONTROLS)
            EXPECT_FALSE(IsWindowEnabled(app.Control(id))) << "control " << id;
        ASSERT_TRUE(app.Answer(box, answer));
        ASSERT_TRUE(app.WaitIdle());
        for (int id : ALL_BUSY_CONTROLS)
            EXPECT_TRUE(IsWindowEnabled(app.Control(id))) << "control " << id;
        EXPECT_FALSE(IsWindowEnabled(app.Control(IDC_TITLE)));
    }
    EXPECT_TRUE(app.Close());
}

// A Yes/No question has no Cancel. Windows keeps it open on Escape and on its close box;
// Wine closes it with IDCANCEL, and the program must take that as No. Each time a file
// that the run would delete without a question is there.
TEST(RunQuestionE2E, NoEscapeAndCloseBoxOnTheQuestionNeverMeanYes)
{
    TempFolder folder;
    folder.MakeFile("keep.obj");
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    app.SetText(IDC_PATTERNS, "*.obj");
    app.SetChecked(IDC_CONFIRM, false);
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(way == 0 ? "No" : way == 1 ? "Escape" : way == 2 ? "close box" : "Cancel command");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        if (way == 0) {
            ASSERT_TRUE(app.Answer(box, IDNO));
        } else if (driver::RunningUnderWine()) {
            if (way == 1)
                ASSERT_TRUE(app.AnswerWithKey(box, VK_ESCAPE));
            else if (way == 2)
                ASSERT_TRUE(app.AnswerWithCloseBox(box));
            else
                ASSERT_TRUE(app.Answer(box, IDCANCEL));
        } else {
            if (way == 1)
                app.PressKey(VK_ESCAPE);
            else
                app.ClickCloseBox(box.window);
            ASSERT_TRUE(app.CatchUp());
            EXPECT_TRUE(IsWindowVisible(box.window)) << "Windows keeps a Yes/No box open";
            ASSERT_TRUE(app.Answer(box, IDNO));
        }
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"keep.obj"});
    }
    EXPECT_TRUE(app.Close());
}

}  // namespace
